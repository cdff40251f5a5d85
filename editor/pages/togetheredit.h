#pragma once
// A page's edit of several selected records of one kind together: the
// fields show what the records share (TMixedFields blanks the rest), and a
// store writes only the fields the user changed into every selected record,
// as one step of its own named after it ("Edit 3 placements").
#include <QString>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "editor/document/scndocument.h"
#include "editor/pages/mixedfields.h"
#include "editor/pages/pagecontext.h"
#include "scenario/manyedit.h"
#include "scenario/sharedfields.h"

namespace varno {

template <class R> class TogetherEdit {
public:
    using Fields = std::remove_cvref_t<decltype(FieldsOf(std::declval<const R&>()))>;

    // With several records of the kind selected, shows what they share
    // through `show` and blanks where they differ; true then. Otherwise the
    // fields are plain again and false.
    bool Show(const PageContext& ctx, TMixedFields& mixed, const std::function<void(const Shared<Fields>&)>& show) {
        const RecordSet<R>& set = ctx.sel().template Of<R>();
        if (set.Count() <= 1) {
            Forget(mixed);
            return false;
        }
        mixed.Clear();
        shown_ = ShareFields(set.Records());
        show(*shown_);
        mixed.Blank(shown_->Mixed | shown_->Absent, shown_->MixedFlags);
        return true;
    }
    // One record (or none) shown from now on.
    void Forget(TMixedFields& mixed) {
        shown_.reset();
        mixed.Clear();
    }
    // While several are shown: stores what the user changed (`values`, the
    // page's fields) into each selected record; true then, also when nothing
    // changed. False when the page edits one record.
    bool Store(const PageContext& ctx, const TMixedFields& mixed, const Fields& values) {
        const RecordSet<R>& set = ctx.sel().template Of<R>();
        if (!shown_ || set.Count() <= 1) return false;
        Shared<Fields> page = *shown_;
        page.Values = values;
        page.Mixed = mixed.StillBlank();
        page.MixedFlags = mixed.StillMixedFlags();
        const FieldChanges changes = ChangesOf(*shown_, page);
        if (changes.empty()) return true;
        ctx.doc.Commit();  // what came before is a step of its own
        const std::size_t n = StoreTogether(ctx.scn(), set.Records(), page, changes, ctx.lines, ctx.step());
        const R* none = nullptr;
        ctx.doc.Commit(QString::fromStdString(CountedName("Edit", n, RecordNoun(none, false), RecordNoun(none, true))));
        return true;
    }

private:
    std::optional<Shared<Fields>> shown_;
};

}  // namespace varno
