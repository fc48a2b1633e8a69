#include "frontend/ChooserLoop.h"

#include "windows/TDamRenForm.h"

std::string TakeChooserMove(TDamRenForm& chooser, const TChooserMove& move) {
    switch (move.What) {
        case TChooserMove::Kind::Pick:
            // An item already done is disabled: it is refused.
            if (!chooser.ItemEnabled(move.Item)) return "disabled: already done";
            chooser.optgroupClick(move.Item);
            break;
        case TChooserMove::Kind::Ok:
            chooser.cmd_CloseClick();
            if (!chooser.Closed()) return "OK is disabled";
            break;
        case TChooserMove::Kind::Cancel:
            chooser.cmd_CancelClick();
            break;
    }
    return {};
}

bool RunChooser(TDamRenForm& chooser, IChooserFace& face) {
    face.Show(chooser);
    while (!chooser.Closed()) {
        for (const TChooserMove& move : face.Moves(chooser)) {
            const std::string refusal = TakeChooserMove(chooser, move);
            if (refusal.empty()) continue;
            face.Refuse(refusal);
            // Nothing after a refused pick is done.
            if (move.What == TChooserMove::Kind::Pick) break;
        }
        if (!face.ProgramRunning()) break;
    }
    return chooser.ChoiceMade();
}
