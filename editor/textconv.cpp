#include "editor/textconv.h"

#include "scenario/messagetext.h"

namespace varno {

QString MessageText(std::string_view bytes) {
    // The core's one rule for messages: UTF-8 where the bytes are, Latin-1
    // elsewhere, control characters (a NUL of a file's line too) as their
    // visible pictures.
    return QString::fromStdString(DisplayMessage(bytes));
}

}  // namespace varno
