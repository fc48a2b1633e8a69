#include "console/ShowText.h"

#include <algorithm>

#include "console/ConsoleText.h"
#include "ui/Addresses.h"
#include "ui/DisplayText.h"
#include "windows/TRealtopia.h"
#include "windows/Tsplash.h"

namespace {

// The pieces of a text at its line breaks.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (const char c : displaytext::WithLineFeeds(text)) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

std::string PadRight(std::string text, std::size_t width) {
    const std::size_t length = consoletext::Characters(text).size();
    if (length < width) text.append(width - length, ' ');
    return text;
}

std::string Button(const char* command, const TButtonView& button) {
    return std::string(command) + " [" + displaytext::PlainCaption(button.Caption) + "]" +
           (button.Enabled ? "" : " (disabled)");
}

std::vector<std::string> SplashLines() {
    return {
        std::string(Tsplash::Presents),
        kApplicationTitle,
        std::string(Tsplash::CareerlyTitle) + addresses::SponsorLabel + "   (link sponsor)",
        std::string("play [") + Tsplash::Play + "]    newuser [" + Tsplash::NewUser + "]",
        Tsplash::BuildLabel,
        std::string(Tsplash::CreatedBy) + " " + addresses::MakerLabel + "   (link maker)",
    };
}

void AddLists(std::vector<std::string>& lines, const TMainWindowView& view) {
    auto title = [](const std::string& name, const char* command, const TListView& list) {
        return std::string(name) + " (" + command + ")" + (list.Enabled ? "" : " (disabled)");
    };
    auto row = [](const TListView& list, std::size_t i) {
        if (i >= list.Rows.size()) return std::string();
        const TListRow& r = list.Rows[i];
        std::string number = std::to_string(i + 1);
        if (number.size() < 3) number.insert(0, 3 - number.size(), ' ');
        return std::string(r.Selected ? ">" : " ") + number + " " + r.Text;
    };
    std::vector<std::string> left{
        title(displaytext::PlainCaption(captions::AvailTitle), "avail", view.Avail)};
    std::vector<std::string> right{
        title(displaytext::PlainCaption(captions::PortfolioTitle), "portfolio", view.Portfolio)};
    const std::size_t rows = std::max(view.Avail.Rows.size(), view.Portfolio.Rows.size());
    for (std::size_t i = 0; i < rows; ++i) {
        left.push_back(row(view.Avail, i));
        right.push_back(row(view.Portfolio, i));
    }
    if (rows == 0) left.push_back("    (empty)");
    right.resize(left.size());
    std::size_t width = 0;
    for (const std::string& text : left)
        width = std::max(width, consoletext::Characters(text).size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        std::string line = right[i].empty() ? left[i] : PadRight(left[i], width + 3) + right[i];
        lines.push_back(line);
    }
}

std::vector<std::string> MainWindowLines(const Tmainform& form) {
    const TMainWindowView& view = form.View();
    std::vector<std::string> lines;
    lines.push_back("=== " + view.Caption + " ===" + (view.Minimised ? " (minimised)" : ""));
    lines.push_back(view.CashPanel + " | " + view.PortfolioPanel + " | " + view.DebtPanel);
    const TMarquee& ticker = form.mq();
    lines.push_back("News: " + ticker.Text() + (ticker.Active() ? "" : " (stopped)"));
    lines.push_back("");
    AddLists(lines, view);
    lines.push_back("");
    lines.push_back(std::string(captions::InfoTitle) + ":");
    for (const std::string& line : SplitLines(view.Info)) lines.push_back("  " + line);
    for (const std::string& line : SplitLines(view.AreaCaption)) lines.push_back(line);

    std::string areas = "area";
    for (int a = 1; a <= kAreaCount; ++a) {
        const auto i = static_cast<std::size_t>(a - 1);
        const std::string name = std::to_string(a) + " " + view.AreaHints[i];
        areas += view.AreaFrameRed[i] ? "  *" + name + "*" : "  " + name;
    }
    lines.push_back(areas);
    lines.push_back(view.TrendText);
    lines.push_back("Clock: " + view.MonthLabel + " (" + std::to_string(view.ClockPercent()) +
                    "% of the year)   Game Progress: " + std::to_string(view.ProgressPercent()) +
                    "%");
    lines.push_back(std::string(captions::StatusTitle) + ": " + view.StageText);
    lines.push_back(Button("damren", view.DamRen) + "   " + Button("buysell", view.BuySell) +
                    "   " + Button("mortgage", view.Mortgage));
    lines.push_back(Button("start", view.Start) + "   " + Button("email", view.Email));
    lines.push_back(Button("exit", view.Exit) + "   " + Button("rules", view.Rules) +
                    "   sponsor [" + addresses::SponsorLabel + "]");
    lines.push_back(std::string("menu: quitreplay [Quit and Replay]") +
                    (view.QuitReplayEnabled ? "" : " (disabled)") + "   sound [" +
                    (view.SoundChecked ? "x" : " ") + "]   speed: " + SpeedName(ticker.Speed()));
    lines.push_back("Status bar: " + view.Status);
    return lines;
}

}  // namespace

std::vector<std::string> ShowText::Lines(const TRealtopia& app) {
    if (!app.mainform.View().Visible) return SplashLines();
    return MainWindowLines(app.mainform);
}
