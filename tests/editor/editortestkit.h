#pragma once
// What the editor's GUI tests share: a settings folder of their own, the
// fixture game written into a temporary folder, the three windows, and the
// user's clicks on list lines.
#include <QByteArray>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "editor/oobform.h"
#include "mapview/mapform.h"
#include "tests/editor/testdialogs.h"

using namespace varno;

class QLineEdit;
class QAbstractButton;

// Points XDG_CONFIG_HOME, XDG_STATE_HOME and HOME at a fresh temporary folder
// for the life of the object, so that no test reads or writes the user's
// settings or recovery copies.
class SettingsSandbox {
public:
    SettingsSandbox();
    ~SettingsSandbox();
    QString iniPath() const;  // where the editor keeps VARNO.INI now
    QString root() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray oldXdg_, oldHome_, oldState_;
    bool hadXdg_ = false, hadHome_ = false, hadState_ = false;
};

// Writes text as the game's files are: every '\n' becomes CR LF.
void WriteGameFile(const QString& path, const QByteArray& text);
// The text with every '\n' made CR LF, as the game's files and our saves have it.
QByteArray Crlf(QByteArray text);
QByteArray ReadBytes(const QString& path);

// The set-up of the test classes that work on files: before each test
// function a fresh settings folder and the fixture game (MAIN.OOB, CH_A.SCN)
// in the folder game_; the settings go after it. Call setUpGame() from the
// class's init() and tearDownGame() from its cleanup().
class GameFolderTest : public QObject {
protected:
    void setUpGame();
    void tearDownGame();
    std::unique_ptr<SettingsSandbox> sandbox_;
    QTemporaryDir tmp_;
    QString game_;  // ends in '/'
};

// Our fixture game (its layout and dot names are listed in editortestkit.cpp).
QByteArray FixtureOob();
QByteArray FixtureScn();
// The fixture scenario's nine header lines, the given record lines, then the
// same closing lines as FixtureScn().
QByteArray FixtureScnWith(const QByteArray& records);
// Index in the fixture's order of battle of the entry with this dot name.
int FixtureRow(const char* dotName);

// The source tree (demo/ lives there).
QString SourceDir();

// The map window, recording what the main window asks of it and failing on
// request as a map that cannot be loaded does.
class RecordingMap : public TfrmMap {
public:
    QStringList calls;              // "ClearUnits", "Show", "DrawUnit <unit line> <col> <row>"
    QString clearError, showError;  // raised as ScnError when not empty
    void Show() override;
    void ClearUnits() override;
    void DrawUnit(const TSetupRec* rec, int col, int row) override;
};

// The three windows of a run, with the test's dialogs; the main window is shown.
struct Forms {
    Forms();
    ~Forms();
    TestDialogs ui;
    RecordingMap map;
    std::unique_ptr<TfrmEdit> edit;
};

// Writes the fixture order of battle and `scnText` as CH_A.SCN into `dir`,
// starts the windows anew, types the scenario's path and presses Read.
std::unique_ptr<Forms> ReadFixtureGame(const QString& dir, const QByteArray& scnText);

// The user's actions.
void ClickLine(QListWidget* box, int row);
void ClickButton(QAbstractButton* button);
void TypeInto(QLineEdit* edit, const QString& text);  // replaces the text, key by key
QStringList Lines(const QListWidget* box);
