#pragma once

#include "frontend/JsonWriter.h"
#include "ui/MainWindowView.h"

// A property list as the state and the web page write it:
// "key": {"enabled": bool, "rows": [{"text": str, "selected": bool}]}.
void WriteListJson(TJsonWriter& json, const char* key, const TListView& list);
