#include "editor/commands/filecommands.h"

#include "editor/commands/filehost.h"
#include "editor/commands/recentmenu.h"
#include "editor/document/scndocument.h"
#include "editor/settings/editsettings.h"
#include "editor/widgets/textconv.h"
#include "scenario/filenames.h"
#include "scenario/filestamp.h"
#include "scenario/scnedit.h"
#include "scenario/scnerror.h"
#include "scenario/skippedlines.h"

namespace varno {

namespace {

const QString kUnsavedQuestion = QStringLiteral("Changes have not been saved is this okay?");
const QString kPartialSaveQuestion = QStringLiteral(
    "The scenario was not read completely. Saving now writes only what was read before the error. Save anyway?");
const QString kChangedQuestion =
    QStringLiteral("The scenario file was changed by another program since it was read. Save anyway?");
const QString kReplaceQuestion = QStringLiteral("%1 already exists. Replace it?");

// The longest header line the dialog takes.
constexpr int kHeaderLineLimit = static_cast<int>(kHeaderLineMax);

}  // namespace

TFileCommands::TFileCommands(TScnDocument& doc, EditListener& lines, Dialogs& dialogs, FileHost& host, QWidget* window,
                             OpenFileRequest& openDlg, QMenu& recentMenu)
    : doc_(doc), lines_(lines), dialogs_(dialogs), host_(host), window_(window), openDlg_(openDlg),
      recent_(
          new TRecentMenu(recentMenu, [this](const std::string& path) { host_.Guarded([&] { OpenRecent(path); }); })) {}

bool TFileCommands::MayDiscard() { return !doc_.Scn().Modified || dialogs_.ConfirmOkCancel(window_, kUnsavedQuestion); }

void TFileCommands::Browse() {
    openDlg_.initialDir = PathText(DirPart(host_.ScenarioPathBytes()));
    const QString chosen = dialogs_.OpenFile(window_, openDlg_);
    if (chosen.isEmpty()) return;
    // Kept as chosen: the game's file names may be in any case.
    host_.SetScenarioPath(ChosenPathBytes(chosen));
    Read();
}

void TFileCommands::Read(bool fresh, bool ask) {
    if (ask && !MayDiscard()) return;
    // Reading makes the game's folder the working directory, where a relative
    // path would name another file: the path is made absolute first.
    const std::string path = AbsoluteScenarioPath(host_.ScenarioPathBytes());
    host_.SetScenarioPath(path);
    // A file that is no scenario, or a folder without its order of battle, is
    // refused before anything is read. The lists keep the scenario read
    // before, and the path goes back to its file, so that a Save cannot
    // write that scenario under the refused name.
    TScnDocument::Loaded loaded;
    try {
        loaded = TScnDocument::Load(path, fresh);
    } catch (...) {
        if (const std::string& open = doc_.FilePath(); !open.empty()) {
            host_.SetScenarioPath(open);
            host_.FileStatus(QStringLiteral("Still open: %1").arg(PathText(open)));
        }
        throw;
    }
    try {
        doc_.Read(std::move(loaded), lines_);
    } catch (...) {
        // What was read before the error stays, with its releases' form.
        host_.ScenarioRead(false);
        throw;
    }
    host_.ScenarioRead(true);
    remember(path);
    if (const std::string note = SkippedLinesMessage(doc_.Scn()); !note.empty()) {
        host_.FileStatus(QString::fromStdString(note));
        dialogs_.ShowMessage(window_, QString::fromStdString(note));
    }
}

std::string TFileCommands::ScenarioFile() const {
    if (!doc_.FilePath().empty()) return doc_.FilePath();
    const std::string given = host_.ScenarioPathBytes();
    return given.empty() ? given : AbsoluteScenarioPath(given);
}

bool TFileCommands::Restore(const std::string& backupPath) {
    if (!MayDiscard()) return false;
    // Both files are loaded first: a refused Restore changes nothing, as a
    // refused Read does; one that stops at a bad line keeps what it read.
    const std::string path = ScenarioFile();
    TScnDocument::Loaded loaded = TScnDocument::LoadBackup(backupPath, path);
    try {
        doc_.Restore(std::move(loaded), path, lines_);
    } catch (...) {
        host_.SetScenarioPath(path);
        host_.ScenarioRead(false);
        throw;
    }
    host_.SetScenarioPath(path);
    host_.ScenarioRead(true);
    return true;
}

void TFileCommands::Save() {
    // Save writes the document's file. A path field naming another file is a
    // Save As to that name, with its rules and the question before replacing
    // a file that was not the one read.
    const std::string& file = doc_.FilePath();
    const std::string typed = AbsoluteScenarioPath(host_.ScenarioPathBytes());
    if (file.empty() || typed.empty() || typed == file || SameFile(typed, file)) {
        saveTo(file.empty() ? typed : file);
        return;
    }
    checkSaveAs(typed);
    if (FileExists(typed) && !dialogs_.ConfirmOkCancel(window_, kReplaceQuestion.arg(PathText(typed)))) return;
    saveTo(typed);
}

void TFileCommands::checkSaveAs(const std::string& path) const {
    // The records name the entries of the order of battle beside the file.
    const std::string dir = DirPart(doc_.FilePath());
    if (!SameFolder(DirPart(path), dir))
        throw ScnError("A scenario is saved beside its order of battle: choose a name in " + dir);
    RefuseGameFile(path);
}

void TFileCommands::saveTo(const std::string& path) {
    // After a Read that stopped at an error the lists hold part of the file.
    if (doc_.Scn().ReadIncomplete && !dialogs_.ConfirmOkCancel(window_, kPartialSaveQuestion)) return;
    host_.StorePageEdits();
    WriteOptions opts = host_.SaveOptions();
    // Another program's changes are not written over without asking.
    if (ChangedSince(doc_.Scn().ReadStamp, path)) {
        if (!dialogs_.ConfirmOkCancel(window_, kChangedQuestion)) return;
        opts.Force = true;
    }
    doc_.Save(path, opts, [this](std::string_view text) { host_.FileStatus(Latin1(text)); });
    host_.SetScenarioPath(path);
    remember(path);
}

void TFileCommands::SaveAs() {
    const std::string dir = DirPart(doc_.FilePath());
    OpenFileRequest request = openDlg_;
    request.title = QStringLiteral("Save As");
    request.initialDir = PathText(dir);
    request.fileName.clear();
    const QString chosen = dialogs_.SaveFile(window_, request);
    if (chosen.isEmpty()) return;
    const std::string path = AbsoluteScenarioPath(ChosenPathBytes(chosen));
    checkSaveAs(path);
    saveTo(path);
}

void TFileCommands::New() {
    if (!MayDiscard()) return;
    OpenFileRequest request = openDlg_;
    request.title = QStringLiteral("New Scenario");
    request.initialDir = PathText(DirPart(doc_.FilePath().empty() ? host_.ScenarioPathBytes() : doc_.FilePath()));
    request.fileName = QStringLiteral("NEW.SCN");
    const QString chosen = dialogs_.SaveFile(window_, request);
    if (chosen.isEmpty()) return;
    host_.SetScenarioPath(ChosenPathBytes(chosen));
    Read(true, false);
}

void TFileCommands::OpenRecent(const std::string& path) {
    if (!MayDiscard()) return;
    host_.SetScenarioPath(path);
    Read(false, false);
}

void TFileCommands::EditHeader() {
    const HeaderLines header = HeaderOf(doc_.Scn());
    QStringList lines;
    for (const std::string& line : header) lines << Latin1(line);
    const QStringList shown = lines;
    if (!dialogs_.EditLines(window_, QStringLiteral("Scenario Header"), lines, kHeaderLineLimit)) return;
    HeaderLines bytes = header;
    for (std::size_t i = 0; i < bytes.size() && i < static_cast<std::size_t>(lines.size()); ++i) {
        const auto at = static_cast<qsizetype>(i);
        if (lines[at] != shown[at]) bytes[i] = LineBytes(lines[at], kHeaderLineLimit);
    }
    ReplaceHeader(doc_.Scn(), bytes, lines_, doc_.Step());
}

const std::vector<std::string>& TFileCommands::Recent() const { return recent_->Paths; }

void TFileCommands::SetRecent(std::vector<std::string> paths) {
    recent_->Paths = std::move(paths);
    recent_->Fill();
}

void TFileCommands::remember(const std::string& path) {
    AddRecent(recent_->Paths, path);
    recent_->Fill();
}

}  // namespace varno
