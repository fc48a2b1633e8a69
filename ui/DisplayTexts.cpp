#include "ui/DisplayTexts.h"

void TDisplayTexts::PutRow(TListRow& row, int number, const TProperty& property) {
    TRow& kept = rows_.at(static_cast<std::size_t>(number - 1));
    const bool mortgaged = property.Has(Mortgaged);
    if (kept.Version == 0 || kept.Price != property.BuyPrice || kept.Mortgaged != mortgaged ||
        kept.Name != property.Name) {
        kept.Name = property.Name;
        kept.Price = property.BuyPrice;
        kept.Mortgaged = mortgaged;
        ++kept.Version;
    }
    if (row.Property == number && row.TextVersion == kept.Version) return;
    // Written straight into the row: a moved price is formatted once and copied nowhere.
    WriteRow(row.Text, property);
    row.TextVersion = kept.Version;
    row.NameLength = property.Name.size();
    row.Property = number;
}

void TDisplayTexts::WriteRow(std::string& text, const TProperty& property) {
    text.assign(property.Name).append(" (");
    AppendPounds(text, property.BuyPrice);
    text.push_back(')');
    if (property.Has(Mortgaged)) text.append(" [M]");
}
