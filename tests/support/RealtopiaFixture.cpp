#include "support/RealtopiaFixture.h"

#include "support/GameStateAccess.h"

void RealtopiaFixture::Create(std::uint64_t seed) {
    app_.reset();
    TPlatform platform = temp_.Platform(seed);
    platform.KeepRecords = keepRecords_;
    app_ = std::make_unique<TRealtopia>(effects_, std::move(platform), nullptr, settings_);
}

void RealtopiaFixture::EnterGame() {
    effects_.ModalResults.push_back(true);
    app_->cmd_playClick();
}

void RealtopiaFixture::StartGame() {
    EnterGame();
    PressPlay();
}

void RealtopiaFixture::StartEngagedGame() {
    StartGame();
    ClickAvail({0});
}

void RealtopiaFixture::ClickAvail(const std::vector<int>& rows) {
    Form().ListMouseUp(TList::Avail, rows);
}

void RealtopiaFixture::ClickPortfolio(const std::vector<int>& rows) {
    Form().ListMouseUp(TList::Portfolio, rows);
}

namespace {

int RowOf(const TListView& list, const std::string& text) {
    for (std::size_t i = 0; i < list.Rows.size(); ++i)
        if (list.Rows[i].Text == text) return static_cast<int>(i);
    return -1;
}

}  // namespace

int RealtopiaFixture::AvailRow(int p) {
    return RowOf(View().Avail, Tmainform::RowText(Game().State().Property(p)));
}

int RealtopiaFixture::PortfolioRow(int p) {
    return RowOf(View().Portfolio, Tmainform::RowText(Game().State().Property(p)));
}

void RealtopiaFixture::Buy(const std::vector<int>& properties) {
    std::vector<int> rows;
    for (int p : properties) rows.push_back(AvailRow(p));
    ClickAvail(rows);
    Form().Invoke(TCommand::KeyF6);
}

void RealtopiaFixture::Sell(const std::vector<int>& properties) {
    std::vector<int> rows;
    for (int p : properties) rows.push_back(PortfolioRow(p));
    ClickPortfolio(rows);
    Form().Invoke(TCommand::KeyF6);
}

void RealtopiaFixture::Tick(int n) {
    for (int i = 0; i < n; ++i) Form().TimerFired();
}

void RealtopiaFixture::SetPrices(int p, Money buy, Money sale) {
    Edit(Game()).Property(p).BuyPrice = buy;
    Edit(Game()).Property(p).SaleValue = sale;
    Form().RefillLists();
}
