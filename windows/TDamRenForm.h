#pragma once

#include <string>
#include <vector>

class TGame;
class IEffects;

// The damage/renovate chooser without its toolkit: the eight items built on every showing,
// OK enabled only after an item is clicked, and the checks of OK and Cancel.
class TDamRenForm {
public:
    TDamRenForm(TGame& game, IEffects& effects) : game_(game), effects_(effects) {}

    // The group's caption, "Damage/Renovate" until the chooser is first shown.
    const std::string& GroupCaption() const { return caption_; }
    const std::vector<std::string>& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }  // 0 none, else 1..8
    // An item already done to this property cannot be chosen (shown disabled).
    bool ItemEnabled(int item) const;
    // The next item that can be chosen `step` (1 or -1) from `item`, round the end of the
    // list (0 starts before the first item); 0 when none can. The arrow keys move by it.
    int NextEnabledItem(int item, int step) const;
    bool OkEnabled() const { return okEnabled_; }
    // The dialog has been closed by OK or Cancel; ChoiceMade says which.
    bool Closed() const { return closed_; }
    bool ChoiceMade() const { return choiceMade_; }

    void FormShow();
    void optgroupClick(int item);
    void cmd_CloseClick();
    void cmd_CancelClick();

private:
    TGame& game_;
    IEffects& effects_;
    std::string caption_ = "Damage/Renovate";
    std::vector<std::string> items_;
    std::vector<bool> itemsDone_;
    int itemIndex_ = 0;
    bool okEnabled_ = false;
    bool closed_ = false;
    bool choiceMade_ = false;
};
