#pragma once

#include "frontend/JsonWriter.h"
#include "ui/MainWindowView.h"

// A property list as JSON: "key": {"enabled": bool, "rows": [{"text": str, "selected": bool}]}.
// With `nameAndPrice` each row also carries its name and its price apart ("name", "price"),
// so a page can shorten the name of a narrow row and keep the price whole.
void WriteListJson(TJsonWriter& json, const char* key, const TListView& list,
                   bool nameAndPrice = false);
