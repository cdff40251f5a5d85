// The Set Units page as the user works it: placing entries with the
// defaults, editing a placement's values and flags, removing, and Save.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/document/scndocument.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "scenario/records.h"
#include "scenario/scnedit.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

class TestSetUnits : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    std::unique_ptr<Forms> f_;
    TfrmEdit* e_ = nullptr;
    TSetUnitsPage* p_ = nullptr;

    Scenario& scn() { return e_->Scn(); }
    Selection& sel() { return e_->Document().Sel(); }
    const TOobRec* entry(const char* dot) { return scn().OobList()[FixtureRow(dot)]; }

    // Reads the fixture game with `scn` as its scenario.
    void readWith(const QByteArray& scnText) {
        f_ = ReadFixtureGame(tmp_.path(), scnText);
        e_ = f_->edit.get();
        p_ = e_->Ui().pgSetUnits;
        QCOMPARE(f_->ui.shown.size(), 0);
    }
    void add(const char* dot) {
        ClickLine(e_->Ui().lbUnits, FixtureRow(dot));
        ClickButton(e_->Ui().bnAdd);
    }

private slots:
    void init() { readWith(FixtureScn()); }
    void cleanup() {
        QCOMPARE(f_->ui.unanswered, 0);
        f_.reset();
    }

    void controlsCarryTheirNamesCaptionsAndTags() {
        const QList<QPair<const char*, int>> tags{{"cbRouted", 1},       {"cbLowAmmo", 4},     {"cbFixed", 512},
                                                  {"cbColonel", 1024},   {"cbDisorg", 4096},   {"cbDismounted", 131072},
                                                  {"cbMounted", 262144}, {"cbNoAmmo", 1048576}};
        for (const auto& [name, tag] : tags) {
            auto* box = e_->findChild<QCheckBox*>(name);
            QVERIFY2(box, name);
            QCOMPARE(box->property("Tag").toInt(), tag);
        }
        QCOMPARE(p_->cbFixed->toolTip(), QString("cannot move until released"));
        QCOMPARE(p_->cbColonel->toolTip(), QString("leader has been wounded"));
        QCOMPARE(p_->cbDisorg->text(), QString("Disorganzd"));
        QCOMPARE(p_->cbDefMounted->text(), QString("Mnt/Col"));
        QCOMPARE(e_->findChild<TNumEdit*>("edDefFace")->text(), QString("1"));
        QCOMPARE(p_->edStrength->Value(), 1);
        QCOMPARE(p_->edFace->Value(), 1);
        QCOMPARE(p_->edCol->Value(), 0);
        // Boxes without a tag are no flags.
        QVERIFY(!e_->Ui().cbV103->property("Tag").isValid());
    }

    void addUsesTheDefaults_data() {
        QTest::addColumn<QString>("dot");
        QTest::addColumn<bool>("mounted");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("strength");
        QTest::newRow("unit, both") << "1.12.3.1.2" << true << true << (262144 + 512) << 450 % 256;
        QTest::newRow("unit, none") << "1.12.3.1.2" << false << false << 0 << 450 % 256;
        QTest::newRow("unit of 300 gets 44") << "2.2" << false << true << 512 << 44;
        QTest::newRow("leader, none") << "1.12.1" << false << false << 262144 << 0;
        QTest::newRow("leader, fixed only") << "1.12.1" << false << true << 262144 << 0;
        QTest::newRow("wagon, mounted") << "1.12.2" << true << false << 262144 << 3;
    }
    void addUsesTheDefaults() {
        QFETCH(QString, dot);
        QFETCH(bool, mounted);
        QFETCH(bool, fixed);
        QFETCH(int, flags);
        QFETCH(int, strength);
        if (p_->cbDefMounted->isChecked() != mounted) ClickButton(p_->cbDefMounted);
        if (p_->cbDefFixed->isChecked() != fixed) ClickButton(p_->cbDefFixed);
        TypeInto(p_->edDefFace, "16");
        const int before = e_->Ui().lbSetUnits->count();
        add(dot.toLatin1().constData());

        QCOMPARE(e_->Ui().lbSetUnits->count(), before + 1);
        const TSetupRec* rec = scn().SetupList().back();
        QCOMPARE(rec->Unit, entry(dot.toLatin1().constData()));
        QCOMPARE(rec->Unit->Setup, rec);
        QCOMPARE(int(rec->Flags), flags);
        QCOMPARE(int(rec->Strength), strength);
        QCOMPARE(int(rec->Facing), 16);
        QCOMPARE(int(rec->Aux), 4);
        QCOMPARE(e_->Ui().lbSetUnits->item(before)->text(), e_->Ui().lbUnits->item(FixtureRow(dot.toLatin1()))->text());
        QCOMPARE(e_->Ui().lbSetUnits->SelectedLine(), before);
        QCOMPARE(sel().CurSetup(), rec);
        QCOMPARE(p_->edStrength->text(), QString::number(strength));
        QCOMPARE(p_->edFace->text(), QString("16"));
        QCOMPARE(p_->CollectFlags(), std::uint32_t(flags));
        QVERIFY(scn().Modified);
    }

    void eachPlacementOfAWagonCanBeShown() {
        add("1.12.2");
        add("1.12.2");
        MoveSetup(scn(), scn().SetupList()[3], 30, scn().SetupList()[3]->Row, e_->ListLines(), e_->Document().Step());
        ClickLine(e_->Ui().lbSetUnits, 0);
        ClickLine(e_->Ui().lbSetUnits, 3);  // the first, though the entry names the second
        QCOMPARE(sel().CurSetup(), scn().SetupList()[3]);
        QCOMPARE(e_->Ui().lbSetUnits->SelectedLine(), 3);
        QCOMPARE(p_->edCol->text(), QString("30"));
        QCOMPARE(e_->Ui().lbUnits->SelectedLine(), FixtureRow("1.12.2"));
    }

    void aWagonIsPlacedTwice() {
        add("1.12.2");
        add("1.12.2");
        QCOMPARE(e_->Ui().lbSetUnits->count(), 5);
        QCOMPARE(Lines(e_->Ui().lbSetUnits).mid(3), QStringList({"Supply Train", "Supply Train"}));
        QCOMPARE(entry("1.12.2")->Setup, scn().SetupList()[4]);
        // Removing either clears the entry's link.
        ClickLine(e_->Ui().lbSetUnits, 3);
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(entry("1.12.2")->Setup, nullptr);
        QCOMPARE(e_->Ui().lbSetUnits->count(), 4);
        QCOMPARE(e_->Ui().lbSetUnits->SelectedLine(), -1);
        QCOMPARE(e_->Ui().Status->text(), QString("Use Refresh Map when done removing units"));
    }

    void placedUnitsAndOrganisationsAddNothing() {
        for (const char* dot : {"1.12.3.1.1", "1.12.3", "1"}) {
            add(dot);
            QCOMPARE(e_->Ui().lbSetUnits->count(), 3);
            QCOMPARE(e_->Ui().Status->text(), QString());
        }
        QVERIFY(!scn().Modified);
    }

    void addAndRemoveWithNothingSelected() {
        e_->Ui().lbUnits->SelectNone();
        ClickButton(e_->Ui().bnAdd);
        QCOMPARE(e_->Ui().Status->text(), QString("Please select a unit or leader"));
        QCOMPARE(e_->Ui().lbSetUnits->count(), 3);
        e_->Ui().Notebook1->setCurrentIndex(1);
        e_->Ui().Notebook1->setCurrentIndex(0);
        QCOMPARE(e_->Ui().Status->text(), QString());
        ClickButton(e_->Ui().bnRemove);  // no placement selected after the read
        QCOMPARE(e_->Ui().Status->text(), QString("Please select a unit or leader"));
        QVERIFY(!scn().Modified);
    }

    void removingTheLastLineThenAgain() {
        for (int i = 0; i < 3; ++i) {
            ClickLine(e_->Ui().lbSetUnits, e_->Ui().lbSetUnits->count() - 1);
            ClickButton(e_->Ui().bnRemove);
        }
        QCOMPARE(e_->Ui().lbSetUnits->count(), 0);
        QVERIFY(scn().SetupList().empty());
        QCOMPARE(entry("1.12.3.1.1")->Setup, nullptr);
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().Status->text(), QString("Please select a unit or leader"));
        // The unit may be placed again.
        add("1.12.3.1.1");
        QCOMPARE(e_->Ui().lbSetUnits->count(), 1);
    }

    void aLeaderDisablesItsUnitBoxes() {
        ClickLine(e_->Ui().lbSetUnits, 1);  // Aide 1
        for (QCheckBox* b : {p_->cbLowAmmo, p_->cbNoAmmo, p_->cbDisorg, p_->cbRouted}) {
            QVERIFY(!b->isEnabled());
            QVERIFY(!b->isChecked());
        }
        QVERIFY(p_->cbColonel->isEnabled());
        QVERIFY(p_->cbMounted->isEnabled());
        QCOMPARE(p_->edFatigue->text(), QString());
        QCOMPARE(p_->edCol->text(), QString("3"));
        QCOMPARE(p_->edRow->text(), QString("4"));
        QCOMPARE(p_->edFace->text(), QString("2"));
        // The selection followed into the column.
        QCOMPARE(e_->Ui().lbUnits->SelectedLine(), FixtureRow("1.1"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("1.1"));

        ClickLine(e_->Ui().lbSetUnits, 0);  // 1st Maine
        for (QCheckBox* b : {p_->cbLowAmmo, p_->cbNoAmmo, p_->cbDisorg, p_->cbRouted}) QVERIFY(b->isEnabled());
        QVERIFY(!p_->cbColonel->isEnabled());
        QCOMPARE(p_->edFatigue->text(), QString("0"));
        QCOMPARE(p_->edStrength->text(), QString("200"));
        QVERIFY(!scn().Modified);
    }

    void aWagonShowsItsMountedBitDisabled() {
        readWith(FixtureScn().replace("1 1.1 2 0 0 0 0 0 3 4", "1 1.12.2 2 0 3 9 0 262144 3 4"));
        ClickLine(e_->Ui().lbSetUnits, 1);
        QVERIFY(!p_->cbMounted->isEnabled());
        QVERIFY(p_->cbMounted->isChecked());
        QVERIFY(!p_->cbColonel->isEnabled());
        QCOMPARE(p_->edFatigue->text(), QString());
        // Its fatigue of 9 is dropped at the next store.
        ClickLine(e_->Ui().lbSetUnits, 0);
        QCOMPARE(int(scn().SetupList()[1]->Fatigue), 0);
        QCOMPARE(scn().SetupList()[1]->Flags, std::uint32_t(262144));
        QVERIFY(scn().Modified);
    }

    void anUnknownFlagBitIsDroppedWhenShownAndStored() {
        readWith(FixtureScn().replace("1 1.12.3.1.1 1 0 200 0 0 0 5 6", "1 1.12.3.1.1 1 0 200 0 0 520 5 6"));
        QCOMPARE(scn().SetupList()[0]->Flags, std::uint32_t(520));
        ClickLine(e_->Ui().lbSetUnits, 0);
        QVERIFY(p_->cbFixed->isChecked());
        QVERIFY(!scn().Modified);
        ClickLine(e_->Ui().lbSetUnits, 2);
        QCOMPARE(scn().SetupList()[0]->Flags, std::uint32_t(512));
        QVERIFY(scn().Modified);
    }

    void editsReachTheRecordAtTheNextStore() {
        ClickLine(e_->Ui().lbSetUnits, 0);
        TypeInto(p_->edCol, "300");
        TypeInto(p_->edStrength, "$1F");
        ClickButton(p_->cbRouted);
        ClickButton(p_->cbNoAmmo);
        QCOMPARE(int(scn().SetupList()[0]->Col), 5);  // not yet
        QVERIFY(!scn().Modified);
        ClickLine(e_->Ui().lbSetUnits, 1);
        const TSetupRec* rec = scn().SetupList()[0];
        QCOMPARE(int(rec->Col), 44);
        QCOMPARE(int(rec->Strength), 31);
        QCOMPARE(rec->Flags, std::uint32_t(1 | 1048576));
        QVERIFY(scn().Modified);
        // The "$" typed alone was not yet a number, and no error.
        QCOMPARE(f_->ui.errors(), QStringList());
    }

    void aBadNumberKeepsTheLastGoodValue() {
        ClickLine(e_->Ui().lbSetUnits, 0);
        const int shown = p_->edRow->Value();
        // Emptied, then "-": unfinished while typing; the value stays, no box.
        TypeInto(p_->edRow, "-");
        QCOMPARE(f_->ui.errors(), QStringList());
        QCOMPARE(p_->edRow->Value(), shown);
        TypeInto(p_->edRow, "-5");
        QCOMPARE(p_->edRow->Value(), -5);
        // Left unfinished, it is checked as before.
        TypeInto(p_->edRow, "-");
        p_->edCol->setFocus();
        QCOMPARE(f_->ui.errors(), QStringList({"'-' is not a valid integer value"}));
        TypeInto(p_->edRow, "12x");
        QCOMPARE(f_->ui.errors().last(), QString("'12x' is not a valid integer value"));
        QCOMPARE(p_->edRow->Value(), 12);
        p_->edRow->setText(QString::fromUtf8("5\u20ac"));
        QCOMPARE(f_->ui.errors().last(), QString::fromUtf8("'5\u20ac' is not a valid integer value"));
        QCOMPARE(p_->edRow->Value(), 12);
        ClickLine(e_->Ui().lbSetUnits, 2);
        QCOMPARE(int(scn().SetupList()[0]->Row), 12);
    }

    // The box a bad number opens as a click on another line takes the focus
    // swallows that click's release: the press alone moves the page to the
    // line it highlights.
    void theHighlightFollowsAPressThatABoxInterrupted() {
        ClickLine(e_->Ui().lbSetUnits, 0);
        TypeInto(p_->edStrength, "12x");
        QCOMPARE(f_->ui.errors().size(), 1);
        QWidget* lines = e_->Ui().lbSetUnits->viewport();
        QTest::mousePress(lines, Qt::LeftButton, Qt::NoModifier,
                          e_->Ui().lbSetUnits->visualItemRect(e_->Ui().lbSetUnits->item(1)).center());
        QCOMPARE(f_->ui.errors().size(), 2);  // the field was left
        QCOMPARE(e_->Ui().lbSetUnits->SelectedLine(), 1);
        QCOMPARE(sel().CurSetup(), scn().SetupList()[1]);
        QCOMPARE(p_->lblEditing->text(), "Editing: " + e_->Ui().lbSetUnits->item(1)->text());
        QCOMPARE(p_->edStrength->Value(), int(scn().SetupList()[1]->Strength));
        // The bad text kept the first placement's last good value.
        QCOMPARE(int(scn().SetupList()[0]->Strength), 12);
    }

    void theDefaultFacingIsReadWhenLeft() {
        p_->edDefFace->setFocus();
        p_->edDefFace->selectAll();
        QTest::keyClicks(p_->edDefFace, "8");
        QCOMPARE(p_->edDefFace->Value(), 1);  // still the designed value
        add("1.12.3.1.2");                    // the click leaves the edit
        QCOMPARE(int(scn().SetupList().back()->Facing), 8);
    }

    void aMoveIsShownOnThePage() {
        ClickLine(e_->Ui().lbSetUnits, 0);
        TypeInto(p_->edStrength, "99");
        // As the map moves a placement: the hex is shown, other edits stay.
        QVERIFY(MoveSetup(scn(), sel().CurSetup(), 21, 3, e_->ListLines(), e_->Document().Step()));
        p_->ShowHex();
        QCOMPARE(p_->edCol->Value(), 21);
        QCOMPARE(p_->edRow->Value(), 3);
        QCOMPARE(p_->edStrength->Value(), 99);
        QVERIFY(scn().Modified);
        // ShowSetup shows the whole record again.
        p_->ShowSetup();
        QCOMPARE(p_->edStrength->text(), QString("200"));
        ClickLine(e_->Ui().lbSetUnits, 1);
        QCOMPARE(int(scn().SetupList()[0]->Col), 21);
    }

    void saveStoresThePendingEdits() {
        ClickLine(e_->Ui().lbSetUnits, 0);
        TypeInto(p_->edFatigue, "7");
        ClickButton(e_->Ui().sbSave);
        QVERIFY(f_->ui.errors().isEmpty());
        QVERIFY(!scn().Modified);
        QVERIFY(ReadBytes(tmp_.path() + "/CH_A.SCN").contains("1 1.12.3.1.1 1 0 200 7 0 0 5 6\r\n"));
    }
};

QTEST_MAIN(TestSetUnits)
#include "test_setunits.moc"
