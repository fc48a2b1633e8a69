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
    const TMoveScope move(*this);
    PlaySound(TSound::Click);
    // The chooser opens on the property's area as it now is.
    auto openChooser = [this](TDamRenMode mode) {
        DamRenMode = mode;
        PausePlay();
        if (!Selection.empty()) UpdateLowestPrice(Property(Selection.front()).Area);
        Ask({TQuestionKind::Chooser, {}, {}, {}});
    };
    if (SelectionSide == TSelectionSide::ForSale) {
        const int selected = SelectedRows(TList::Avail);
        if (selected == 0) {
            Inform("Click a property in the left-hand list, first!");
        } else if (selected == 1) {
            openChooser(TDamRenMode::Damage);
            Then(TStep::DamageChosen);
        } else {
            Inform("Sorry, you can only damage one property at a time!");
        }
    } else if (SelectionSide == TSelectionSide::Portfolio) {
        const int selected = SelectedRows(TList::Portfolio);
        if (selected == 0) {
            Inform("Click a property in the right-hand list, first!");
        } else if (selected == 1) {
            // The chooser records the item as done; a renovation the cash does not cover
            // leaves it to be chosen again.
            const std::uint16_t done =
                Selection.empty() ? 0 : Property(Selection.front()).DoneImprovements;
            openChooser(TDamRenMode::Renovate);
            Then(TStep::RenovateChosen, done);
        } else {
            Inform("Sorry, you can only renovate one property at a time!");
        }
    }
    Then(TStep::DamRenDone);
}

void TGame::Damage() {
    const TMoveScope move(*this);
    if (Selection.empty()) return;
    // The fine is paid in full before the damage's credit arrives.
    if (Property(Selection.front()).DamageCount >= kVandalismThreshold) {
        Ask({TQuestionKind::Police,
             {},
             "You have been caught vandalising this house.\r"
             "The fine for this offence is \u00A3200,000",
             {}});
        Then(TStep::DamageFined);
        return;
    }
    DamageWithoutFine();
}

void TGame::DamageWithoutFine() {
    if (Selection.empty()) return;
    TProperty& p = Property(Selection.front());
    const Money amount = DamRenAmount;
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
    const TMoveScope move(*this);
    if (Selection.empty()) return false;
    TProperty& p = Property(Selection.front());
    const Money amount = DamRenAmount;
    // A choice, like a purchase: only what the cash covers, and nothing while it is below zero.
    if (!CanAfford(amount)) {
        Inform("You can't afford it!");
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
