#include "scenario/editstep.h"

#include "scenario/scenario.h"

namespace varno {

ScnCursors ScnCursors::Of(const Scenario& scn) {
    return {scn.CurOob, scn.CurSetup, scn.CurRelease, scn.CurReinf, scn.CurCommand};
}

void ScnCursors::PutInto(Scenario& scn) const {
    scn.CurOob = Oob;
    scn.CurSetup = Setup;
    scn.CurRelease = Release;
    scn.CurReinf = Reinf;
    scn.CurCommand = Command;
}

void EditStep::begin(const Scenario& scn) {
    if (begun_) return;
    begun_ = true;
    before_ = after_ = ScnCursors::Of(scn);
}

void EditStep::end(const Scenario& scn) {
    if (begun_) after_ = ScnCursors::Of(scn);
}

}  // namespace varno
