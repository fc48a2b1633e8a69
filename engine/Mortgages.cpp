// Mortgages: cash now against the property's sale value, paid back month by month.
// The debt is one pool for all mortgaged properties.

#include <algorithm>

#include "engine/Game.h"

void TGame::MortgageOrRedeem() {
    const TMoveScope move(*this);
    PlaySound(TSound::Click);
    const int selected = SelectedRows(TList::Portfolio);
    if (selected == 0) Inform("Click a property in one of the lists, first!");
    if (selected > 1) Inform("Sorry, only one property at a time");
    Then(TStep::MortgageChosen);
}

// Mortgaging leaves the mode at None or, when refused, at CanMortgage: never a redemption next.
void TGame::MortgageOrRedeemChosen() {
    if (MortgageMode == TMortgageMode::CanMortgage)
        Mortgage();
    else if (MortgageMode == TMortgageMode::CanRedeem)
        Redeem();
    Then(TStep::MortgageDone);
}

void TGame::Mortgage() {
    const TMoveScope move(*this);
    if (SellTotal == Money() || Selection.empty()) return;
    if (SelectedRows(TList::Portfolio) >= 2) {
        Inform("Sorry, you can only Mortgage one property at a time");
        return;
    }
    const int p = Selection.front();
    TProperty& property = Property(p);
    // Only an owned, unmortgaged property can carry a new mortgage; anything else would
    // count its repayment twice.
    if (!property.Has(Owned) || property.Has(Mortgaged)) return;
    property.Flags |= Mortgaged;
    Debt += property.SaleValue;
    AddCash(property.SaleValue);
    property.MonthlyRepayment = Instalment(p);
    MonthlyRepaymentTotal += property.MonthlyRepayment;
    Emit(TGameEventKind::ListsChanged);
    MortgageMode = TMortgageMode::None;
    Redisplay();
}

void TGame::Redeem() {
    const TMoveScope move(*this);
    if (SellTotal == Money() || Selection.empty()) return;
    if (SelectedRows(TList::Portfolio) >= 2) {
        Inform("Sorry, you can only redeem one Mortgage at a time");
        return;
    }
    TProperty& property = Property(Selection.back());
    if (!property.Has(Mortgaged)) return;
    property.Flags &= static_cast<std::uint16_t>(~Mortgaged);
    PayDebt(property.SaleValue);
    MonthlyRepaymentTotal -= property.MonthlyRepayment;
    property.MonthlyRepayment = Money();
    Emit(TGameEventKind::ListsChanged);
    MortgageMode = TMortgageMode::None;
    Redisplay();
}

void TGame::PayDebt(Money amount) {
    // A redemption pays back the sale value, but never more than the pooled debt. It is paid
    // in full even when the cash falls below zero: stopping at zero would hand the player the
    // shortfall, and redeeming would raise the net worth.
    const Money paid = std::min(amount, Debt);
    Debt -= paid;
    AddCash(-paid);
}

void TGame::RedeemAllMortgages() {
    PausePlay();
    NewTickerText({"Redeeming Mortgages.. "});
    for (TProperty& property : Properties) {
        if (!property.Has(Mortgaged)) continue;
        property.Flags &= static_cast<std::uint16_t>(~Mortgaged);
        PayDebt(property.SaleValue);
        MonthlyRepaymentTotal -= property.MonthlyRepayment;
        property.MonthlyRepayment = Money();
    }
    PayDebt(Debt);  // what is still owed after values fell, all of it
    ResumePlay();
    Emit(TGameEventKind::AreaChanged);
    MortgageMode = TMortgageMode::None;
    Redisplay();
}
