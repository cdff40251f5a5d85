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
    // `open` reads the chosen path. The menu is made when Paths change
    // (Fill); each showing only enables the items whose file exists.
    TRecentMenu(QMenu& menu, std::function<void(const std::string&)> open);

    std::vector<std::string> Paths;

    // Makes the menu anew from Paths: call after changing them.
    void Fill();

private:
    void enableExisting();

    QMenu& menu_;
    std::function<void(const std::string&)> open_;
};

}  // namespace varno
