#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Everything the player can use on the main window: its buttons, pictures, menu items and
// keys. A front end turns a click, a menu choice or a key into one of these and asks the
// window logic whether it is enabled and to carry it out.
enum class TCommand {
    // Buttons.
    Start,
    BuySell,
    DamRen,
    Mortgage,
    Email,
    Exit,
    Rules,
    // Pictures.
    Area1,
    Area2,
    Area3,
    Area4,
    Area5,
    Area6,
    Sponsor,
    // Menu items.
    MenuQuitAndReplay,
    MenuExit,
    MenuSound,
    MenuFast,
    MenuMedium,
    MenuSlow,
    MenuMarketReport,
    MenuRules,
    MenuAbout,
    // Keys released in the window.
    KeyEsc,
    KeyF1,
    KeyF2,
    KeyF5,
    KeyF6,
    KeyF7,
    KeyF9,
    KeyF12,
    // The Game menu's items (after the keys: added later).
    MenuChallengeFriend,
    MenuPlayChallenge,
    MenuWatch,
    MenuStopWatching,
    MenuWatchNormal,
    MenuWatchFast,
    MenuWatchInstant,
};

// The area picture of area 1..6.
inline TCommand AreaCommand(int area) {
    return static_cast<TCommand>(static_cast<int>(TCommand::Area1) + area - 1);
}

enum class TArrow { Left, Right, Up, Down };

// The area an arrow key leads to from area 1..6 among the area pictures, which stand three
// by two: left and right step one picture, up and down one row, round the six.
int AreaAfterArrow(int area, TArrow arrow);

// The keys the main window previews; any other key is Other.
enum class TKey { Esc, F1, F2, F5, F6, F7, F9, F12, Enter, Tab, Other };

// Modifier keys held with a key.
enum TModifier : unsigned { kShift = 1, kControl = 2, kAlt = 4, kMeta = 8 };

// A key as the toolkit reports it: which key, the characters it types, and its modifiers.
struct TKeyEvent {
    TKeyEvent() = default;
    TKeyEvent(TKey key, std::string text = {}, unsigned modifiers = 0, bool autoRepeat = false)
        : Key(key), Text(std::move(text)), Modifiers(modifiers), AutoRepeat(autoRepeat) {}

    TKey Key = TKey::Other;
    std::string Text;  // UTF-8; empty for keys that type nothing
    char Letter = 0;   // the key's letter or digit ('a'..'z', '0'..'9') whatever the modifiers
    unsigned Modifiers = 0;
    bool AutoRepeat = false;
};

// How the keyboard focus came to a control.
enum class TFocusReason { Click, Tab, Accelerator, WindowActivation, Other };

// The kinds of control a command belongs to, and each command's short name within its kind
// ("button" "buysell", "menu" "quitreplay", "key" "f6"): the words a text front end or a
// script uses for it. The keys' names are their rows' in the input table (ui/Inputs.h).
enum class TCommandKind { Button, Picture, Menu, Key };
std::optional<TCommand> FindCommand(TCommandKind kind, std::string_view name);
// The names of one kind, in order ("esc", "f1", ... for the keys).
std::vector<std::string> CommandNames(TCommandKind kind);
// A command's short name within its kind ("buysell", "quitreplay", "f6").
std::string CommandName(TCommand command);
