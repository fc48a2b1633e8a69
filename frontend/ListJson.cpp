#include "frontend/ListJson.h"

void WriteListJson(TJsonWriter& json, const char* key, const TListView& list) {
    json.Open(key, '{');
    json.Bool("enabled", list.Enabled);
    json.Open("rows", '[');
    for (const TListRow& row : list.Rows) {
        json.Open(nullptr, '{');
        json.String("text", row.Text).Bool("selected", row.Selected);
        json.Close('}');
    }
    json.Close(']');
    json.Close('}');
}
