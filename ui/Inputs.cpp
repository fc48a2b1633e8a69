#include "ui/Inputs.h"

#include <array>
#include <cctype>

namespace {

constexpr std::array<TInput, 11> kInputs = {{
    {TKey::Esc, "Esc", "esc", "Escape", "Esc", TCommand::KeyEsc, false},
    {TKey::F1, "F1", "f1", "F1", "F1", TCommand::KeyF1, false},
    {TKey::F2, "F2", "f2", "F2", "F2", TCommand::KeyF2, false},
    {TKey::F5, "F5", "f5", "F5", "F5", TCommand::KeyF5, false},
    {TKey::F6, "F6", "f6", "F6", "F6", TCommand::KeyF6, false},
    {TKey::F7, "F7", "f7", "F7", "F7", TCommand::KeyF7, false},
    {TKey::F9, "F9", "f9", "F9", "F9", TCommand::KeyF9, false},
    {TKey::F12, "F12", "f12", "F12", "F12", TCommand::KeyF12, false},
    // Enter presses a button on its press; its release, like Tab's and any other key's, is
    // the focused list's too. The main keyboard's Enter is Qt's Return, Shift+Tab its Backtab.
    {TKey::Enter, "Enter", "", "Enter", "Return", std::nullopt, true},
    {TKey::Tab, "Tab", "", "Tab", "Backtab", std::nullopt, true},
    {TKey::Other, "", "", "", "", std::nullopt, true},
}};

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

}  // namespace

std::span<const TInput> Inputs() {
    return kInputs;
}

const TInput& InputOf(TKey key) {
    for (const TInput& input : kInputs)
        if (input.Key == key) return input;
    return kInputs.back();
}

const TInput* InputOf(TCommand command) {
    for (const TInput& input : kInputs)
        if (input.Command == command) return &input;
    return nullptr;
}

char KeyLetter(std::string_view keyName) {
    if (keyName.size() != 1) return 0;
    const char c = Lower(keyName[0]);
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ? c : 0;
}

std::optional<TKeyEvent> KeyEventNamed(std::string_view name) {
    unsigned modifiers = 0;
    for (;;) {
        const std::size_t plus = name.find('+');
        if (plus == std::string_view::npos || plus + 1 == name.size()) break;
        const std::string_view modifier = name.substr(0, plus);
        if (SameText(modifier, "alt"))
            modifiers |= kAlt;
        else if (SameText(modifier, "ctrl"))
            modifiers |= kControl;
        else if (SameText(modifier, "shift"))
            modifiers |= kShift;
        else
            return std::nullopt;
        name.remove_prefix(plus + 1);
    }
    for (const TInput& input : kInputs)
        if (input.Key != TKey::Other && SameText(name, input.Name))
            return TKeyEvent(input.Key, {}, modifiers);
    const char letter = KeyLetter(name);
    if (letter == 0 || modifiers == 0) return std::nullopt;
    TKeyEvent key(TKey::Other, {}, modifiers);
    key.Letter = letter;
    return key;
}

TKeyEvent KeyEventOfDesktopName(const std::string& desktopName) {
    for (const TInput& input : kInputs)
        if (input.Key != TKey::Other &&
            (desktopName == input.DesktopName || desktopName == input.Name))
            return TKeyEvent(input.Key);
    return TKeyEvent(TKey::Other);
}

TKeyEvent KeyEventOfWebName(const std::string& webName, unsigned modifiers, bool autoRepeat) {
    for (const TInput& input : kInputs)
        if (input.Key != TKey::Other && (webName == input.WebName || webName == input.Name))
            return TKeyEvent(input.Key, {}, modifiers, autoRepeat);
    TKeyEvent key(TKey::Other, {}, modifiers, autoRepeat);
    key.Letter = KeyLetter(webName);
    return key;
}

std::string AcceleratorName(const TAccelerator& accelerator) {
    std::string name = (accelerator.Modifiers & kControl) ? "Ctrl+" : "Alt+";
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(accelerator.Letter)));
    return name;
}
