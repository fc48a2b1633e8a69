#pragma once

#include "components/LinuxSystemQueries.h"

// Lets the system queries answer screen size and colour count from the primary screen. Each
// answer is read afresh; with no screen the query fails.
void InstallQtSystemHooks(LinuxSystemQueries& queries);
