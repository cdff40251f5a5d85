#include "editor/help/helpwindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "editor/help/manualbrowser.h"

namespace varno {

namespace {
const QString kContentsPage = QStringLiteral("index.md");
}  // namespace

THelpWindow::THelpWindow(const QString& manualFolder, const QString& programName, QWidget* parent)
    : QMainWindow(parent), folder_(manualFolder), program_(programName) {
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_QuitOnClose, false);
    Browser = new TManualBrowser(this);
    setCentralWidget(Browser);

    auto* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("tbHelp"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actBack = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"));
    actBack->setShortcuts(QKeySequence::Back);
    actForward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"));
    actForward->setShortcuts(QKeySequence::Forward);
    actContents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Contents"));
    actContents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    actBack->setEnabled(false);
    actForward->setEnabled(false);
    connect(actBack, &QAction::triggered, Browser, &QTextBrowser::backward);
    connect(actForward, &QAction::triggered, Browser, &QTextBrowser::forward);
    connect(actContents, &QAction::triggered, this, [this] { ShowPage(); });
    connect(Browser, &QTextBrowser::backwardAvailable, actBack, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, actForward, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] { showTitle(); });

    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    resize(820, 760);
    showTitle();
}

void THelpWindow::ShowPage(const QString& page) {
    const QString name = page.isEmpty() ? kContentsPage : page;
    const QUrl url = QUrl::fromLocalFile(QDir(folder_).filePath(name.section(u'#', 0, 0)));
    if (!QFileInfo::exists(url.toLocalFile())) {
        Browser->setMarkdown(QStringLiteral("# The manual is missing\n\nIt was looked for in `%1`.\n")
                                 .arg(QDir::toNativeSeparators(url.toLocalFile())));
        showTitle();
        return;
    }
    QUrl target = url;
    if (name.contains(u'#')) target.setFragment(name.section(u'#', 1));
    Browser->setSource(target);
}

void THelpWindow::showTitle() {
    const QString title = Browser->PageTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("%1 Manual").arg(program_)
                                   : QStringLiteral("%1 Manual - %2").arg(program_, title));
}

}  // namespace varno
