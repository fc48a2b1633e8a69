// The game clock: one call of MonthlyTick per event of the main timer, and the market
// movements that come with the months.

#include <cassert>

#include "engine/Game.h"

void TGame::SurveyMarket() {
    if (!marketSurveyed_) {
        surveyedOwned_ = TMarketHistory::Survey(Properties, surveyedAverages_);
        marketSurveyed_ = true;
    }
#ifndef NDEBUG
    std::array<Money, kAreaCount> averages;
    const Money owned = TMarketHistory::Survey(Properties, averages);
    assert(averages == surveyedAverages_ && owned == surveyedOwned_ &&
           "a price or an ownership changed without MarketMoved");
#endif
}

void TGame::MonthlyTick() {
    const TMoveScope move(*this);
    if (!Running) {
        IdleTick();
        return;
    }
    // One look at the properties serves the whole month: the net worth shown and recorded
    // here and the stage check of the monthly duties, which nothing in between can change.
    SurveyMarket();
    TMarketHistory::TMonth& closing = History.CloseMonth(Year, Month, surveyedAverages_);
    const Money portfolio = Engaged ? surveyedOwned_ : Money();
    closing.NetWorth = portfolio + Cash - Debt;
    Emit(TGameEventKind::NetWorth).Amount = closing.NetWorth;

    if (Month < 12) {
        ++Month;
    } else {
        ++Year;
        if (Year >= 2010) {
            EndGame();
            return;
        }
        Month = 1;
    }
    TGameEvent& date = Emit(TGameEventKind::DateChanged);
    date.Number = Month;
    date.Year = Year;

    MonthlyDuties(portfolio);
    // A player who declines to crash the market ends the game inside the duties, which takes
    // this step off the agenda with the rest of the game.
    Then(TStep::MonthGoesOn);
}

void TGame::MonthGoesOn() {
    ++MonthsPlayed;
    if (MonthsPlayed < kProgressMaximum) {
        Emit(TGameEventKind::Progress).Number = MonthsPlayed;
        if (MonthsPlayed == 1) {
            NewTickerText({"It is January ", std::to_string(Year), " - Welcome to the game! "});
        }
        if (Month == 12) YearlyTrend();
        if (MonthsPlayed % kMonthsBetweenHeadlines == 0) NewsEvent();
    }
    static const std::string clickToStart = "Click a property to buy it, and start the game!";
    if (!Engaged) Emit(TGameEventKind::StatusText).Text = clickToStart;
}

void TGame::IdleTick() {
    Emit(TGameEventKind::TickerText).Text = " Press PLAY to start ";
    Emit(TGameEventKind::TickerActive).Flag = true;
    Emit(TGameEventKind::PlayEnabled);
}

void TGame::MonthlyDuties() {
    MonthlyDuties(PortfolioValue());
}

void TGame::MonthlyDuties(Money portfolio) {
    const TMoveScope move(*this);
    // The crash countdown and the repayment leave the portfolio value of the stage check as
    // it was: the repayment moves only cash and debt, and the market recovers only at the
    // top stage, which the stage check leaves alone.
    if (Stage == 3) {
        ++CrashTicks;
        if (CrashTicks == 5) {
            RestoreMarket();
            Emit(TGameEventKind::ListsChanged);
            Redisplay();
        }
    }
    if (MonthlyRepaymentTotal > Money()) {
        // The repayment never takes more than is still owed: once the pooled debt is paid
        // off, a property still marked mortgaged costs nothing more each month.
        Money payment = MonthlyRepaymentTotal;
        if (Debt < payment) payment = Debt < Money() ? Money() : Debt;
        Debt -= payment;
        SpendCash(payment);
        Redisplay();
    }
    CheckStage(portfolio);
}

void TGame::YearlyTrend() {
    MarketTrend = Risen;
    if (Generator.Int(1, 5) == 5) MarketTrend = Fallen;
    if (Generator.Int(1, 5) == 4) MarketTrend = Steady;
    History.TrendDrawn(Year, CurrentArea, MarketTrend);
    if (MarketTrend == Steady) return;

    UpdateLowestPrice(CurrentArea);
    const Money lowest = Area(CurrentArea).LowestPrice;
    const int d = Generator.Int(0, 1);
    Money delta;
    if (MarketTrend == Risen)
        delta = Money::FromRaw(lowest.Raw() * d / 10).TruncatedToPounds();
    else
        delta = -Money::FromRaw(lowest.Raw() * d / 20).TruncatedToPounds();
    for (TProperty& p : Properties) {
        if (p.Area == CurrentArea) p.MovePrices(delta);
    }
    MarketMoved();
    RepriceSelection();
    Emit(TGameEventKind::AreaChanged);
    Redisplay();
}

