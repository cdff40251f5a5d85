// Quillet's dialog and main sequence, driven as a user drives them, with the
// message boxes and file dialogs answered by the test.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "mapsum/app/main_dialog.h"
#include "mapsum/app/quillet_run.h"
#include "mapsum/core/map_checksum.h"
#include "tests/mapsum/fake_prompter.h"
#include "tests/mapsum/map_text.h"

using quillet::MainDialog;
using quillet::Prompter;
using quillet_test::FakePrompter;

namespace {

QByteArray read_all(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void write_all(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// 1 + 1 + 1 (blank) + 1 ("!") = 4
QByteArray small_map() {
    quillet_test::Lines m{"1", "1 1", "7 8 9", " ", "5", "1", "!"};
    for (int i = 0; i < 9; ++i) m.push_back("0");
    return QByteArray::fromStdString(quillet_test::join(m, "\r\n"));
}

// 1 + 1 + 0 ("x") + (0x1d - 32 = -3) = -1
QByteArray minus_one_map() {
    quillet_test::Lines m{"1", "1 1", "7 8 9", "x", "5", "1", "\x1d"};
    for (int i = 0; i < 9; ++i) m.push_back("0");
    return QByteArray::fromStdString(quillet_test::join(m, "\r\n"));
}

template <typename T> T* child(QWidget& parent, const QString& name) {
    T* w = parent.findChild<T*>(name);
    if (!w) qFatal("no child %s", qPrintable(name));
    return w;
}

void type_into(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }

bool same_text(const quillet_test::Shown& s, const QString& title, const QString& text, Prompter::Icon icon) {
    return s.title == title && s.text == text && s.icon == icon;
}

}  // namespace

class QuilletDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString old_cwd_;
    FakePrompter* fake_ = nullptr;

    // Runs the whole program; `act` works the dialog once it is on screen.
    int run(const std::function<void(MainDialog&)>& act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<MainDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<MainDialog*>(w)) dialog = d;
            }
            if (dialog) act(*dialog);
        });
        return quillet::run_quillet(*fake_);
    }
    QString path(const QString& name) const { return tmp_.filePath(name); }

    void expect_opening_and_checksum(const QString& checksum) {
        QVERIFY(fake_->shown.size() >= 2);
        QVERIFY(same_text(fake_->shown[0], "Quillet v0.9", quillet::notice_text(), Prompter::Icon::none));
        QVERIFY(!quillet::notice_text().isEmpty());
        QVERIFY(same_text(fake_->shown[1], "Quillet v0.9", "Checksum: " + checksum, Prompter::Icon::information));
    }

