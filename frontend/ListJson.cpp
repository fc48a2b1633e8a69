#include "frontend/ListJson.h"

#include <algorithm>

void WriteListJson(TJsonWriter& json, const char* key, const TListView& list, bool nameAndPrice) {
    json.Open(key, '{');
    json.Bool("enabled", list.Enabled);
    json.Open("rows", '[');
    for (const TListRow& row : list.Rows) {
        json.Open(nullptr, '{');
        json.String("text", row.Text).Bool("selected", row.Selected);
        if (nameAndPrice) {
            const std::size_t nameLength = std::min(row.NameLength, row.Text.size());
            json.String("name", row.Text.substr(0, nameLength));
            json.String("price", row.Text.substr(nameLength));
        }
        json.Close('}');
    }
    json.Close(']');
    json.Close('}');
}
