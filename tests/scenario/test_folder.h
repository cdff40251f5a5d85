#pragma once
// A temporary folder for tests that write files, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scenario/platform/platform.h"
#include "tests/tempfolder.h"

namespace scntest {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() : path_(testfolder::MakeTempFolder("varno-scn-")) {}
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // A path in the folder, as a string of the core's (UTF-8 on Windows).
    std::string operator/(const std::string& name) const {
        return varno::platform::PathString(path_ / varno::platform::FsPath(name));
    }
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
        std::ofstream(dir_ / varno::platform::FsPath(name), std::ios::binary) << text;
    }
    std::string dir() const { return varno::platform::PathString(dir_) + "/"; }

    const fs::path saved_ = fs::current_path();
    TempDir folder_;
    const fs::path dir_ = folder_.path();
};

}  // namespace scntest
