// Damage and renovation: pushing one property's price down before buying it or up before
// selling it, with the police watching repeat vandals.

#include "engine/Game.h"

Money TGame::ImprovementAmount(int k, Money lowestPrice) {
    if (lowestPrice <= Money()) return Money();
    return lowestPrice.MulDiv(k * 10, 100);
}

std::uint16_t TGame::ImprovementBit(int k, TDamRenMode mode) {
    const int bit = mode == TDamRenMode::Damage ? k + 7 : k - 1;
    return static_cast<std::uint16_t>(1u << bit);
}

void TGame::DamageOrRenovate() {
    PlaySound(TSound::Click);
    if (SelectionSide == TSelectionSide::ForSale) {
        const int selected = SelectedRows(IGameWindow::List::Avail);
        if (selected == 0) {
            window_.ShowInformation("Click a property in the left-hand list, first!");
        } else if (selected == 1) {
            DamRenMode = TDamRenMode::Damage;
            PausePlay();
            if (window_.ShowDamRenChooser()) Damage();
            ResumePlay();
        } else {
            window_.ShowInformation("Sorry, you can only damage one property at a time!");
        }
    }
    if (SelectionSide == TSelectionSide::Portfolio) {
        const int selected = SelectedRows(IGameWindow::List::Portfolio);
        if (selected == 0) {
            window_.ShowInformation("Click a property in the right-hand list, first!");
        } else if (selected == 1) {
            DamRenMode = TDamRenMode::Renovate;
            PausePlay();
            // The chooser records the item as done; a renovation the cash does not cover
            // leaves it to be chosen again.
            const std::uint16_t done =
                Selection.empty() ? 0 : Property(Selection.front()).DoneImprovements;
            if (window_.ShowDamRenChooser() && !Renovate())
                Property(Selection.front()).DoneImprovements = done;
            ResumePlay();
        } else {
            window_.ShowInformation("Sorry, you can only renovate one property at a time!");
        }
    }
    ClearListSelections();
    SelectionSide = TSelectionSide::None;
    Redisplay();
}

void TGame::Damage() {
    if (Selection.empty()) return;
    TProperty& p = Property(Selection.front());
    const Money amount = DamRenAmount;
    // The fine is paid in full before the damage's credit arrives.
    if (p.DamageCount >= kVandalismThreshold) {
        window_.ShowPoliceMessage(
            "You have been caught vandalising this house.\r"
            "The fine for this offence is \u00A3200,000");
        SpendCash(kVandalismFine);
        Redisplay();
    }
    ++p.DamageCount;
    p.MovePrices(-amount);
    p.Flags |= Damaged;
    MarketMoved();
    AddCash(amount.TruncatedToPounds());
    RepriceSelection();
    Emit(TGameEventKind::ListsChanged);
    Redisplay();
}

bool TGame::Renovate() {
    if (Selection.empty()) return false;
    TProperty& p = Property(Selection.front());
    const Money amount = DamRenAmount;
    // A choice, like a purchase: only what the cash covers, and nothing while it is below zero.
    if (!CanAfford(amount)) {
        window_.ShowInformation("You can't afford it!");
        return false;
    }
    p.BuyPrice += amount;
    p.SaleValue += amount;
    p.Flags |= Renovated;
    MarketMoved();
    SpendCash(amount);
    RepriceSelection();
    Emit(TGameEventKind::ListsChanged);
    Redisplay();
    return true;
}

bool TGame::ChooseImprovement(int k) {
    DamRenAmount = Money();
    if (Selection.empty()) return false;
    TProperty& property = Property(Selection.front());
    const Money lowest = Area(property.Area).LowestPrice;
    if (lowest <= Money()) return true;
    DamRenAmount = ImprovementAmount(k, lowest);
    const std::uint16_t bit = ImprovementBit(k, DamRenMode);
    if (property.DoneImprovements & bit) return false;
    property.DoneImprovements |= bit;
    return true;
}
