#include <gtest/gtest.h>

#include <vector>

#include "ui/Commands.h"
#include "ui/ListSelection.h"

namespace {

using Rows = std::vector<int>;
using Move = TListSelection::Move;

TListSelection ListOf(int count) {
    TListSelection list;
    list.Show(std::vector<bool>(static_cast<std::size_t>(count), false));
    return list;
}

TEST(ListSelection, ClicksSelectOneCtrlTogglesShiftSelectsTheBlock) {
    TListSelection list = ListOf(6);
    EXPECT_EQ(list.Press(2, 0), Rows({2}));
    EXPECT_EQ(list.Press(4, 0), Rows({4}));
    EXPECT_EQ(list.Press(1, kControl), Rows({1, 4}));
    EXPECT_EQ(list.Press(4, kControl), Rows({1}));
    // The block runs from the last row clicked without Shift (a Ctrl+click counts).
    EXPECT_EQ(list.Press(3, kShift), Rows({3, 4}));
    EXPECT_EQ(list.Press(0, kShift), Rows({0, 1, 2, 3, 4}));
    EXPECT_EQ(list.Press(2, 0), Rows({2}));
    // Shift+Ctrl adds the block to what is selected.
    EXPECT_EQ(list.Press(0, kControl), Rows({0, 2}));
    EXPECT_EQ(list.Press(1, kShift), Rows({0, 1}));
    EXPECT_EQ(list.Press(4, kShift | kControl), Rows({0, 1, 2, 3, 4}));
    // Outside the list nothing changes.
    EXPECT_EQ(list.Press(9, 0), Rows({0, 1, 2, 3, 4}));
}

TEST(ListSelection, ATapIsAPlainClickOrWithSelectSeveralACtrlClick) {
    TListSelection list = ListOf(5);
    EXPECT_EQ(list.Press(1, TListSelection::TapModifiers(false)), Rows({1}));
    EXPECT_EQ(list.Press(3, TListSelection::TapModifiers(false)), Rows({3}));
    EXPECT_EQ(list.Press(0, TListSelection::TapModifiers(true)), Rows({0, 3}));
    EXPECT_EQ(list.Press(3, TListSelection::TapModifiers(true)), Rows({0}));
}

TEST(ListSelection, KeysMoveSelectAndExtend) {
    TListSelection list = ListOf(25);
    EXPECT_EQ(list.Key(Move::Down, 0), Rows({0}));  // the first row from nowhere
    EXPECT_EQ(list.Key(Move::Down, 0), Rows({1}));
    EXPECT_EQ(list.Key(Move::Down, kShift), Rows({1, 2}));
    EXPECT_EQ(list.Key(Move::Up, kShift), Rows({1}));
    EXPECT_EQ(list.Key(Move::Up, kShift), Rows({0, 1}));
    // Ctrl moves without selecting; Ctrl+Space toggles the row there.
    EXPECT_EQ(list.Key(Move::PageDown, kControl), Rows({0, 1}));
    EXPECT_EQ(list.Current(), 10);
    EXPECT_EQ(list.Key(Move::Toggle, kControl), Rows({0, 1, 10}));
    EXPECT_EQ(list.Key(Move::End, 0), Rows({24}));
    EXPECT_EQ(list.Key(Move::Down, 0), Rows({24}));  // stays on the last row
    EXPECT_EQ(list.Key(Move::Home, kShift), [] {
        Rows all;
        for (int i = 0; i < 25; ++i) all.push_back(i);
        return all;
    }());
    Move move{};
    EXPECT_TRUE(TListSelection::MoveNamed("ArrowDown", move));
    EXPECT_EQ(move, Move::Down);
    EXPECT_FALSE(TListSelection::MoveNamed("F6", move));
}

TEST(ListSelection, ARefilledListForgetsItsAnchor) {
    TListSelection list = ListOf(4);
    list.Press(1, 0);
    list.Show({false, true, false, false});  // same rows: the anchor stays
    EXPECT_EQ(list.Press(3, kShift), Rows({1, 2, 3}));
    list.Show({false, false, false});  // refilled
    EXPECT_EQ(list.Current(), -1);
    EXPECT_EQ(list.Press(2, kShift), Rows({2}));
    EXPECT_TRUE(list.Key(Move::Down, 0) == Rows({2}));  // the last row already
}

}  // namespace
