#include "frontend/ChooserLoop.h"

#include "windows/TDamRenForm.h"

bool RunChooser(TDamRenForm& chooser, IChooserFace& face) {
    face.Show(chooser);
    while (!chooser.Closed()) {
        for (const TChooserMove& move : face.Moves(chooser)) {
            // An item already done is disabled: it is refused, and nothing after it is done.
            if (move.What == TChooserMove::Kind::Pick && !chooser.ItemEnabled(move.Item)) {
                face.Refuse("disabled: already done");
                break;
            }
            switch (move.What) {
                case TChooserMove::Kind::Pick:
                    chooser.optgroupClick(move.Item);
                    break;
                case TChooserMove::Kind::Ok:
                    chooser.cmd_CloseClick();
                    if (!chooser.Closed()) face.Refuse("OK is disabled");
                    break;
                case TChooserMove::Kind::Cancel:
                    chooser.cmd_CancelClick();
                    break;
            }
        }
        if (!face.ProgramRunning()) break;
    }
    return chooser.ChoiceMade();
}
