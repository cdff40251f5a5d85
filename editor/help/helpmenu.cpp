#include "editor/help/helpmenu.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include "editor/help/helpwindow.h"
#include "editor/settings/firststart.h"
#include "editor/settings/inifile.h"
#include "mapview/windowfit.h"

namespace varno {

#ifndef VARNO_MANUAL_FROM_BIN
#define VARNO_MANUAL_FROM_BIN "../share/varno/docs/manual"
#endif
#ifndef VARNO_DOC_FROM_BIN
#define VARNO_DOC_FROM_BIN "../share/doc/varno"
#endif
#ifndef VARNO_COPYRIGHT
#define VARNO_COPYRIGHT "The Varno authors"
#endif

THelpMenu::THelpMenu(QWidget& window, QString manualFolder, AboutFacts facts)
    : QObject(&window), window_(window), manual_(std::move(manualFolder)), facts_(std::move(facts)) {
    setObjectName(QStringLiteral("HelpMenu"));
}

QString THelpMenu::ManualFolder(const QString& programFolder) {
    const QString installed = QDir::cleanPath(programFolder + u'/' + QStringLiteral(VARNO_MANUAL_FROM_BIN));
    if (QFileInfo::exists(installed + QStringLiteral("/index.md"))) return installed;
    // A build folder keeps the manual where the usual layout has it.
    const QString built = QDir::cleanPath(programFolder + QStringLiteral("/../share/varno/docs/manual"));
    return QFileInfo::exists(built + QStringLiteral("/index.md")) ? built : installed;
}

THelpMenu* THelpMenu::ForVarno(QWidget& window) {
    const QString bin = QCoreApplication::applicationDirPath();
    AboutFacts facts;
    facts.Program = QStringLiteral("Varno");
    facts.Version = QCoreApplication::applicationVersion();
    facts.Summary = QStringLiteral("The scenario editor of a two-sided hex-map war game.");
    facts.Copyright = QStringLiteral("Copyright (c) " VARNO_COPYRIGHT);
    const QString licence = QDir::cleanPath(bin + u'/' + QStringLiteral(VARNO_DOC_FROM_BIN "/copyright"));
    if (QFileInfo::exists(licence)) facts.LicenceFile = licence;
    facts.SettingsFile = SettingsFilePath();
    facts.UserDemo = FirstStart::UserDemoFolder();
    const QString installedDemo = FirstStart::InstalledDemoFolder(bin);
    if (QFileInfo::exists(installedDemo)) facts.InstalledDemo = installedDemo;
    facts.Manual = ManualFolder(bin);
    return new THelpMenu(window, facts.Manual, facts);
}

void THelpMenu::ShowContents() {
    const bool first = !help_;
    if (first) {
        help_ = new THelpWindow(manual_, facts_.Program, &window_);
        help_->setWindowFlag(Qt::Window);
    }
    ShowToolWindow(*help_, window_);
    if (first) help_->ShowPage();
}

void THelpMenu::ShowAbout() {
    if (!about_) about_ = new TAboutBox(facts_, &window_);
    ShowToolWindow(*about_, window_);
}

}  // namespace varno
