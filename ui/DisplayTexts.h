#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/GameState.h"
#include "engine/Money.h"
#include "ui/MainWindowView.h"

// A text of the main window made from a few figures ("Current Cash: £1,234"), made again only
// when a figure changes: a month tells the window the same amounts again and again, and
// formatting them was most of the window's month. A text written elsewhere in the meantime
// (a hint in the status bar, a new game's first line) is made again, never left stale.
class TFigureText {
public:
    using Key = std::array<std::int64_t, 3>;

    // Writes make() into `text` unless `text` still holds what was made for `key`.
    template <typename Make>
    void Show(std::string& text, const Key& key, Make make) {
        if (made_ && key == key_ && text == text_) return;
        make(text);
        key_ = key;
        text_ = text;
        made_ = true;
    }

private:
    Key key_{};
    std::string text_;
    bool made_ = false;
};

// The texts of the main window's panels, status bar and lists, each kept with the figures it
// was made from.
struct TDisplayTexts {
    TFigureText Portfolio, Cash, Debt, Area, Worth, Stage;

    // Puts a property's text ("Name (£1,234) [M]") into a list's row, made again only when
    // the row showed another property or the property's name, buying price or mortgage
    // changed since. `number`: the property's number (1..120).
    void PutRow(TListRow& row, int number, const TProperty& property);
    // Writes a row's text into `text`, in place.
    static void WriteRow(std::string& text, const TProperty& property);

private:
    // The figures a property's row was last made from, and how many times they changed: a
    // list's row holding the latest count holds the latest text.
    struct TRow {
        std::string Name;
        Money Price;
        bool Mortgaged = false;
        unsigned Version = 0;  // 0: never made
    };
    std::array<TRow, kPropertyCount> rows_;
};
