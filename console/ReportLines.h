#pragma once

class ConsoleOutput;
class TGame;

// The answer to the `report` command, and the Market Report window in the text front end:
// one `[news]` line a row of the news log, oldest first ("month | text", and " | note" when
// it has one), then the series as one `[report]` line of JSON (frontend/ReportJson).
void PrintReport(ConsoleOutput& out, const TGame& game);
