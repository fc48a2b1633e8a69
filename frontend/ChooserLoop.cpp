#include "frontend/ChooserLoop.h"

#include "windows/TDamRenForm.h"

bool RunChooser(TDamRenForm& chooser, IChooserFace& face) {
    face.Show(chooser);
    while (!chooser.Closed()) {
        for (const TChooserMove& move : face.Moves(chooser)) {
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
