#include "tests/editor/editortestkit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "scenario/records.h"
#include "scenario/scnerror.h"

using namespace varno;

SettingsSandbox::SettingsSandbox() {
    hadXdg_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    hadHome_ = qEnvironmentVariableIsSet("HOME");
    oldXdg_ = qgetenv("XDG_CONFIG_HOME");
    oldHome_ = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path() + "/config"));
    qputenv("HOME", QFile::encodeName(dir_.path() + "/home"));
    // The recovery copies too: never in the user's state folder.
    hadState_ = qEnvironmentVariableIsSet("XDG_STATE_HOME");
    oldState_ = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir_.path() + "/state"));
}

SettingsSandbox::~SettingsSandbox() {
    if (hadXdg_)
        qputenv("XDG_CONFIG_HOME", oldXdg_);
    else
        qunsetenv("XDG_CONFIG_HOME");
    if (hadHome_)
        qputenv("HOME", oldHome_);
    else
        qunsetenv("HOME");
    if (hadState_)
        qputenv("XDG_STATE_HOME", oldState_);
    else
        qunsetenv("XDG_STATE_HOME");
}

QString SettingsSandbox::iniPath() const { return dir_.path() + "/config/varno/VARNO.INI"; }

void WriteGameFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    QByteArray data = text;
    data.replace("\n", "\r\n");
    f.write(data);
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// The fixture's order of battle, by dot name:
//   1            Army of the Test (Union)
//   1.1 .. 1.11  Aide 1 .. Aide 11 (leaders)
//   1.12         XII Corps
//   1.12.1       Gen. Beta (leader)
//   1.12.2       Supply Train (wagon)
//   1.12.3       1st Division
//   1.12.3.1     1st Brigade
//   1.12.3.1.1   1st Maine, 1.12.3.1.2  2nd Maine
//   2            Army of the Hills (Confederate)
//   2.1          Gen. Gamma, 2.2  1st Cavalry
//   2.3 .. 2.3.1.1.1.1.1  "Level 1" .. "Level 6", nested: with the army,
//                         seven organisation levels, the most there may be
//   2.3.1.1.1.1.1.1       Deep Scout, the only entry with eight numbers
QByteArray FixtureOob() {
    QByteArray t = "Varno fixture order of battle\n"
                   "Union A Army of the Test\n"
                   "  Begin\n";
    for (int i = 1; i <= 11; ++i) t += "  L 0 1 2 Aide " + QByteArray::number(i) + "\n";
    t += "  C XII Corps\n"
         "  Begin\n"
         "    L 0 1 2 Gen. Beta\n"
         "    S 3 2 Supply Train\n"
         "    D 1st Division\n"
         "    Begin\n"
         "      B 1st Brigade\n"
         "      Begin\n"
         "        U 500 3 I X 4 5 1st Maine\n"
         "        U 450 3 I X 4 5 2nd Maine\n"
         "      End\n"
         "    End\n"
         "  End\n"
         "End\n"
         "Confederate A Army of the Hills\n"
         "  Begin\n"
         "  L 0 1 2 Gen. Gamma\n"
         "  U 300 2 C X 4 5 1st Cavalry\n"
         "  W Level 1\n  Begin\n"
         "  W Level 2\n  Begin\n"
         "  W Level 3\n  Begin\n"
         "  W Level 4\n  Begin\n"
         "  W Level 5\n  Begin\n"
         "  W Level 6\n  Begin\n"
         "  L 0 1 2 Deep Scout\n"
         "  End\n  End\n  End\n  End\n  End\n  End\n"
         "End\n";
    return t;
}

