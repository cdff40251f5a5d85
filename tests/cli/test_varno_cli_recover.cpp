// varno-cli recover on a copy of the demo game: the list a user without a
// display reads, and the save of a copy through the normal save.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>
#include <vector>

#include "scenario/oobreader.h"
#include "scenario/platform/platform.h"
#include "scenario/recoverywriter.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "tests/cli/run_program.h"

using namespace varno;

namespace {

using clitest::ReadFile;
using clitest::RunResult;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("not in the text: " + from);
    return text.replace(at, from.size(), to);
}

class VarnoCliRecover : public ::testing::Test {
protected:
    void SetUp() override {
        demo_ = ReadFile(fs::path(VARNO_DEMO_DIR) / "DEMO.SCN");
        fs::copy_file(fs::path(VARNO_DEMO_DIR) / "MAIN.OOB", tmp_.game() / "MAIN.OOB");
        WriteFile(scenario(), demo_);
        // The unsaved work, as Save would write it: 1.3.3.2.3 moved from 25,11 to 26,11.
        Scenario scn;
        ReadListener quiet;
        ReadOob(scn, scenario().string(), quiet);
        ReadScenario(scn, scenario().string(), quiet);
        copy_ = Replace(ScenarioText(scn, {.V103 = !scn.ReleaseChanceInFile}, nullptr), "183 10 0 512 25 11",
                        "183 10 0 512 26 11");
        RecoveryNote note;
        note.ScenarioPath = scenario().string();
        note.Base = StampOf(note.ScenarioPath);
        note.Time = 1736244000;
        note.Step = "Move 1.3.3.2.3 to 26,11";
        note.Version = "0.1";
        RecoveryWriter writer(folder_, nullptr);
        writer.Write(copy_, note);
        writer.Wait();
        id_ = writer.Id();
    }
    fs::path scenario() const { return tmp_.game() / "DEMO.SCN"; }
    RunResult cli(const std::vector<std::string>& args) {
        return clitest::Run(VARNO_CLI, args, tmp_.game(), tmp_.scratch());
    }

    TempDir tmp_;
    // The programs' state folder is the test's own, before anything looks for it.
#ifdef _WIN32
    const bool stateHome_ = _putenv_s("LOCALAPPDATA", clitest::TextOf(tmp_.scratch() / "state").c_str()) == 0;
#else
    const bool stateHome_ = ::setenv("XDG_STATE_HOME", (tmp_.scratch() / "state").c_str(), 1) == 0;
#endif
    RecoveryFolder folder_{RecoveryFolder::DefaultPath()};
    std::string demo_, copy_, id_;
};

TEST_F(VarnoCliRecover, ListTellsEachCopyAndEachStrayFile) {
    WriteFile(folder_.Path() + "notes.txt", "mine");
    RunResult r = cli({"recover", "--list"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, id_ + "  recoverable  " + LocalTimeText(1736244000) + "  " + scenario().string() +
                         "  Move 1.3.3.2.3 to 26,11\n" + "notes.txt  foreign  not a file of Varno's recovery copies\n");

    std::optional<RecoveryClaim> held = RecoveryClaim::Take(folder_.Path(), id_);
    r = cli({"recover", "--list"});
    EXPECT_EQ(r.out.rfind(id_ + "  in use by process " + std::to_string(platform::ProcessId()) + "  ", 0), 0u) << r.out;
    r = cli({"recover", "--save", id_});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The recovery copy " + id_ + " is in use by a running Varno (process " +
                         std::to_string(platform::ProcessId()) + ")\n");
    EXPECT_EQ(ReadFile(scenario()), demo_);
}

TEST_F(VarnoCliRecover, SaveWritesTheCopyWithABackupAndRemovesIt) {
    // Named by its description's path too, as a user may paste it.
    const RunResult r = cli({"recover", "--save", folder_.Path() + id_ + ".desc"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(r.out.size() - 5), "Done\n");
    EXPECT_EQ(ReadFile(scenario()), copy_);
    EXPECT_EQ(ReadFile(tmp_.game() / "OLDSCN1.TXT"), demo_);
    EXPECT_EQ(cli({"recover", "--list"}).out, "No recovery copies in " + folder_.Path() + "\n");
}

TEST_F(VarnoCliRecover, AScenarioChangedSinceIsSavedOnlyWhenForced) {
    const std::string theirs = Replace(demo_, "183 10 0 512 25 11", "183 10 0 512 1 1");
    WriteFile(scenario().string() + ".new", theirs);
    fs::rename(scenario().string() + ".new", scenario());
    EXPECT_NE(cli({"recover", "--list"}).out.find("  scenario changed since  "), std::string::npos);

    RunResult r = cli({"recover", "--save", id_});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot write " + scenario().string() +
                         ": it was changed by another program since it was read\n(--force saves it anyway)\n");
    EXPECT_EQ(ReadFile(scenario()), theirs);

    r = cli({"recover", "--save", id_, "--force"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(scenario()), copy_);
    EXPECT_EQ(ReadFile(tmp_.game() / "OLDSCN1.TXT"), theirs);
}

TEST_F(VarnoCliRecover, ACopyNotThereOrDamagedIsRefused) {
    struct Row {
        std::string copy;
        std::string err;
    };
    WriteFile(folder_.Path() + folder_.Find(id_).Note.CopyName, "cut");
    const Row rows[] = {
        {"DEMO.SCN", "varno-cli: DEMO.SCN names no recovery copy (varno-cli recover --list)\n"},
        {"20200101-000000-00000000", "No recovery copy 20200101-000000-00000000 in " + folder_.Path() + "\n"},
        {id_, "The recovery copy " + id_ + " cannot be saved: " + folder_.Path() + folder_.Find(id_).Note.CopyName +
                  " does not match its description\n"},
    };
    for (const Row& row : rows) {
        const RunResult r = cli({"recover", "--save", row.copy});
        EXPECT_EQ(r.status, 1) << row.copy;
        EXPECT_EQ(r.err, row.err);
    }
    EXPECT_EQ(ReadFile(scenario()), demo_);
}

}  // namespace
