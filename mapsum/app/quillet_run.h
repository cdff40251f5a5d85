// The main sequence of Quillet: notice, dialog, checksum, optional conversion.
#pragma once

#include <QString>

namespace quillet {

class Prompter;

inline const QString kProgramTitle = QStringLiteral("Quillet v0.9");
inline const QString kErrorTitle = QStringLiteral("ERROR");

// The text of the start-up notice.
QString notice_text();

// The text of Help > About Quillet: version, licence, where the demo game is
// (Quillet keeps no settings), and the Qt it runs on.
QString about_text();

// Runs Quillet once and returns its exit status: 0, or -1 when the map file
// cannot be opened or the converted file cannot be created.
int run_quillet(Prompter& prompter);

}  // namespace quillet
