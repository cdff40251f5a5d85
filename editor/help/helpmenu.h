#pragma once
// Varno's Help menu: Contents shows the user manual in its window, About the
// About box. Both windows are made when first asked for and then reused; the
// menu belongs to the main window and goes with it.
#include <QObject>
#include <QPointer>

#include "editor/help/aboutbox.h"
#include "editor/help/helpwindow.h"

class QWidget;

namespace varno {

class THelpMenu : public QObject {
    Q_OBJECT
public:
    // `window`: the window whose menu this is (the help windows stand beside it).
    THelpMenu(QWidget& window, QString manualFolder, AboutFacts facts);

    // Varno's menu: the installed manual, the settings file and demo game of this user.
    static THelpMenu* ForVarno(QWidget& window);
    // <programFolder>/../share/varno/docs/manual for the usual layout (also
    // that of a build folder, whose programs are one folder below its top).
    static QString ManualFolder(const QString& programFolder);

    void ShowContents();
    void ShowAbout();

    THelpWindow* HelpWindow() const { return help_; }
    TAboutBox* AboutBox() const { return about_; }

private:
    QWidget& window_;
    QString manual_;
    AboutFacts facts_;
    QPointer<THelpWindow> help_;
    QPointer<TAboutBox> about_;
};

}  // namespace varno
