#include "mapsum/app/quillet_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <fstream>

#include "mapsum/app/main_dialog.h"
#include "mapsum/app/prompter.h"
#include "mapsum/core/map_checksum.h"
#include "mapsum/core/map_platform.h"

#ifndef QUILLET_DEMO_FROM_BIN
#define QUILLET_DEMO_FROM_BIN "../share/varno/demo"
#endif
#ifndef QUILLET_DOC_FROM_BIN
#define QUILLET_DOC_FROM_BIN "../share/doc/varno"
#endif

namespace quillet {

namespace {

// The file system's bytes (POSIX); UTF-8 for Windows' UTF-16 names.
std::filesystem::path to_path(const QString& name) {
#ifdef Q_OS_WIN
    return platform::path_from_text(name.toUtf8().toStdString());
#else
    return platform::path_from_text(QFile::encodeName(name).toStdString());
#endif
}

void show_error(Prompter& prompter, const std::string& message) {
    prompter.show_message(nullptr, kErrorTitle, QString::fromLatin1(message.c_str()), Prompter::Icon::warning);
}

}  // namespace

QString notice_text() {
    return QStringLiteral("Quillet v0.9, the map checksum generator.\n\n"
                          "It checks the sections of a map file, shows the map's checksum and can "
                          "write a converted copy that carries the checksum in its header.");
}

QString about_text() {
    const QString bin = QCoreApplication::applicationDirPath();
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = QDir::homePath() + QStringLiteral("/.local/share");
    QString text =
        QStringLiteral("Quillet %1, the map checksum tool of Varno.\n\n").arg(QCoreApplication::applicationVersion());
    text += QStringLiteral("Free software under the MIT licence");
    const QString licence = QDir::cleanPath(bin + QStringLiteral("/" QUILLET_DOC_FROM_BIN "/copyright"));
    text += QFileInfo::exists(licence) ? QStringLiteral(": %1.\n").arg(QDir::toNativeSeparators(licence))
                                       : QStringLiteral(".\n");
    text += QStringLiteral("Quillet keeps no settings file.\n");
    text += QStringLiteral("Your demo game (copied by Varno's first start): %1\n")
                .arg(QDir::toNativeSeparators(data + QStringLiteral("/varno/demo")));
    const QString installed = QDir::cleanPath(bin + QStringLiteral("/" QUILLET_DEMO_FROM_BIN));
    if (QFileInfo::exists(installed))
        text += QStringLiteral("The demo game as installed: %1\n").arg(QDir::toNativeSeparators(installed));
    text += QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()));
    return text;
}

int run_quillet(Prompter& prompter) {
    prompter.show_message(nullptr, kProgramTitle, notice_text(), Prompter::Icon::none);

    MainDialog dialog(prompter);
    if (dialog.exec() != 1) return 0;
    const std::filesystem::path input = resolve_map_name(to_path(dialog.input_name()));
    const std::filesystem::path output = to_path(dialog.output_name());

    ChecksumResult sum;
    {
        std::ifstream in;
        if (const std::string problem = map_file_problem(input); !problem.empty()) {
            show_error(prompter, problem);
            return -1;
        }
        if (!open_map_file(input, in)) {
            show_error(prompter, kCantOpenMap);
            return -1;
        }
        sum = compute_map_checksum(in);
    }
    if (!sum.ok) {
        show_error(prompter, sum.message);
        return 0;
    }
    prompter.show_message(nullptr, kProgramTitle, QString::asprintf("Checksum: %ld", static_cast<long>(sum.checksum)),
                          Prompter::Icon::information);
    if (!dialog.convert_wanted()) return 0;

    const ConvertOutcome converted = convert_map_path(input, output, sum.checksum);
    switch (converted.status) {
    case ConvertStatus::done:
        prompter.show_message(nullptr, kProgramTitle, QStringLiteral("Conversion complete!"),
                              Prompter::Icon::information);
        return 0;
    case ConvertStatus::failed: show_error(prompter, converted.message); return 0;
    case ConvertStatus::cant_open_input:
    case ConvertStatus::cant_create_output: break;
    }
    show_error(prompter, converted.message);
    return -1;
}

}  // namespace quillet
