#pragma once
// The window of the user manual (Help > Contents): its pages with Back,
// Forward and Contents, the page's title in the window's title. Esc closes it.
#include <QMainWindow>

class QAction;

namespace varno {

class TManualBrowser;

class THelpWindow : public QMainWindow {
    Q_OBJECT
public:
    // `manualFolder` holds the manual's pages, `index.md` its contents.
    THelpWindow(const QString& manualFolder, const QString& programName, QWidget* parent = nullptr);

    // Shows a page of the manual (a file name in its folder, with "#section"
    // if wanted); the contents page when empty. A page that is missing shows
    // where it was looked for.
    void ShowPage(const QString& page = {});

    TManualBrowser* Browser = nullptr;
    QAction* actBack = nullptr;
    QAction* actForward = nullptr;
    QAction* actContents = nullptr;

private:
    void showTitle();

    QString folder_;
    QString program_;
};

}  // namespace varno