private slots:
    void init() {
        QVERIFY(tmp_.isValid());
        old_cwd_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(tmp_.path()));
        fake_ = new FakePrompter;
    }
    void cleanup() {
        QDir::setCurrent(old_cwd_);
        delete fake_;
        fake_ = nullptr;
        for (const QString& f : QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(tmp_.filePath(f));
    }

    // --- the dialog ---------------------------------------------------------

    void defaults() {
        MainDialog d(*fake_);
        QCOMPARE(d.objectName(), QString("DIALOG_1"));
        QCOMPARE(d.windowTitle(), QString("Quillet v0.9"));
        QCOMPARE(child<QLineEdit>(d, "edit123")->text(), QString("main.map"));
        QCOMPARE(child<QLineEdit>(d, "edit126")->text(), QString("newmain.map"));
        QVERIFY(!child<QCheckBox>(d, "check125")->isChecked());
        QCOMPARE(child<QCheckBox>(d, "check125")->text(), QString("Convert MAP File"));
        QCOMPARE(child<QPushButton>(d, "button124")->text(), QString("Browse..."));
        QCOMPARE(child<QPushButton>(d, "button127")->text(), QString("Browse..."));
        QCOMPARE(child<QPushButton>(d, "button122")->text(), QString("Continue"));
        QCOMPARE(child<QPushButton>(d, "button121")->text(), QString("Cancel"));
        QStringList labels;
        for (QLabel* l : d.findChildren<QLabel*>()) labels << l->text();
        labels.sort();
        QCOMPARE(labels, (QStringList{"Converted MAP File Name", "MAP File Name"}));
        QCOMPARE(d.findChild<QGroupBox*>()->title(), QString("File Conversion"));
        for (QPushButton* b : d.findChildren<QPushButton*>()) {
            QVERIFY(!b->isDefault());
            QVERIFY(!b->autoDefault());
        }
        QCOMPARE(d.browse_dir(), QString("."));
        // Commands of the other controls are not handled and end nothing.
        d.show();
        for (int id : {123, 125, 126, 120, 128}) QVERIFY(!d.main_dialog_proc(id));
        QVERIFY(d.isVisible());
        QVERIFY(fake_->requests.isEmpty());
    }

    // Help > About Quillet: a box naming the user's demo folder and the Qt it runs on;
    // the dialog stays open.
    void aboutNamesTheDemoFolderAndQt() {
        const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        const QByteArray old = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp_.path()));
        MainDialog d(*fake_);
        d.show();
        child<QAction>(d, "mnuAbout")->trigger();
        wasSet ? qputenv("XDG_DATA_HOME", old) : qunsetenv("XDG_DATA_HOME");
        QCOMPARE(fake_->shown.size(), 1);
        QCOMPARE(fake_->shown[0].title, QString("About Quillet"));
        QVERIFY(fake_->shown[0].text.contains(QDir::toNativeSeparators(tmp_.path() + "/varno/demo")));
        QVERIFY(fake_->shown[0].text.contains(qVersion()));
        QVERIFY(d.isVisible());
    }

    void layoutFollowsTheTable() {
        MainDialog d(*fake_);
        d.show();
        const QRect group = d.findChild<QGroupBox*>()->geometry();
        for (const char* name : {"check125", "edit126", "button127"})
            QVERIFY2(group.contains(child<QWidget>(d, name)->geometry()), name);
        const QRect input = child<QWidget>(d, "edit123")->geometry();
        QVERIFY(input.bottom() < group.top());
        QVERIFY(input.right() < child<QWidget>(d, "button124")->geometry().left());
        const QRect cont = child<QWidget>(d, "button122")->geometry();
        const QRect cancel = child<QWidget>(d, "button121")->geometry();
        QVERIFY(cont.top() > group.bottom());
        QVERIFY(cont.right() < cancel.left());
        QCOMPARE(cont.size(), cancel.size());
        QVERIFY(d.rect().contains(cancel));
        QVERIFY(d.rect().contains(group));
        // The texts fit their controls.
        for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(), qPrintable(b->text()));
    }

    void continueReadsTheControls() {
        MainDialog d(*fake_);
        d.show();
        type_into(child<QLineEdit>(d, "edit123"), "maps/A.MAP");
        type_into(child<QLineEdit>(d, "edit126"), "out/B.MAP");
        click(child<QCheckBox>(d, "check125"));
        QVERIFY(child<QCheckBox>(d, "check125")->isChecked());
        click(child<QPushButton>(d, "button122"));
        QCOMPARE(d.result(), 1);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.input_name(), QString("maps/A.MAP"));
        QCOMPARE(d.output_name(), QString("out/B.MAP"));
        QVERIFY(d.convert_wanted());
    }

    void continueWithTheBoxUnticked() {
        MainDialog d(*fake_);
        d.show();
        click(child<QPushButton>(d, "button122"));
        QCOMPARE(d.result(), 1);
        QVERIFY(!d.convert_wanted());
        QCOMPARE(d.input_name(), QString("main.map"));
        QCOMPARE(d.output_name(), QString("newmain.map"));
    }

    void cancelAndCloseBoxEndWithZero() {
        {
            MainDialog d(*fake_);
            QTimer::singleShot(0, [&d] { click(child<QPushButton>(d, "button121")); });
            QCOMPARE(d.exec(), 0);
            QVERIFY(d.input_name().isEmpty());
        }
        {
            MainDialog d(*fake_);
            QTimer::singleShot(0, [&d] { d.close(); });
            QCOMPARE(d.exec(), 0);
            QVERIFY(!d.isVisible());
        }
    }

    // A modal frame with its system menu: no minimise, no maximise.
    void aModalFrameWithItsSystemMenuOnly() {
        MainDialog d(*fake_);
        const Qt::WindowFlags f = d.windowFlags();
        QVERIFY(d.isModal());
        QVERIFY(f & Qt::WindowSystemMenuHint);
        QVERIFY(f & Qt::MSWindowsFixedSizeDialogHint);
        QVERIFY(!(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void enterAndEscapeDoNotEndTheDialog() {
        MainDialog d(*fake_);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.activateWindow();
        for (const char* name : {"edit123", "check125", "edit126"}) {
            QWidget* w = child<QWidget>(d, name);
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY2(d.isVisible(), name);
        }
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QVERIFY(fake_->requests.isEmpty());
        // Enter on a button that has the focus presses that button.
        QPushButton* cont = child<QPushButton>(d, "button122");
        cont->setFocus();
        QTest::keyClick(cont, Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), 1);
    }

    void browseFillsTheEditsAndRemembersTheDirectory() {
        MainDialog d(*fake_);
        d.show();
        fake_->setNextFileName("/data/game/maps/Other.MAP");
        click(child<QPushButton>(d, "button124"));
        QCOMPARE(child<QLineEdit>(d, "edit123")->text(), QString("/data/game/maps/Other.MAP"));
        QCOMPARE(child<QLineEdit>(d, "edit126")->text(), QString("newmain.map"));

        // A cancelled file dialog changes nothing; it started where the last
        // file was picked.
        click(child<QPushButton>(d, "button127"));
        QCOMPARE(child<QLineEdit>(d, "edit126")->text(), QString("newmain.map"));
        QCOMPARE(d.browse_dir(), QString("/data/game/maps"));

        fake_->setNextFileName("/data/new.map");
        click(child<QPushButton>(d, "button127"));
        QCOMPARE(child<QLineEdit>(d, "edit126")->text(), QString("/data/new.map"));
        QCOMPARE(child<QLineEdit>(d, "edit123")->text(), QString("/data/game/maps/Other.MAP"));
        QCOMPARE(d.browse_dir(), QString("/data"));

        QCOMPARE(fake_->requests.size(), 3);
        const QString dirs[] = {".", "/data/game/maps", "/data/game/maps"};
        const bool must_exist[] = {true, false, false};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(fake_->requests[i].title, QString("Select MAP file"));
            QCOMPARE(fake_->requests[i].filter, QString("Map File (*.map)"));
            QCOMPARE(fake_->requests[i].dir, dirs[i]);
            QCOMPARE(fake_->requests[i].must_exist, must_exist[i]);
        }
        QVERIFY(d.isVisible());
    }

    void fileDialogFilterMatchesAnyCase() {
        for (const char* name : {"a.map", "B.MAP", "c.Map", "d.txt", "emap"}) write_all(path(name), "x");
        QFileDialog fd;
        quillet::QtPrompter::configure_file_dialog(fd, "Select MAP file", tmp_.path(), "Map File (*.map)", true);
        QCOMPARE(fd.windowTitle(), QString("Select MAP file"));
        QCOMPARE(fd.nameFilters(), QStringList{"Map File (*.map)"});
        QCOMPARE(fd.fileMode(), QFileDialog::ExistingFile);
        fd.show();
        auto* list = fd.findChild<QListView*>("listView");
        QVERIFY(list);
        auto listed = [&] {
            QStringList names;
            const QModelIndex root = list->rootIndex();
            for (int r = 0; r < list->model()->rowCount(root); ++r)
                names << list->model()->index(r, 0, root).data().toString();
            names.sort(Qt::CaseInsensitive);
            return names;
        };
        QTRY_COMPARE(listed(), (QStringList{"a.map", "B.MAP", "c.Map"}));
        fd.reject();

        QFileDialog any;
        quillet::QtPrompter::configure_file_dialog(any, "Select MAP file", ".", "Map File (*.map)", false);
        QCOMPARE(any.fileMode(), QFileDialog::AnyFile);
    }

    void realMessageBoxShowsTitleTextAndIcon() {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        quillet::QtPrompter real;
        real.show_message(nullptr, "ERROR", "EOF error!", Prompter::Icon::warning);
        QCOMPARE(title, QString("ERROR"));
        QCOMPARE(text, QString("EOF error!"));
        QCOMPARE(icon, QMessageBox::Warning);
    }

    // --- the main sequence --------------------------------------------------

    void cancelShowsOnlyTheNotice() {
        QCOMPARE(run([](MainDialog& d) { click(child<QPushButton>(d, "button121")); }), 0);
        QCOMPARE(fake_->shown.size(), 1);
        QVERIFY(same_text(fake_->shown[0], "Quillet v0.9", quillet::notice_text(), Prompter::Icon::none));
        QCOMPARE(run([](MainDialog& d) { d.close(); }), 0);
        QCOMPARE(fake_->shown.size(), 2);
    }

    void uncheckedShowsTheChecksumAndWritesNothing() {
        write_all(path("main.map"), small_map());
        QCOMPARE(run([](MainDialog& d) { click(child<QPushButton>(d, "button122")); }), 0);
        QCOMPARE(fake_->shown.size(), 2);
        expect_opening_and_checksum("4");
        QCOMPARE(QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"main.map"});
    }

    void conversionWithTheDefaultNames() {
        write_all(path("main.map"), small_map());
        QCOMPARE(run([](MainDialog& d) {
                     click(child<QCheckBox>(d, "check125"));
                     click(child<QPushButton>(d, "button122"));
                 }),
                 0);
        QCOMPARE(fake_->shown.size(), 3);
        expect_opening_and_checksum("4");
        QVERIFY(same_text(fake_->shown[2], "Quillet v0.9", "Conversion complete!", Prompter::Icon::information));
        const QByteArray out = read_all(path("newmain.map"));
        QVERIFY(out.startsWith("2\r\n1 1\r\n7 8 9 4\r\n \r\n5\r\n1\r\n!\r\n"));
        QCOMPARE(out.mid(1), small_map().mid(1).replace("7 8 9", "7 8 9 4"));
        QCOMPARE(read_all(path("main.map")), small_map());
    }

    void conversionPickedWithBrowse() {
        QDir(tmp_.path()).mkdir("maps");
        write_all(path("maps/Game.MAP"), small_map());
        fake_->setNextFileName(path("maps/Game.MAP"));
        fake_->setNextFileName(path("maps/Converted.map"));
        QCOMPARE(run([](MainDialog& d) {
                     click(child<QPushButton>(d, "button124"));
                     click(child<QPushButton>(d, "button127"));
                     click(child<QCheckBox>(d, "check125"));
                     click(child<QPushButton>(d, "button122"));
                 }),
                 0);
        QCOMPARE(fake_->requests.size(), 2);
        QCOMPARE(fake_->requests[1].dir, path("maps"));
        QCOMPARE(fake_->shown.size(), 3);
        const QByteArray out = read_all(path("maps/Converted.map"));
        QVERIFY(out.startsWith("2\r\n1 1\r\n7 8 9 4\r\n"));
        QDir(path("maps")).removeRecursively();
    }

    void outputThatIsTheInput() {
        write_all(path("main.map"), small_map());
        QCOMPARE(run([this](MainDialog& d) {
                     type_into(child<QLineEdit>(d, "edit123"), path("main.map"));
                     type_into(child<QLineEdit>(d, "edit126"), "./main.map");
                     click(child<QCheckBox>(d, "check125"));
                     click(child<QPushButton>(d, "button122"));
                 }),
                 0);
        QCOMPARE(fake_->shown.size(), 3);
        QCOMPARE(fake_->shown[2].text, QString("Conversion complete!"));
        const QByteArray out = read_all(path("main.map"));
        QVERIFY(out.startsWith("2\r\n1 1\r\n7 8 9 4\r\n \r\n5\r\n"));
        const auto again = quillet::compute_map_checksum(out.toStdString());
        QVERIFY(again.ok);
        QCOMPARE(again.checksum, 4);
    }

    void missingInput() {
        QCOMPARE(run([](MainDialog& d) {
                     type_into(child<QLineEdit>(d, "edit123"), "nothing.map");
                     click(child<QPushButton>(d, "button122"));
                 }),
                 -1);
        QCOMPARE(fake_->shown.size(), 2);
        QVERIFY(same_text(fake_->shown[1], "ERROR", "Can't open MAP file!", Prompter::Icon::warning));
    }

    void badMapShowsItsErrorAndNoChecksum() {
        write_all(path("main.map"), "1\r\n2 1\r\n0 0 0\r\nw\r\n00\r\n");
        QCOMPARE(run([](MainDialog& d) {
                     click(child<QCheckBox>(d, "check125"));
                     click(child<QPushButton>(d, "button122"));
                 }),
                 0);
        QCOMPARE(fake_->shown.size(), 2);
        QVERIFY(same_text(fake_->shown[1], "ERROR", "Hex terrain map error!", Prompter::Icon::warning));
        QVERIFY(!QFile::exists(path("newmain.map")));
    }

    void outputDirectoryThatDoesNotExist() {
        write_all(path("main.map"), small_map());
        QCOMPARE(run([](MainDialog& d) {
                     type_into(child<QLineEdit>(d, "edit126"), "no/such/dir/new.map");
                     click(child<QCheckBox>(d, "check125"));
                     click(child<QPushButton>(d, "button122"));
                 }),
                 -1);
        QCOMPARE(fake_->shown.size(), 3);
        expect_opening_and_checksum("4");
        QVERIFY(same_text(fake_->shown[2], "ERROR", "Can't create new MAIN.MAP file!", Prompter::Icon::warning));
    }

    void failedConversionKeepsTheOldOutput() {
        // Valid for the checksum pass, but the header holds two integers.
        write_all(path("main.map"), "1\r\n1 1\r\n7 8\r\n \r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                                    "0\r\n0\r\n0\r\n0\r\n");
        write_all(path("newmain.map"), "earlier copy");
        QCOMPARE(run([](MainDialog& d) {
                     click(child<QCheckBox>(d, "check125"));
                     click(child<QPushButton>(d, "button122"));
                 }),
                 0);
        QCOMPARE(fake_->shown.size(), 3);
        expect_opening_and_checksum("3");
        QVERIFY(same_text(fake_->shown[2], "ERROR", "Map header error!", Prompter::Icon::warning));
        QCOMPARE(read_all(path("newmain.map")), QByteArray("earlier copy"));
        QCOMPARE(QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void checksumOfMinusOneIsShownAndWritten() {
        write_all(path("main.map"), minus_one_map());
        QCOMPARE(run([](MainDialog& d) {
                     click(child<QCheckBox>(d, "check125"));
                     click(child<QPushButton>(d, "button122"));
                 }),
                 0);
        QCOMPARE(fake_->shown.size(), 3);
        expect_opening_and_checksum("-1");
        QCOMPARE(fake_->shown[2].text, QString("Conversion complete!"));
        QVERIFY(read_all(path("newmain.map")).startsWith("2\r\n1 1\r\n7 8 9 -1\r\n"));
    }
};

QTEST_MAIN(QuilletDialogTest)
#include "test_quillet_dialog.moc"
