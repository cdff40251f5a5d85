#pragma once
// The one place where an error raised by a handler becomes an error box:
// no exception crosses into the toolkit.
#include <functional>

class QWidget;

namespace varno {

class Dialogs;

// Runs `action`; an error it raises is shown in an error box over `parent`
// (a ScnError or any std::exception with its message, anything else as
// "Unknown error"). False when it raised.
bool ReportErrors(Dialogs& dialogs, QWidget* parent, const std::function<void()>& action);

}  // namespace varno
