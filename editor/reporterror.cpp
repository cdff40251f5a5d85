#include "editor/reporterror.h"

#include <exception>

#include "editor/dialogs.h"
#include "editor/widgets/textconv.h"
#include "scenario/scnerror.h"

namespace varno {

bool ReportErrors(Dialogs& dialogs, QWidget* parent, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const ScnError& e) {
        dialogs.ShowError(parent, MessageText(e.message()));
    } catch (const std::exception& e) {
        dialogs.ShowError(parent, MessageText(e.what()));
    } catch (...) {
        dialogs.ShowError(parent, QStringLiteral("Unknown error"));
    }
    return false;
}

}  // namespace varno