void TGame::NewsEvent() {
    bool allShown = true;
    for (const TNewsItem& item : NewsItems) allShown = allShown && item.Shown;
    if (allShown)
        for (TNewsItem& item : NewsItems) item.Shown = false;

    int k = Generator.Int(1, kNewsCount);
    while (News(k).Shown) k = Generator.Int(1, kNewsCount);

    PlaySound(TSound::MeepMeep);
    News(k).Shown = true;
    NewTickerText({News(k).Headline, " "});

    if (PendingNews != 0) ApplyNews(PendingNews);
    PendingNews = k;
    History.HeadlineShown(k, Year, Month);
}

void TGame::ApplyNews(int item) {
    if (item < 1 || item > kNewsCount) return;
    const TNewsItem& news = News(item);

    auto moveArea = [this, &news](int a) {
        UpdateLowestPrice(a);
        Money delta = Area(a).LowestPrice.MulDiv(news.Magnitude, 10);
        if (news.Kind == Slump) delta = -delta;
        for (TProperty& p : Properties) {
            if (p.Area == a) p.MovePrices(delta);
        }
        MarketMoved();
    };

    switch (news.Kind) {
        case NoEffect:
            return;
        case Windfall:
            AddCash(Money::Pounds(news.Target));
            Redisplay();
            return;
        case Boom:
        case Slump:
            if (news.Target == 0) {
                // Each area moves by its own amount, which no other area's move changes:
                // all six lowest prices and moves are made in one pass each.
                UpdateLowestPrices();
                std::array<Money, kAreaCount> deltas;
                for (std::size_t a = 0; a < kAreaCount; ++a) {
                    deltas[a] = Areas[a].LowestPrice.MulDiv(news.Magnitude, 10);
                    if (news.Kind == Slump) deltas[a] = -deltas[a];
                }
                for (TProperty& p : Properties)
                    if (p.Area >= 1 && p.Area <= kAreaCount)
                        p.MovePrices(deltas[static_cast<std::size_t>(p.Area - 1)]);
                MarketMoved();
                RepriceSelection();
                Emit(TGameEventKind::ListsChanged);
                Redisplay();
            } else if (news.Target >= 1 && news.Target <= kAreaCount) {
                moveArea(news.Target);
                RepriceSelection();
                // The portfolio lists owned properties of every area: its rows show the new
                // prices too.
                bool ownsThere = false;
                for (const TProperty& p : Properties)
                    ownsThere = ownsThere || (p.Area == news.Target && p.Has(Owned));
                if (news.Target == CurrentArea || ownsThere) Emit(TGameEventKind::ListsChanged);
                Redisplay();
            }
            return;
        default:
            return;
    }
}

void TGame::CrashMarket() {
    if (!Engaged) return;
    for (TProperty& p : Properties) {
        if (p.Has(Owned) || p.Has(Mortgaged) || p.SaleValue <= Money()) continue;
        p.BuyPrice = p.BuyPrice.MulDiv(1, 2);
        p.SaleValue = p.SaleValue.MulDiv(1, 2);
        p.Flags |= Halved;
    }
    MarketMoved();
    UpdateLowestPrices();
    RepriceSelection();
    History.EventHappened(TMarketHistory::TEventKind::Crash, Year, Month);
}

void TGame::RestoreMarket() {
    if (!Engaged) return;
    for (TProperty& p : Properties) {
        if (!p.Has(Halved)) continue;
        p.BuyPrice = p.BuyPrice.MulDiv(2, 1);
        p.SaleValue = p.SaleValue.MulDiv(2, 1);
        p.Flags &= static_cast<std::uint16_t>(~Halved);
    }
    MarketMoved();
    UpdateLowestPrices();
    RepriceSelection();
    History.EventHappened(TMarketHistory::TEventKind::Restore, Year, Month);
}
