#pragma once
// A new, empty folder in the system's temporary folder, with a name no
// other test has (made by create_directory, which fails when it exists).
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace testfolder {

inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
    namespace fs = std::filesystem;
    std::random_device seed;
    std::mt19937_64 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir = fs::temp_directory_path() / (prefix + std::to_string(pick() % 1000000000));
        if (fs::create_directory(dir)) return dir;
    }
    throw std::runtime_error("cannot make a temporary folder");
}

}  // namespace testfolder
