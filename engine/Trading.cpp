// Buying and selling: the market counter of the game.

#include "engine/Game.h"

void TGame::BuyOrSell() {
    PlaySound(TSound::Click);
    if (SelectionSide == TSelectionSide::None)
        window_.ShowInformation("Click a property in one of the lists, first!");
    if (SelectionSide == TSelectionSide::ForSale) Buy();
    if (SelectionSide == TSelectionSide::Portfolio) Sell();
    ClearListSelections();
    SelectionSide = TSelectionSide::None;
    Redisplay();
}

void TGame::Buy() {
    // A block is bought whole or not at all, at the prices the list shows now.
    RepriceSelection();
    const std::vector<int> selection = Selection;
    const Money total = BuyTotal;
    if (total == Money()) return;
    if (!CanAfford(total)) {
        window_.ShowInformation("You can't afford it!");
        return;
    }
    for (int p : selection) Property(p).Flags |= Owned;
    MarketMoved();
    SpendCash(total);
    Emit(TGameEventKind::ListsChanged);
    Redisplay();
}

void TGame::Sell() {
    // Message boxes and police windows leave the clock running, so work on a copy of the
    // selection as it was when the command started.
    RepriceSelection();
    const std::vector<int> selection = Selection;
    if (SellTotal == Money()) return;

    const std::string refusal =
        selection.size() == 1
            ? "Sorry, this property is mortgaged and cannot be sold.\n\r"
              "You must redeem the outstanding mortgage before selling."
            : "Sorry, at least one of these properties is mortgaged and cannot be sold.\n\r"
              "You must redeem any outstanding mortgages before selling.";
    for (int p : selection) {
        if (Property(p).Has(Mortgaged)) {
            window_.ShowInformation(refusal);
            SelectionSide = TSelectionSide::None;
            MortgageMode = TMortgageMode::None;
            Redisplay();
            return;
        }
    }

    for (int p : selection) {
        const TProperty& property = Property(p);
        if (property.Has(Owned) && property.SoldCount >= kSuspicionThreshold) {
            window_.ShowPoliceMessage("You have sold " + property.Name + " too many times.\r" +
                                      "I am suspicious, so I will fine you \u00A3100,000");
            SpendCash(kSellingFine);
            Redisplay();
        }
    }

    // The fines are paid in full first; the proceeds follow at the sale values of now, as a
    // month may have passed while a police window was open.
    Money proceeds;
    for (int p : selection) {
        TProperty& property = Property(p);
        if (property.Has(Owned)) ++property.SoldCount;
        property.Flags &= static_cast<std::uint16_t>(~Owned);
        proceeds += property.SaleValue;
    }
    MarketMoved();
    AddCash(proceeds);
    Emit(TGameEventKind::ListsChanged);
    Redisplay();
}
