// Varno killed at random moments while it edits the demo game: started
// again, it recovers the records of the last edit made more than two seconds
// before the kill, or of a later one, never a mix, and the scenario file is
// never touched.
//
// The test runs itself as two kinds of child: an editor (`--edit-child`),
// which reads the demo, makes random edits through the document and logs
// after each one the time and the records (as Save would write them, every
// field kept); and a second start (`--recover-child`), which answers the
// question at start with Recover and writes the records it then holds.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <random>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "editor/document/scndocument.h"
#include "mapview/mapform.h"
#include "scenario/recoveryfolder.h"
#include "scenario/scnwriter.h"
#include "tests/editor/editortestkit.h"
#include "tests/scenario/random_edits.h"

using namespace varno;

namespace {

using Clock = std::chrono::steady_clock;

std::string gProgram;  // this program, for the children

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Every field of the records, whatever the window's save options.
std::string Records(Scenario& scn) { return ScenarioText(scn, {.SortByCol = false, .V103 = false}, nullptr); }

// A log record: "<ns> <size>\n" and the records' bytes, in one write.
void Log(int fd, const std::string& records) {
    const std::string entry = std::to_string(NowNs()) + " " + std::to_string(records.size()) + "\n" + records;
    if (::write(fd, entry.data(), entry.size()) != static_cast<ssize_t>(entry.size())) ::_exit(3);
}

struct Logged {
    std::int64_t ns;
    std::string records;
};

// The whole records of a log; one cut short by the kill is left out.
std::vector<Logged> ReadLog(const QString& path) {
    const QByteArray bytes = ReadBytes(path);
    std::vector<Logged> out;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype eol = bytes.indexOf('\n', at);
        if (eol < 0) break;
        const QList<QByteArray> head = bytes.mid(at, eol - at).split(' ');
        if (head.size() != 2) break;
        const qsizetype size = head[1].toLongLong();
        if (eol + 1 + size > bytes.size()) break;
        out.push_back({head[0].toLongLong(), bytes.mid(eol + 1, size).toStdString()});
        at = eol + 1 + size;
    }
    return out;
}

using scntest::RandomSource;

void NoCheck(bool, const char*) {}

// The program's windows as main() makes them, keeping recovery copies in
// the state folder; the demo game of `dir` read.
struct Varno {
    TestDialogs ui;
    TfrmMap map;
    TfrmEdit edit{ui, &map};
    Varno() {
        map.setAttribute(Qt::WA_QuitOnClose, false);
        edit.KeepRecoveryCopies(RecoveryFolder(RecoveryFolder::DefaultPath()));
        edit.show();
    }
};

int EditChild(const QString& dir, unsigned seed, const QString& logPath) {
    Varno v;
    TypeInto(v.edit.Ui().edScenarioPath, dir + "/DEMO.SCN");
    ClickButton(v.edit.Ui().sbRead);
    const int log = ::open(logPath.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (log < 0) return 3;
    TScnDocument& doc = v.edit.Document();
    Log(log, Records(v.edit.Scn()));
    RandomSource in(seed);
    scntest::RemovedRecords gone;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // Mostly edits, now and then an undo or a redo of the history.
        const int what = in.ConsumeIntegralInRange(0, 9);
        if (what == 0 && doc.History().canUndo()) {
            doc.History().undo();
        } else if (what == 1 && doc.History().canRedo()) {
            doc.History().redo();
        } else {
            scntest::RandomEdit(in, v.edit.Scn(), doc.Sel(), v.edit.ListLines(), gone, doc.Step(), NoCheck);
            doc.Commit();
        }
        Log(log, Records(v.edit.Scn()));
        timer.start(in.ConsumeIntegralInRange(10, 300));
    });
    timer.start(0);
    return QApplication::exec();
}

int RecoverChild(const QString& outPath) {
    Varno v;
    v.ui.setNextChoice(0);  // Recover
    v.edit.OfferRecovery();
    QFile out(outPath);
    if (!out.open(QIODevice::WriteOnly)) return 3;
    if (v.ui.texts(TestDialogs::Kind::Choice).isEmpty()) {
        out.write("none\n");
    } else {
        const QStringList errors = v.ui.errors();
        out.write(v.edit.isWindowModified() && errors.isEmpty() ? "recovered\n"
                                                                : ("failed: " + errors.join(" | ") + "\n").toUtf8());
        out.write(QByteArray::fromStdString(Records(v.edit.Scn())));
    }
    out.close();
    // Gone without closing: the test clears the folder between rounds.
    ::_exit(0);
}

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<std::string> all{gProgram};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(gProgram.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return status;
}

}  // namespace

