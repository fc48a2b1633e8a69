#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/World.h"

// Everything the main window shows, kept by the window logic. The desktop program mirrors it
// into widgets; the text front end prints it. Texts are exactly what the player sees.

struct TButtonView {
    std::string Caption;
    bool Enabled = true;
    std::string Hint;
};

struct TListRow {
    std::string Text;
    bool Selected = false;
    // How many bytes at the start of Text are the property's name. A front end that cannot
    // show a whole row shortens only this part; the price and the mark after it stay whole.
    std::size_t NameLength = 0;
    // The property the row shows (1..120): what selecting the row selects.
    int Property = 0;
    // Which of the window's texts for that property the row holds (ui/DisplayTexts.h), so
    // that refilling the lists makes again only the texts that changed; 0: none of them.
    unsigned TextVersion = 0;
};

struct TListView {
    bool Enabled = true;
    std::vector<TListRow> Rows;

    bool AnySelected() const {
        for (const TListRow& row : Rows)
            if (row.Selected) return true;
        return false;
    }
};

// The trend picture shown beside the market trend: one a trend (engine/World.h).
enum class TTrendPicture : std::int32_t { Steady = ::Steady, Risen = ::Risen, Fallen = ::Fallen };

// The trend picture's name where a front end writes it as data: "steady", "risen", "fallen".
inline const char* TrendPictureName(TTrendPicture picture) {
    return TrendName(static_cast<std::int32_t>(picture));
}

struct TMainWindowView {
    bool Visible = false;
    bool Minimised = false;
    std::string Caption = kApplicationTitle;
    std::string Status = "Ready...";

    std::string CashPanel;
    std::string PortfolioPanel = "Portfolio Value: \u00A30";
    std::string DebtPanel;
    std::string Info;
    std::string AreaCaption;
    std::array<bool, 6> AreaFrameRed{};
    std::array<std::string, 6> AreaHints;
    std::string TrendText;
    TTrendPicture TrendPicture = TTrendPicture::Steady;
    std::string StageText = "DEVELOPER";
    std::string MonthLabel = "January";
    int Clock = 1;
    int Progress = 0;
    int ProgressMax = 100;
    // The game clock: running, its interval, the milliseconds to its next event from the
    // last change, and a count of changes (the toolkit re-arms its one-shot timer on each).
    bool TimerEnabled = false;
    int TimerInterval = 3000;
    std::int64_t TimerDue = 3000;
    unsigned TimerGeneration = 0;

    TButtonView Start{"PLAY (Esc)", true, "Press me to start"};
    TButtonView BuySell{"Buy/Sell", true, "Buy or Sell a property"};
    TButtonView DamRen{"Damage/Renovate", true, "Damage or Renovate a property"};
    TButtonView Mortgage{"Mortgage/Redeem", false, "Mortgage or Redeem a property"};
    TButtonView Email{"eMail this game to a friend", true,
                      "Click here to eMail this game to a friend"};
    TButtonView Exit{"E&xit Game", true, "Press me to give up"};
    TButtonView Rules{"R&ules of the Game", true, "The rules of the game"};
    bool FocusStart = false;  // FormShow gives the PLAY button the keyboard focus

    bool QuitReplayEnabled = false;
    bool SoundChecked = true;

    TListView Avail;
    TListView Portfolio;
    // Rises whenever the logic rebuilds a list or changes its selection, so a toolkit can
    // skip rebuilding its list widgets when nothing changed.
    unsigned ListsRevision = 0;

    // Percentage shown on the progress bar, and its text ("%d%%").
    int ProgressPercent() const { return ProgressMax > 0 ? Progress * 100 / ProgressMax : 0; }
    std::string ProgressText() const { return std::to_string(ProgressPercent()) + "%"; }
    // Filled share of the pie clock in whole percent: empty in January, full in December.
    int ClockPercent() const { return (Clock - 1) * 100 / 11; }
};

// Fixed hints of the main window's controls.
namespace hints {
inline constexpr const char* CurrentFund = "Your slush fund";
inline constexpr const char* Portfolio = "The current value of your properties";
inline constexpr const char* Debt = "Your total debts";
inline constexpr const char* Ticker = "Check out the news carefully!";
inline constexpr const char* AvailTitle = "Properties for sale";
inline constexpr const char* PortfolioTitle = "Properties that you own";
inline constexpr const char* Lists = "Select one or more properties";
inline constexpr const char* Areas = "Click below to change area";
inline constexpr const char* Trend = "This affects all properties in the current area";
inline constexpr const char* Clock = "Time marches on..";
inline constexpr const char* Month = "The months progress..";
inline constexpr const char* Sponsor = "Visit our Web Site";
inline constexpr const char* Progress = "Overall game progress";
inline constexpr const char* Status = "Your game status";
inline constexpr const char* StatusBar = "Ready...";
}  // namespace hints

// Fixed captions of the main window's labels and menu ("&" marks the Alt accelerator).
namespace captions {
inline constexpr const char* AvailTitle = "&Properties for Sale";
inline constexpr const char* PortfolioTitle = "&Your Portfolio";
inline constexpr const char* InfoTitle = "Information";
inline constexpr const char* Progress = "Game Progress";
inline constexpr const char* StatusTitle = "Your Status";
inline constexpr const char* MenuFile = "&File";
inline constexpr const char* MenuQuitReplay = "&Quit and Replay";
inline constexpr const char* MenuExit = "E&xit Game";
inline constexpr const char* MenuOptions = "&Options";
inline constexpr const char* MenuSound = "Sound";
inline constexpr const char* MenuScrollerSpeed = "S&croller Speed";
inline constexpr const char* MenuFast = "&Fast";
inline constexpr const char* MenuMedium = "&Medium";
inline constexpr const char* MenuSlow = "&Slow";
inline constexpr const char* MenuMarketReport = "Market &Report\u2026";
inline constexpr const char* MenuHelp = "&Help";
inline constexpr const char* MenuGame = "&Game";
inline constexpr const char* MenuChallengeFriend = "Challenge a &Friend\u2026";
inline constexpr const char* MenuPlayChallenge = "&Play a Challenge\u2026";
inline constexpr const char* MenuWatch = "&Watch a Hi-Score Game\u2026";
inline constexpr const char* MenuStopWatching = "&Stop Watching";
inline constexpr const char* MenuWatchSpeed = "Watching Spee&d";
inline constexpr const char* MenuWatchNormal = "&Normal";
inline constexpr const char* MenuWatchFast = "&Fast";
inline constexpr const char* MenuWatchInstant = "&Instant";
inline constexpr const char* MenuRules = "Rules";
inline constexpr const char* MenuAbout = "&About..";

}  // namespace captions
