// Quillet, the map checksum generator. It takes no arguments beyond --help
// and --version.
#include <QApplication>
#include <iostream>

#include "mapsum/app/prompter.h"
#include "mapsum/app/quillet_run.h"
#include "mapsum/core/start_options.h"

namespace {

const char* const kHelp = "Usage: quillet [--help | --version]\n"
                          "Quillet, the map checksum tool of a two-sided hex-map war game: asks for a map\n"
                          "file (main.map in the working folder, found in any case), checks it, shows its\n"
                          "checksum and can write a converted copy that carries it. For scripts: quillet-cli.\n"
                          "More: man quillet\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before the window system starts: no display needed.
    if (const std::optional<int> status =
            quillet::answer_start_options(argc, argv, "quillet " QUILLET_VERSION, kHelp, std::cout))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
    quillet::QtPrompter prompter;
    // A status of -1 reaches the shell as 255.
    return quillet::run_quillet(prompter);
}
