#include "ui/Commands.h"

#include <array>
#include <cctype>

#include "engine/World.h"
#include "ui/Inputs.h"

namespace {

struct TCommandName {
    TCommand Command;
    TCommandKind Kind;
    const char* Name;
};

constexpr std::array<TCommandName, 30> kNames = {{
    {TCommand::Start, TCommandKind::Button, "start"},
    {TCommand::BuySell, TCommandKind::Button, "buysell"},
    {TCommand::DamRen, TCommandKind::Button, "damren"},
    {TCommand::Mortgage, TCommandKind::Button, "mortgage"},
    {TCommand::Rules, TCommandKind::Button, "rules"},
    {TCommand::Exit, TCommandKind::Button, "exit"},
    {TCommand::Email, TCommandKind::Button, "email"},
    {TCommand::Area1, TCommandKind::Picture, "area1"},
    {TCommand::Area2, TCommandKind::Picture, "area2"},
    {TCommand::Area3, TCommandKind::Picture, "area3"},
    {TCommand::Area4, TCommandKind::Picture, "area4"},
    {TCommand::Area5, TCommandKind::Picture, "area5"},
    {TCommand::Area6, TCommandKind::Picture, "area6"},
    {TCommand::Sponsor, TCommandKind::Picture, "sponsor"},
    {TCommand::MenuQuitAndReplay, TCommandKind::Menu, "quitreplay"},
    {TCommand::MenuExit, TCommandKind::Menu, "exit"},
    {TCommand::MenuSound, TCommandKind::Menu, "sound"},
    {TCommand::MenuFast, TCommandKind::Menu, "fast"},
    {TCommand::MenuMedium, TCommandKind::Menu, "medium"},
    {TCommand::MenuSlow, TCommandKind::Menu, "slow"},
    {TCommand::MenuMarketReport, TCommandKind::Menu, "report"},
    {TCommand::MenuRules, TCommandKind::Menu, "rules"},
    {TCommand::MenuAbout, TCommandKind::Menu, "about"},
    {TCommand::MenuChallengeFriend, TCommandKind::Menu, "challengefriend"},
    {TCommand::MenuPlayChallenge, TCommandKind::Menu, "playchallenge"},
    {TCommand::MenuWatch, TCommandKind::Menu, "watch"},
    {TCommand::MenuStopWatching, TCommandKind::Menu, "stopwatching"},
    {TCommand::MenuWatchNormal, TCommandKind::Menu, "watchnormal"},
    {TCommand::MenuWatchFast, TCommandKind::Menu, "watchfast"},
    {TCommand::MenuWatchInstant, TCommandKind::Menu, "watchinstant"},
}};

// Key names are read without regard to case ("Esc", "F6"); the others are lower case.
bool SameName(std::string_view wanted, const char* name, bool anyCase) {
    const std::string_view have(name);
    if (wanted.size() != have.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const auto c = static_cast<unsigned char>(wanted[i]);
        if ((anyCase ? std::tolower(c) : c) != static_cast<unsigned char>(have[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<TCommand> FindCommand(TCommandKind kind, std::string_view name) {
    if (kind == TCommandKind::Key) {
        for (const TInput& input : Inputs())
            if (input.Command && SameName(name, input.CommandName, true)) return input.Command;
        return std::nullopt;
    }
    for (const TCommandName& entry : kNames)
        if (entry.Kind == kind && SameName(name, entry.Name, false)) return entry.Command;
    return std::nullopt;
}

std::vector<std::string> CommandNames(TCommandKind kind) {
    std::vector<std::string> names;
    if (kind == TCommandKind::Key) {
        for (const TInput& input : Inputs())
            if (input.Command) names.emplace_back(input.CommandName);
        return names;
    }
    for (const TCommandName& entry : kNames)
        if (entry.Kind == kind) names.emplace_back(entry.Name);
    return names;
}

std::string CommandName(TCommand command) {
    if (const TInput* input = InputOf(command)) return input->CommandName;
    for (const TCommandName& entry : kNames)
        if (entry.Command == command) return entry.Name;
    return {};
}

int AreaAfterArrow(int area, TArrow arrow) {
    constexpr int kPicturesARow = 3;
    int step = 0;
    switch (arrow) {
        case TArrow::Left:
            step = -1;
            break;
        case TArrow::Right:
            step = 1;
            break;
        case TArrow::Up:
            step = -kPicturesARow;
            break;
        case TArrow::Down:
            step = kPicturesARow;
            break;
    }
    return ((area - 1 + step) % kAreaCount + kAreaCount) % kAreaCount + 1;
}
