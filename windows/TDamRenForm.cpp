#include "windows/TDamRenForm.h"

#include "engine/Game.h"
#include "ui/Effects.h"

void TDamRenForm::FormShow() {
    okEnabled_ = false;
    closed_ = false;
    choiceMade_ = false;
    itemIndex_ = 0;
    items_.clear();
    itemsDone_.clear();
    if (game_.State().Selection.empty()) return;

    const TProperty& property = game_.State().Property(game_.State().Selection.front());
    const std::uint16_t done = property.DoneImprovements;
    // The game brought the area's lowest price up to date when it opened the chooser.
    const Money lowest = game_.State().Area(property.Area).LowestPrice;

    const bool renovate = game_.State().DamRenMode == TDamRenMode::Renovate;
    caption_ = (renovate ? "Renovate " : "Damage ") + property.Name;
    for (int k = 1; k <= 8; ++k) {
        const std::string& name =
            game_.ImprovementNames[static_cast<std::size_t>(renovate ? k - 1 : k + 7)];
        itemsDone_.push_back((done & TGame::ImprovementBit(k, game_.State().DamRenMode)) != 0);
        if (itemsDone_.back()) {
            items_.push_back(name + " (Already Done)");
        } else {
            const std::string amount = FormatPounds(TGame::ImprovementAmount(k, lowest));
            items_.push_back(name + (renovate ? " (+" : " (-") + amount + ")");
        }
    }
}

bool TDamRenForm::ItemEnabled(int item) const {
    return item >= 1 && item <= static_cast<int>(items_.size()) &&
           !itemsDone_[static_cast<std::size_t>(item - 1)];
}

int TDamRenForm::NextEnabledItem(int item, int step) const {
    const int count = static_cast<int>(items_.size());
    if (count == 0) return 0;
    int index = item - 1;
    if (item == 0 && step < 0) index = 0;  // from before the first item, backwards: the last
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + step) % count + count) % count;
        if (ItemEnabled(index + 1)) return index + 1;
    }
    return 0;
}

void TDamRenForm::optgroupClick(int item) {
    if (!ItemEnabled(item)) return;
    itemIndex_ = item;
    okEnabled_ = true;
}

void TDamRenForm::cmd_CloseClick() {
    if (!okEnabled_ || itemIndex_ == 0 || game_.State().Selection.empty()) return;
    closed_ = true;
    // The pick closes the chooser's question; the game says whether it counted.
    choiceMade_ =
        game_.Apply(TMove::Numbered(TMoveKind::Pick, itemIndex_)) && game_.State().LastAnswer.Yes;
    if (!choiceMade_) effects_.ShowInformation("Sorry, you've already done that!", {});
}

void TDamRenForm::cmd_CancelClick() {
    game_.Apply(TMove::Answering(false));
    closed_ = true;
    choiceMade_ = false;
}