class TestRecoveryKill : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;

private slots:
    void killedAtRandomMomentsRecoversOneWholeRecentState() {
        // The copies live on a RAM disk where there is one: the disk's sync
        // time is not what the two seconds are about.
        QTemporaryDir shm(QDir("/dev/shm").exists() ? "/dev/shm/varno-kill-XXXXXX" : tmp_.path() + "/state-XXXXXX");
        QVERIFY(shm.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(shm.path()));
        const QString game = tmp_.path() + "/game";
        QDir().mkpath(game);
        for (const char* name : {"MAIN.OOB", "DEMO.SCN", "MAIN.MAP"})
            QVERIFY(QFile::copy(SourceDir() + "/demo/" + name, game + "/" + name));
        for (const char* name : {"MAIN1.BMP", "ICONS2D.BMP"})
            QVERIFY(QFile::copy(QString(VARNO_DEMO_PICTURES) + "/" + name, game + "/" + name));
        const QByteArray file = ReadBytes(game + "/DEMO.SCN");
        std::mt19937 random(35);
        int exact = 0, later = 0, none = 0, within = 0;
        constexpr int kRounds = 24;

        for (int round = 1; round <= kRounds; ++round) {
            const QString log = tmp_.path() + QString("/edits-%1.log").arg(round);
            const QString out = tmp_.path() + QString("/recovered-%1.txt").arg(round);
            const pid_t editor = Spawn({"--edit-child", game.toStdString(), std::to_string(round), log.toStdString()});
            // Killed a random moment after its Read.
            QTRY_VERIFY_WITH_TIMEOUT(!ReadLog(log).empty(), 60000);
            QTest::qWait(std::uniform_int_distribution<int>(200, 5000)(random));
            const std::int64_t killed = NowNs();
            ::kill(editor, SIGKILL);
            WaitFor(editor);
            QCOMPARE(ReadBytes(game + "/DEMO.SCN"), file);

            const int status = WaitFor(Spawn({"--recover-child", out.toStdString()}));
            QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
            QCOMPARE(ReadBytes(game + "/DEMO.SCN"), file);

            const std::vector<Logged> edits = ReadLog(log);
            // The last state older than two seconds: it, or a later one, is what a start finds.
            std::size_t oldest = 0;
            bool settled = false;
            for (std::size_t i = 0; i < edits.size(); ++i) {
                if (edits[i].ns < killed - 2'000'000'000) {
                    oldest = i;
                    settled = true;
                }
            }
            const QByteArray result = ReadBytes(out);
            const QByteArray how = result.left(result.indexOf('\n'));
            const std::string records = result.mid(result.indexOf('\n') + 1).toStdString();
            // Without a copy the start finds the file: right when no edit is
            // older than two seconds, or the document was back at its file.
            const std::string found = how == "none" ? edits.front().records : records;
            QVERIFY2(how == "none" || how == "recovered",
                     qPrintable(QString("round %1: %2").arg(round).arg(QString::fromUtf8(how))));
            std::size_t match = edits.size();
            for (std::size_t i = edits.size(); i-- > (settled ? oldest : 0);) {
                if (edits[i].records == found) {
                    match = i;
                    break;
                }
            }
            QVERIFY2(match < edits.size(), qPrintable(QString("round %1: the recovered records are no state from edit "
                                                              "%2 on (of %3)")
                                                          .arg(round)
                                                          .arg(oldest)
                                                          .arg(edits.size())));
            if (!settled) {
                ++within;
            } else if (how == "none") {
                ++none;
            } else {
                ++(match == oldest ? exact : later);
            }
            QDir(shm.path()).removeRecursively();
            QDir().mkpath(shm.path());
        }
        qInfo("%d rounds: %d recovered the last state older than two seconds, %d a later one, %d none (the "
              "document was back at its file), %d killed within two seconds of the first edit",
              kRounds, exact, later, none, within);
        // Most rounds have edits older than two seconds to recover.
        QVERIFY(exact + later + none >= kRounds / 2);
    }
};

int main(int argc, char** argv) {
    // The children start this program by its file: a Read changes the working directory.
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    gProgram = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string(argv[0]);
    if (argc == 5 && std::string(argv[1]) == "--edit-child") {
        QApplication app(argc, argv);
        return EditChild(argv[2], static_cast<unsigned>(std::stoul(argv[3])), argv[4]);
    }
    if (argc == 3 && std::string(argv[1]) == "--recover-child") {
        QApplication app(argc, argv);
        return RecoverChild(argv[2]);
    }
    QApplication app(argc, argv);
    TestRecoveryKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_recovery_kill.moc"
