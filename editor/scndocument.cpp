#include "editor/scndocument.h"

#include "scenario/filestamp.h"
#include "scenario/scnedit.h"

namespace varno {

TScnDocument::TScnDocument() {
    connect(&history_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        scn_.Modified = !clean;
        emit stateChanged();
    });
}

void TScnDocument::startHistory(bool clean) {
    history_.clear();
    if (clean)
        history_.setClean();
    else
        history_.resetClean();  // no step of the history is the file
    scn_.Modified = !clean;
    emit stateChanged();
}

TScnDocument::Loaded TScnDocument::Load(const std::string& path, bool fresh) {
    Loaded loaded;
    if (fresh) {
        loaded.File.Path = path;
        // Its Save replaces the file that is there, without asking whether
        // another program changed it.
        loaded.File.Stamp = StampOf(path);
        loaded.File.Stamp.Known = true;
    } else {
        loaded.File = LoadScenarioFile(path);
    }
    loaded.Oob = LoadOobFile(path);
    return loaded;
}

void TScnDocument::Read(Loaded loaded, EditListener& lines) {
    path_ = loaded.File.Path;
    struct Restart {
        TScnDocument& doc;
        ~Restart() { doc.startHistory(true); }
    } restart{*this};
    ReadOob(scn_, std::move(loaded.Oob), lines);
    ReadScenario(scn_, loaded.File, lines);
}

void TScnDocument::Restore(const std::string& backupPath, const std::string& path, EditListener& lines) {
    path_ = path;
    struct Restart {
        TScnDocument& doc;
        ~Restart() { doc.startHistory(false); }
    } restart{*this};
    ReadOob(scn_, path, lines);
    ReadScenario(scn_, backupPath, lines);
}

void TScnDocument::Save(const std::string& path, const WriteOptions& opts, const StatusFn& status) {
    WriteScenario(scn_, path, opts, status);
    // The file now holds what the lists hold: asked once is enough.
    scn_.ReadIncomplete = false;
    path_ = path;
    history_.setClean();
    scn_.Modified = false;
    emit stateChanged();
}

}  // namespace varno
