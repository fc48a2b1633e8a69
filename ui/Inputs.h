#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Move.h"
#include "ui/Commands.h"

// Every key the main window knows, one row a key, in one table that all front ends read: the
// key, the names the player, the text front end, the page and the desktop give it, the command
// its release runs, and whether a focused list also gets its release. A released key goes
// key -> row -> command -> handler (Tmainform::KeyRelease, Tmainform::Run), and no front end
// keeps a key list of its own.
struct TInput {
    TKey Key;
    const char* Name;  // as menus, the README and the text front end's `key` write it: "Esc", "F6"
    const char* CommandName;  // the key command's name, as `key`'s choices and `invoke`: "esc"
    const char* WebName;      // a browser's name of the key: "Escape", "F6"
    const char* DesktopName;  // Qt's portable name of the key when it is not Name: "Return"
    std::optional<TCommand> Command;  // what its release runs in the window
    bool ListSees;  // the release also reaches a focused list (it may move the selection)
};

std::span<const TInput> Inputs();
// The row of a key; keys outside the table (letters, arrows) are Other's row.
const TInput& InputOf(TKey key);
// The row whose release runs `command`, if a key's does.
const TInput* InputOf(TCommand command);

// A key combination that acts on its press: Alt and a caption's underlined letter runs a
// button or brings the focus to the list under that title; Ctrl+1 … Ctrl+6 choose an area.
struct TAccelerator {
    char Letter;         // lower case letter or digit
    unsigned Modifiers;  // kAlt or kControl
    std::optional<TCommand> Command;
    std::optional<TList> FocusList;  // the list the focus moves to (the front end moves it)
};

// The key as a letter or digit ('a'…'z', '0'…'9'), whatever the modifiers, or 0.
char KeyLetter(std::string_view keyName);

// A key named as a player writes it: "F6", "Esc", "Alt+P", "Ctrl+1" (any case), or nothing.
std::optional<TKeyEvent> KeyEventNamed(std::string_view name);
// The key Qt names (QKeySequence's portable text of a key code: "Esc", "F6", "Return").
TKeyEvent KeyEventOfDesktopName(const std::string& desktopName);
// The key the page names (a DOM key name such as "Escape", "F6", "p") with its modifiers.
TKeyEvent KeyEventOfWebName(const std::string& webName, unsigned modifiers, bool autoRepeat);
// "Alt+P", "Ctrl+1": how a menu or the README writes an accelerator.
std::string AcceleratorName(const TAccelerator& accelerator);
