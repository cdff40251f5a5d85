// Help: every page of the user manual opens in the help window with its
// pictures, every link leads to a page (and a section) that exists, and every
// page can be reached from the contents; the main window's Help menu opens the
// manual and the About box.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include "editor/help/aboutbox.h"
#include "editor/help/helpmenu.h"
#include "editor/help/helpwindow.h"
#include "editor/help/manualbrowser.h"
#include "editor/settings/inifile.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

// What a page shows: its pictures and its links, as the page names them.
struct PageParts {
    QStringList pictures, links;
};

PageParts Parts(const QTextDocument& doc) {
    PageParts parts;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) parts.pictures << f.toImageFormat().name();
            if (f.isAnchor() && !f.anchorHref().isEmpty() && !parts.links.contains(f.anchorHref()))
                parts.links << f.anchorHref();
        }
    return parts;
}

// The Markdown headings of a page's file ("# ..." lines outside code blocks).
int HeadingCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    int n = 0;
    bool code = false;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("```")) code = !code;
        if (!code && line.startsWith('#')) ++n;
    }
    return n;
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT
    const QString manual_ = SourceDir() + "/docs/manual";

private slots:
    // Each page as a user reads it: opened, its pictures loaded, each link
    // followed (as a click does) to a page that opens at the section named.
    void everyPageShowsItsPicturesAndEveryLinkLeadsSomewhere() {
        THelpWindow w(manual_, "Varno");
        w.show();
        TManualBrowser& browser = *w.Browser;
        const QStringList pages = QDir(manual_).entryList({"*.md"}, QDir::Files, QDir::Name);
        QVERIFY(pages.contains("index.md"));
        QSet<QString> reached{"index.md"};
        for (const QString& page : pages) {
            w.ShowPage(page);
            QVERIFY2(!browser.PageTitle().isEmpty(), qPrintable(page + " has no title"));
            QVERIFY(w.windowTitle().endsWith(browser.PageTitle()));
            // The whole page is shown: each heading of the file is there with
            // its text (text taken for markup would swallow what follows).
            QStringList named = browser.Anchors();
            named.removeAll(QString());
            QCOMPARE(named.size(), HeadingCount(manual_ + "/" + page));
            const QUrl pageUrl = browser.source();
            const PageParts parts = Parts(*browser.document());
            for (const QString& picture : parts.pictures)
                QVERIFY2(!browser.Picture(picture).isNull(), qPrintable(page + ": picture " + picture));
            for (const QString& link : parts.links) {
                const QString where = page + ": link " + link;
                const QUrl target = pageUrl.resolved(QUrl(link));
                QVERIFY2(target.isLocalFile(), qPrintable(where + " leaves the manual"));
                QVERIFY2(QFileInfo(target.toLocalFile()).isFile(), qPrintable(where + " names no file"));
                if (!target.toLocalFile().endsWith(".md")) continue;
                reached << QFileInfo(target.toLocalFile()).fileName();
                browser.setSource(target);
                QCOMPARE(browser.source().adjusted(QUrl::RemoveFragment), target.adjusted(QUrl::RemoveFragment));
                QVERIFY2(!browser.PageTitle().isEmpty(), qPrintable(where));
                if (target.hasFragment())
                    QVERIFY2(browser.Anchors().contains(target.fragment()), qPrintable(where + ": no such section"));
                browser.setSource(pageUrl);
            }
        }
        for (const QString& page : pages)
            QVERIFY2(reached.contains(page), qPrintable(page + " is linked from nowhere"));
    }

    // Back, Forward and Contents walk the pages as in a web browser; Esc closes.
    void navigationAndEsc() {
        THelpWindow w(manual_, "Varno");
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ShowPage();
        const QString contents = w.windowTitle();
        QVERIFY(!w.actBack->isEnabled());
        const QString link = Parts(*w.Browser->document()).links.value(0);
        QVERIFY(!link.isEmpty());
        w.Browser->setSource(w.Browser->source().resolved(QUrl(link)));
        QVERIFY(w.windowTitle() != contents);
        QVERIFY(w.actBack->isEnabled());
        w.actBack->trigger();
        QCOMPARE(w.windowTitle(), contents);
        QVERIFY(w.actForward->isEnabled());
        QTest::keyClick(w.Browser, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    // A folder without the manual says where it was looked for.
    void missingManualSaysWhere() {
        THelpWindow w("/nonexistent/manual", "Varno");
        w.ShowPage();
        QVERIFY(w.Browser->toPlainText().contains(QDir::toNativeSeparators("/nonexistent/manual/index.md")));
    }

    // The main window's Help menu, before any Read: F1 opens the manual's
    // window, About names this user's settings file and the Qt it runs on.
    void helpMenuOfTheMainWindow() {
        SettingsSandbox sandbox;
        Forms f;
        QVERIFY(f.edit->Ui().Help1->menuAction()->isEnabled());
        QTest::keyClick(f.edit.get(), Qt::Key_F1);
        auto* help = f.edit->findChild<THelpMenu*>();
        QVERIFY(help && help->HelpWindow() && help->HelpWindow()->isVisible());
        QVERIFY(help->HelpWindow()->windowTitle().startsWith("Varno Manual"));
        f.edit->Ui().mnuAbout->trigger();
        QVERIFY(help->AboutBox() && help->AboutBox()->isVisible());
        QCOMPARE(help->AboutBox()->windowTitle(), QString("About Varno"));
        const QString text = help->AboutBox()->lblText->text();
        QVERIFY2(text.contains(QDir::toNativeSeparators(sandbox.iniPath()).toHtmlEscaped()), qPrintable(text));
        QVERIFY(text.contains(qVersion()));
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
