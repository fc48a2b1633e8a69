// Buying and selling: the market counter of the game.

#include "engine/Game.h"

void TGame::BuyOrSell() {
    const TMoveScope move(*this);
    PlaySound(TSound::Click);
    if (SelectionSide == TSelectionSide::None)
        Inform("Click a property in one of the lists, first!");
    else if (SelectionSide == TSelectionSide::ForSale)
        Buy();
    else
        Sell();
    Then(TStep::TradeDone);
}

void TGame::FinishTrade() {
    ClearListSelections();
    SelectionSide = TSelectionSide::None;
    Redisplay();
}

void TGame::Buy() {
    const TMoveScope move(*this);
    // A block is bought whole or not at all, at the prices the list shows now.
    RepriceSelection();
    const Money total = BuyTotal;
    if (total == Money()) return;
    if (!CanAfford(total)) {
        Inform("You can't afford it!");
        return;
    }
    for (int p : Selection) Property(p).Flags |= Owned;
    MarketMoved();
    SpendCash(total);
    Emit(TGameEventKind::ListsChanged);
    Redisplay();
}

void TGame::Sell() {
    const TMoveScope move(*this);
    RepriceSelection();
    if (SellTotal == Money()) return;

    for (int p : Selection) {
        if (Property(p).Has(Mortgaged)) {
            Inform(Selection.size() == 1
                       ? "Sorry, this property is mortgaged and cannot be sold.\n\r"
                         "You must redeem the outstanding mortgage before selling."
                       : "Sorry, at least one of these properties is mortgaged and cannot be "
                         "sold.\n\rYou must redeem any outstanding mortgages before selling.");
            Then(TStep::SellRefused);
            return;
        }
    }
    SellFrom(0);
}

// The police look at the selection's properties from `index` on: each sold too often is fined
// in its own window, in full, before any proceeds. Then the whole selection is sold at the
// sale values of now.
void TGame::SellFrom(std::size_t index) {
    for (std::size_t i = index; i < Selection.size(); ++i) {
        const TProperty& property = Property(Selection[i]);
        if (property.Has(Owned) && property.SoldCount >= kSuspicionThreshold) {
            Ask({TQuestionKind::Police,
                 {},
                 "You have sold " + property.Name + " too many times.\r" +
                     "I am suspicious, so I will fine you \u00A3100,000",
                 {}});
            Then(TStep::SellFined, static_cast<int>(i));
            return;
        }
    }

    // Only what the player owns is sold and paid for: each property once, however often the
    // selection names it.
    Money proceeds;
    for (int p : Selection) {
        TProperty& property = Property(p);
        if (!property.Has(Owned)) continue;
        ++property.SoldCount;
        property.Flags &= static_cast<std::uint16_t>(~Owned);
        proceeds += property.SaleValue;
    }
    MarketMoved();
    AddCash(proceeds);
    Emit(TGameEventKind::ListsChanged);
    Redisplay();
}
