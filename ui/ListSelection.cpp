#include "ui/ListSelection.h"

#include <algorithm>

#include "ui/Commands.h"

void TListSelection::Show(const std::vector<bool>& selected) {
    if (selected.size() != selected_.size()) {
        current_ = -1;
        anchor_ = -1;
    }
    selected_ = selected;
}

std::vector<int> TListSelection::Rows() const {
    std::vector<int> rows;
    for (std::size_t i = 0; i < selected_.size(); ++i)
        if (selected_[i]) rows.push_back(static_cast<int>(i));
    return rows;
}

void TListSelection::SelectRange(int from, int to, bool keep) {
    if (!keep) std::fill(selected_.begin(), selected_.end(), false);
    if (from > to) std::swap(from, to);
    for (int i = std::max(from, 0); i <= to && i < static_cast<int>(selected_.size()); ++i)
        selected_[static_cast<std::size_t>(i)] = true;
}

unsigned TListSelection::TapModifiers(bool several) {
    return several ? kControl : 0u;
}

std::vector<int> TListSelection::Press(int row, unsigned modifiers) {
    const int count = static_cast<int>(selected_.size());
    if (row < 0 || row >= count) return Rows();
    const std::size_t at = static_cast<std::size_t>(row);
    if ((modifiers & kShift) != 0 && anchor_ >= 0 && anchor_ < count) {
        SelectRange(anchor_, row, (modifiers & kControl) != 0);
    } else if ((modifiers & kControl) != 0) {
        selected_[at] = !selected_[at];
        anchor_ = row;
    } else {
        SelectRange(row, row, false);
        anchor_ = row;
    }
    current_ = row;
    return Rows();
}

std::vector<int> TListSelection::Key(Move move, unsigned modifiers) {
    const int count = static_cast<int>(selected_.size());
    if (count == 0) return Rows();
    if (move == Move::Toggle) {
        if (current_ < 0) current_ = 0;
        const std::size_t at = static_cast<std::size_t>(current_);
        if ((modifiers & kControl) != 0) {
            selected_[at] = !selected_[at];
        } else {
            SelectRange(current_, current_, false);
        }
        anchor_ = current_;
        return Rows();
    }
    int row = current_;
    switch (move) {
        case Move::Up:
            row = current_ < 0 ? 0 : current_ - 1;
            break;
        case Move::Down:
            row = current_ + 1;
            break;
        case Move::PageUp:
            row = current_ - kPageRows;
            break;
        case Move::PageDown:
            row = current_ < 0 ? kPageRows - 1 : current_ + kPageRows;
            break;
        case Move::Home:
            row = 0;
            break;
        case Move::End:
            row = count - 1;
            break;
        case Move::Toggle:
            break;
    }
    row = std::clamp(row, 0, count - 1);
    current_ = row;
    if ((modifiers & kControl) != 0 && (modifiers & kShift) == 0) return Rows();  // moves only
    if ((modifiers & kShift) != 0 && anchor_ >= 0 && anchor_ < count) {
        SelectRange(anchor_, row, false);
    } else {
        SelectRange(row, row, false);
        anchor_ = row;
    }
    return Rows();
}

bool TListSelection::MoveNamed(const std::string& domKey, Move& move) {
    static const struct {
        const char* Name;
        Move Value;
    } kMoves[] = {{"ArrowUp", Move::Up}, {"ArrowDown", Move::Down}, {"Home", Move::Home},
                  {"End", Move::End},    {"PageUp", Move::PageUp},  {"PageDown", Move::PageDown},
                  {" ", Move::Toggle}};
    for (const auto& entry : kMoves) {
        if (domKey == entry.Name) {
            move = entry.Value;
            return true;
        }
    }
    return false;
}
