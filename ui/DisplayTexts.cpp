#include "ui/DisplayTexts.h"

const std::string& TDisplayTexts::Row(int number, const TProperty& property) {
    TRow& row = rows_.at(static_cast<std::size_t>(number - 1));
    const bool mortgaged = property.Has(Mortgaged);
    if (!row.Made || row.Price != property.BuyPrice || row.Mortgaged != mortgaged ||
        row.Name != property.Name) {
        WriteRow(row.Text, property);
        row.Name = property.Name;
        row.Price = property.BuyPrice;
        row.Mortgaged = mortgaged;
        row.Made = true;
        ++row.Version;
    }
    return row.Text;
}

void TDisplayTexts::PutRow(TListRow& row, int number, const TProperty& property) {
    const std::string& text = Row(number, property);
    const unsigned version = rows_[static_cast<std::size_t>(number - 1)].Version;
    if (row.Property == number && row.TextVersion == version && row.Text.size() == text.size())
        return;
    row.Text = text;
    row.TextVersion = version;
    row.NameLength = property.Name.size();
    row.Property = number;
}

void TDisplayTexts::WriteRow(std::string& text, const TProperty& property) {
    text.assign(property.Name).append(" (");
    AppendPounds(text, property.BuyPrice);
    text.push_back(')');
    if (property.Has(Mortgaged)) text.append(" [M]");
}