int FixtureRow(const char* dotName) {
    static const QStringList names = [] {
        QStringList n{"1"};
        for (int i = 1; i <= 11; ++i) n << "1." + QString::number(i);
        n << "1.12"
          << "1.12.1"
          << "1.12.2"
          << "1.12.3"
          << "1.12.3.1"
          << "1.12.3.1.1"
          << "1.12.3.1.2"
          << "2"
          << "2.1"
          << "2.2";
        QString deep = "2.3";
        for (int i = 0; i < 6; ++i) {
            n << deep;
            deep += ".1";
        }
        n << deep;
        return n;
    }();
    const int row = static_cast<int>(names.indexOf(QLatin1String(dotName)));
    if (row < 0) qFatal("no fixture entry %s", dotName);
    return row;
}

QByteArray FixtureScnWith(const QByteArray& records) {
    QByteArray t;
    for (int i = 1; i <= 9; ++i) t += "Header line " + QByteArray::number(i) + "\n";
    t += records;
    t += "0\n"
         "1 0\n"
         "1\n"
         "1.12.3.1.2 1863 7 1 9 0 3 4 3\n";
    return t;
}

// Placements of 1st Maine, Aide 1 and the XII Corps itself; a group of two;
// one release; one command.
QByteArray FixtureScn() {
    return FixtureScnWith("1 1.12.3.1.1 1 0 200 0 0 0 5 6\n"
                          "1 1.1 2 0 0 0 0 0 3 4\n"
                          "1 1.12 1 0 0 0 0 0 7 7\n"
                          "2 1863 7 1 8 0 100 0 10 10 2 1\n"
                          "    2.1\n"
                          "    2.2\n"
                          "4 1863 7 1 8 0 50 1.12.2\n");
}

QByteArray Crlf(QByteArray text) { return text.replace("\n", "\r\n"); }

void GameFolderTest::setUpGame() {
    sandbox_ = std::make_unique<SettingsSandbox>();
    game_ = tmp_.path() + "/game/";
    QDir(game_).removeRecursively();
    WriteGameFile(game_ + "MAIN.OOB", FixtureOob());
    WriteGameFile(game_ + "CH_A.SCN", FixtureScn());
}

void GameFolderTest::tearDownGame() { sandbox_.reset(); }

QString SourceDir() { return QStringLiteral(VARNO_SOURCE_DIR); }

void RecordingMap::Show() {
    calls << "Show";
    if (!showError.isEmpty()) throw ScnError(showError.toStdString());
    show();  // a recording map loads no files
}

void RecordingMap::ClearUnits() {
    calls << "ClearUnits";
    if (!clearError.isEmpty()) throw ScnError(clearError.toStdString());
}

void RecordingMap::DrawUnit(const TSetupRec* rec, int col, int row) {
    calls << QString("DrawUnit %1 %2 %3")
                 .arg(rec && rec->Unit ? QString::fromLatin1(rec->Unit->Display) : QString("-"))
                 .arg(col)
                 .arg(row);
}

Forms::Forms() : edit(std::make_unique<TfrmEdit>(ui, &map)) {
    map.setAttribute(Qt::WA_QuitOnClose, false);
    edit->show();
    if (!QTest::qWaitForWindowExposed(edit.get())) qWarning("main window not exposed");
}

Forms::~Forms() { edit.reset(); }

void ClickLine(QListWidget* box, int row) {
    QListWidgetItem* item = box->item(row);
    if (!item) qFatal("no line %d in %s", row, qPrintable(box->objectName()));
    box->scrollToItem(item);
    QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, box->visualItemRect(item).center());
}

void ClickButton(QAbstractButton* button) {
    // A check box takes clicks on its box and caption only, at its left.
    if (qobject_cast<QCheckBox*>(button))
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QStringList Lines(const QListWidget* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->item(i)->text();
    return out;
}

std::unique_ptr<Forms> ReadFixtureGame(const QString& dir, const QByteArray& scnText) {
    WriteGameFile(dir + "/MAIN.OOB", FixtureOob());
    WriteGameFile(dir + "/CH_A.SCN", scnText);
    auto forms = std::make_unique<Forms>();
    TypeInto(forms->edit->Ui().edScenarioPath, dir + "/CH_A.SCN");
    ClickButton(forms->edit->Ui().sbRead);
    return forms;
}
