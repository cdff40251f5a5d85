// The main window's settings: the paths and the windows' places in VARNO.INI.
#include <QSplitter>
#include <algorithm>

#include "editor/inifile.h"
#include "editor/oobform.h"
#include "editor/windowplaces.h"
#include "mapview/mapform.h"

namespace varno {

void TfrmEdit::readSettings() {
    const IniFile ini(SettingsFilePath());
    // Paths are the file system's bytes, kept as they are in the file.
    scn_->OobPath =
        ini.ReadBytes(QStringLiteral("Paths"), QStringLiteral("OOBfile"), "C:\\KLV\\MAIN.OOB").toStdString();
    setScenarioPath(ini.ReadBytes(QStringLiteral("Paths"), QStringLiteral("SCNfile"), ".SCN").toStdString());
    const WindowPlaces places = WindowPlaces::Read(ini);
    // The border between the column and the notebook: a section of our own.
    if (const int column = places.OobWidth; column > 0) {
        const QList<int> sizes = splitter_->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total > 0) splitter_->setSizes({column, std::max(0, total - column)});
    }
    // A negative value keeps the designed place; a position the window system
    // refuses is its own business.
    if (const int top = places.EditTop; top >= 0) move(x(), top);
    if (const int left = places.EditLeft; left >= 0) move(left, y());
    if (frmMap) {
        frmMap->Placed = places.MapTop >= 0 || places.MapLeft >= 0;
        if (const int top = places.MapTop; top >= 0) frmMap->move(frmMap->x(), top);
        if (const int left = places.MapLeft; left >= 0) frmMap->move(left, frmMap->y());
        if (const int ht = places.MapHt; ht >= 0) frmMap->resize(frmMap->width(), ht);
        if (const int wid = places.MapWid; wid >= 0) frmMap->resize(wid, frmMap->height());
    }
}

void TfrmEdit::writeSettings() {
    IniFile ini(SettingsFilePath());
    const QString paths = QStringLiteral("Paths");
    ini.WriteBytes(paths, QStringLiteral("OOBfile"), QByteArray::fromStdString(scn_->OobPath));
    ini.WriteBytes(paths, QStringLiteral("SCNfile"), QByteArray::fromStdString(scenarioPathBytes()));
    WindowPlaces places;
    places.EditTop = y();
    places.EditLeft = x();
    if (frmMap) {
        // A map window never placed keeps no place: it goes beside the main window.
        if (frmMap->Placed) {
            places.MapTop = frmMap->y();
            places.MapLeft = frmMap->x();
        }
        places.MapHt = frmMap->height();
        places.MapWid = frmMap->width();
    }
    places.OobWidth = splitter_->sizes().value(0, -1);
    places.Write(ini);
    ini.UpdateFile();
}

}  // namespace varno
