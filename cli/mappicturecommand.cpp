#include "cli/mappicturecommand.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <ostream>

#include "cli/clicommands.h"
#include "cli/termtext.h"
#include "mapview/mapscene.h"
#include "mapview/overlaygeom.h"
#include "mapview/zoomgeom.h"
#include "scenario/scenario.h"
#include "scenario/scnclock.h"
#include "scenario/scnerror.h"

namespace varno {

int RunMapPicture(const std::string& typed, const std::string& outPath, const MapPictureOptions& options,
                  std::ostream& out, std::ostream& err) {
    const auto time = ParseClockText(options.Time);
    if (!time) {
        err << "varno-cli: --time: not a time of the calendar: '" << TerminalMessage(options.Time)
            << "' (\"1863-07-02 10:00\", \"1863-07-02\" or \"start\")\n";
        return kExitUsage;
    }
    if (std::find(std::begin(kZoomSteps), std::end(kZoomSteps), options.Zoom) == std::end(kZoomSteps)) {
        err << "varno-cli: --zoom: " << options.Zoom << " is not a zoom step (25, 50, 100, 200 or 400)\n";
        return kExitUsage;
    }
    const auto overlays = ParseOverlayList(options.Overlays);
    if (!overlays) {
        err << "varno-cli: --overlays: '" << TerminalMessage(options.Overlays)
            << "' names none of arrivals, orders, releases (or all, none)\n";
        return kExitUsage;
    }

    // The name first: nothing is read for a picture that cannot be written.
    try {
        MapScene::CheckOutput(outPath);
    } catch (const ScnError& e) {
        err << TerminalMessage(e.message()) << '\n';
        return kExitError;
    }

    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    // Qt's own notes (a missing runtime folder, fonts) are not for the user of a command line.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
    });
    // Qt draws without a display on its offscreen platform.
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "varno-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    try {
        const MapScene scene(scn, *time, *overlays);
        scene.Write(outPath, options.Zoom);
        const QSize size = scene.Size(options.Zoom);
        out << "Wrote " << TerminalMessage(outPath) << ": " << size.width() << " x " << size.height() << " pixels at "
            << options.Zoom << " %, " << ClockText(*time) << '\n';
    } catch (const ScnError& e) {
        err << TerminalMessage(e.message()) << '\n';
        return kExitError;
    }
    return kExitOk;
}

}  // namespace varno
