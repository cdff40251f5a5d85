#include "editor/windows/recoveryoffer.h"

#include <QStringList>
#include <algorithm>
#include <ctime>
#include <exception>

#include "editor/dialogs.h"
#include "editor/document/recoveryhost.h"
#include "editor/document/recoverykeeper.h"
#include "editor/widgets/textconv.h"
#include "scenario/filenames.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

enum Choice { kRecover, kDiscard, kLater };

QString Question(const RecoveryEntry& e) {
    const std::string& path = e.Note.ScenarioPath;
    const QString name = PathText(path.substr(DirPart(path).size()));
    const QString when = QString::fromStdString(LocalTimeText(e.Note.Time));
    QString text =
        e.Note.Step.empty()
            ? QStringLiteral("Varno did not close normally. Recover the unsaved changes to %1 from %2?").arg(name, when)
            : QStringLiteral("Varno did not close normally. Recover the unsaved changes to %1 from %2 (%3)?")
                  .arg(name, when, QString::fromStdString(e.Note.Step));
    if (e.State == RecoveryState::Changed)
        text += QStringLiteral("\n\n%1 was changed by another program since. Recover opens the copy as a new "
                               "unsaved document of that name; its Save asks before it replaces the file.")
                    .arg(name);
    return text;
}

QString ErrorText(const std::exception& e) {
    if (const auto* scn = dynamic_cast<const ScnError*>(&e)) return MessageText(scn->message());
    return MessageText(e.what());
}

}  // namespace

void OfferRecovery(TRecoveryKeeper& keeper, RecoveryHost& host, Dialogs& dialogs, QWidget* window) {
    const RecoveryFolder& folder = keeper.Folder();
    std::vector<RecoveryEntry> entries;
    try {
        folder.Tidy(std::time(nullptr));
        entries = folder.List();
    } catch (const std::exception& e) {
        host.RecoveryStatus(QStringLiteral("Recovery copies not read: %1").arg(ErrorText(e)));
        return;
    }
    const QStringList buttons{QStringLiteral("&Recover"), QStringLiteral("&Discard"), QStringLiteral("&Later")};
    auto offered = [](const RecoveryEntry& e) {
        return e.State == RecoveryState::Recoverable || e.State == RecoveryState::Changed;
    };
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const RecoveryEntry& listed = *it;
        if (!offered(listed)) continue;
        try {
            std::optional<RecoveryClaim> claim = RecoveryClaim::Take(folder.Path(), listed.Id);
            if (!claim) continue;  // another Varno took it meanwhile
            const RecoveryEntry entry = folder.Find(listed.Id, &*claim);
            if (!offered(entry)) continue;
            switch (dialogs.AskChoice(window, Question(entry), buttons)) {
            case kRecover:
                host.RecoverCopy(entry.Note, folder.ReadCopy(entry), entry.State == RecoveryState::Changed);
                keeper.Adopt(std::move(*claim), folder.CopyNumber(entry));
                if (const auto more = std::count_if(it + 1, entries.end(), offered); more > 0)
                    host.RecoveryStatus(QStringLiteral("%1 more recovery copies wait for the next start").arg(more));
                return;
            case kDiscard: folder.Discard(*claim); break;
            default: break;  // Later: let go, the files stay
            }
        } catch (const std::exception& e) {
            dialogs.ShowError(window, ErrorText(e));
        }
    }
}

}  // namespace varno
