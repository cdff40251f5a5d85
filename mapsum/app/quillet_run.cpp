#include "mapsum/app/quillet_run.h"

#include <QFile>
#include <filesystem>
#include <fstream>

#include "mapsum/app/main_dialog.h"
#include "mapsum/app/prompter.h"
#include "mapsum/core/map_checksum.h"
#include "mapsum/core/map_platform.h"

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
