#pragma once

#include "components/TMAXIM.h"

class QWidget;

// The About box: built afresh, shown modally, destroyed when it closes. Returns true only when
// it was closed with OK (Esc and the window's close give false).
bool ShowAboutBox(const TAboutBoxContent& content, QWidget* parent);
