// The game clock: one call of MonthlyTick per event of the main timer, and the market
// movements that come with the months.

#include "engine/Game.h"

void TGame::MonthlyTick() {
    if (!Running) {
        IdleTick();
        return;
    }
    const std::uint64_t game = endCount_;
    window_.SetStatusText("Net Worth: " + FormatPounds(NetWorth()));
    History.CloseMonth(Year, Month, Properties, NetWorth());

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
    window_.ShowDate();

    MonthlyDuties();
    // A player who declines to crash the market ends the game inside the duties; the rest
    // of this tick belongs to a game that is over.
    if (endCount_ != game) return;

    ++MonthsPlayed;
    if (MonthsPlayed < kProgressMaximum) {
        window_.SetProgress(MonthsPlayed);
        if (MonthsPlayed == 1) {
            window_.TickerStop();
            window_.SetTickerText("It is January " + std::to_string(Year) +
                                  " - Welcome to the game! ");
            window_.SetTickerActive(true);
        }
        if (Month == 12) YearlyTrend();
        if (MonthsPlayed % 8 == 0) {
            NewsEvent();
            if (endCount_ != game) return;
        }
    }
    if (!Engaged) window_.SetStatusText("Click a property to buy it, and start the game!");
}

void TGame::IdleTick() {
    window_.SetTickerText(" Press PLAY to start ");
    window_.SetTickerActive(true);
    window_.EnablePlay();
}

void TGame::MonthlyDuties() {
    if (Stage == 3) {
        ++CrashTicks;
        if (CrashTicks == 5) {
            RestoreMarket();
            window_.RefillLists();
            window_.RefreshDisplay();
        }
    }
    if (MonthlyRepaymentTotal > Money()) {
        // The repayment never takes more than is still owed: once the pooled debt is paid
        // off, a property still marked mortgaged costs nothing more each month.
        Money payment = MonthlyRepaymentTotal;
        if (Debt < payment) payment = Debt < Money() ? Money() : Debt;
        Debt -= payment;
        SpendCash(payment);
        window_.RefreshDisplay();
    }
    CheckStage();
}

void TGame::YearlyTrend() {
    MarketTrend = Risen;
    if (random_.Int(1, 5) == 5) MarketTrend = Fallen;
    if (random_.Int(1, 5) == 4) MarketTrend = Steady;
    History.TrendDrawn(Year, CurrentArea, MarketTrend);
    if (MarketTrend == Steady) return;

    UpdateLowestPrice(CurrentArea);
    const Money lowest = Area(CurrentArea).LowestPrice;
    const int d = random_.Int(0, 1);
    Money delta;
    if (MarketTrend == Risen)
        delta = Money::FromRaw(lowest.Raw() * d / 10).TruncatedToPounds();
    else
        delta = -Money::FromRaw(lowest.Raw() * d / 20).TruncatedToPounds();
    for (TProperty& p : Properties) {
        if (p.Area == CurrentArea) p.MovePrices(delta);
    }
    RepriceSelection();
    window_.ShowAreaInfo();
    window_.RefreshDisplay();
}

void TGame::NewsEvent() {
    const std::uint64_t game = endCount_;
    bool allShown = true;
    for (const TNewsItem& item : NewsItems) allShown = allShown && item.Shown;
    if (allShown)
        for (TNewsItem& item : NewsItems) item.Shown = false;

    int k = random_.Int(1, kNewsCount);
    while (News(k).Shown) {
        window_.ProcessMessages();
        if (endCount_ != game) return;  // the player ended the game meanwhile
        k = random_.Int(1, kNewsCount);
    }

    window_.PlaySoundResource(TSound::MeepMeep, false);
    window_.TickerStop();
    window_.SetTickerText(News(k).Headline + " ");
    News(k).Shown = true;
    window_.SetTickerActive(true);

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
    };

    switch (news.Kind) {
        case NoEffect:
            return;
        case Windfall:
            AddCash(Money::Pounds(news.Target));
            window_.RefreshDisplay();
            return;
        case Boom:
        case Slump:
            if (news.Target == 0) {
                for (int a = 1; a <= kAreaCount; ++a) moveArea(a);
                RepriceSelection();
                window_.RefillLists();
                window_.RefreshDisplay();
            } else if (news.Target >= 1 && news.Target <= kAreaCount) {
                moveArea(news.Target);
                RepriceSelection();
                // The portfolio lists owned properties of every area: its rows show the new
                // prices too.
                bool ownsThere = false;
                for (const TProperty& p : Properties)
                    ownsThere = ownsThere || (p.Area == news.Target && p.Has(Owned));
                if (news.Target == CurrentArea || ownsThere) window_.RefillLists();
                window_.RefreshDisplay();
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
    for (int a = 1; a <= kAreaCount; ++a) UpdateLowestPrice(a);
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
    for (int a = 1; a <= kAreaCount; ++a) UpdateLowestPrice(a);
    RepriceSelection();
    History.EventHappened(TMarketHistory::TEventKind::Restore, Year, Month);
}
