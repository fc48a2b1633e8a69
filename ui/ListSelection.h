#pragma once

#include <cstddef>
#include <string>
#include <vector>

// How a list box of several selectable rows answers the pointer and the keys, for a front end
// whose list is drawn by the front end itself (the web page): a click with or without Shift
// and Ctrl, a tap, and the arrow keys. The front end shows the rows returned and tells the
// window logic about them when the click or key ends, as a toolkit's own list box would.
//
// On a touch screen there is no Ctrl: the player switches "select several" on, and a tap then
// counts as a Ctrl+click (TapModifiers).
class TListSelection {
public:
    // Keys that move in a list.
    enum class Move { Up, Down, Home, End, PageUp, PageDown, Toggle };

    // A toggle: its name says what it does, and whether it is on is its pressed state.
    static constexpr const char* SeveralCaption = "Select several";
    static constexpr const char* SeveralHint = "Taps select several properties, as Ctrl+click does";
    static constexpr int kPageRows = 10;

    // The rows selected now, as the window logic shows them; a change of the row count (the
    // list was refilled) forgets the current row and the anchor.
    void Show(const std::vector<bool>& selected);

    // The modifiers a tap stands for: none, or Ctrl while "select several" is on.
    static unsigned TapModifiers(bool several);

    // A press on `row` with modifiers (TModifier bits). Returns the rows then selected,
    // ascending.
    std::vector<int> Press(int row, unsigned modifiers);
    // A key that moves; nothing changes for a key that is not one (returns the selection).
    std::vector<int> Key(Move move, unsigned modifiers);
    static bool MoveNamed(const std::string& domKey, Move& move);

    int Current() const { return current_; }
    std::vector<int> Rows() const;

private:
    void SelectRange(int from, int to, bool keep);

    std::vector<bool> selected_;
    int current_ = -1;
    int anchor_ = -1;
};
