// Quillet, the map checksum generator. It takes no arguments.
#include <QApplication>

#include "mapsum/app/prompter.h"
#include "mapsum/app/quillet_run.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quillet::QtPrompter prompter;
    // A status of -1 reaches the shell as 255.
    return quillet::run_quillet(prompter);
}
