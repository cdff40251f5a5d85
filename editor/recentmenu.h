#pragma once
// File > Recent: the last scenarios read or saved, newest first; one whose
// file is gone is shown disabled.
#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace varno {

class TRecentMenu : public QObject {
    Q_OBJECT
public:
    // `open` reads the chosen path. The menu is made anew at each showing.
    TRecentMenu(QMenu& menu, std::function<void(const std::string&)> open);

    std::vector<std::string> Paths;

    // Fills the menu from Paths (what each showing does).
    void Fill();

private:
    QMenu& menu_;
    std::function<void(const std::string&)> open_;
};

}  // namespace varno
