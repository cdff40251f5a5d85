#pragma once
// A temporary folder for tests that write files, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>
#include <string>

namespace scntest {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "varno-scn-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // A path in the folder, as a string.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A test with a folder of its own. A Read changes the working directory;
// it is put back afterwards.
class FolderTest : public ::testing::Test {
protected:
    void TearDown() override { fs::current_path(saved_); }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string dir() const { return dir_.string() + "/"; }

    const fs::path saved_ = fs::current_path();
    TempDir folder_;
    const fs::path dir_ = folder_.path();
};

}  // namespace scntest
