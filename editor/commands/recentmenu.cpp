#include "editor/commands/recentmenu.h"

#include <QAction>
#include <QMenu>

#include "editor/widgets/textconv.h"
#include "scenario/filenames.h"

namespace varno {

TRecentMenu::TRecentMenu(QMenu& menu, std::function<void(const std::string&)> open)
    : QObject(&menu), menu_(menu), open_(std::move(open)) {
    connect(&menu_, &QMenu::aboutToShow, this, &TRecentMenu::enableExisting);
    Fill();
}

void TRecentMenu::Fill() {
    menu_.clear();
    int n = 0;
    for (const std::string& path : Paths) {
        ++n;
        // The text is for reading; the action keeps the path's bytes.
        QString text = PathText(path);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = menu_.addAction(QStringLiteral("&%1 %2").arg(n).arg(text));
        connect(a, &QAction::triggered, this, [this, path] { open_(path); });
    }
    if (Paths.empty()) menu_.addAction(QStringLiteral("(none)"))->setEnabled(false);
    enableExisting();
}

void TRecentMenu::enableExisting() {
    const QList<QAction*> actions = menu_.actions();
    for (std::size_t i = 0; i < Paths.size() && i < static_cast<std::size_t>(actions.size()); ++i)
        actions[static_cast<qsizetype>(i)]->setEnabled(FileExists(Paths[i]));
}

}  // namespace varno
