#pragma once

#include <string>
#include <vector>

class TGame;

// The answer to the `report` command: the Market Report's news log as lines of text, and its
// series with the headlines, trends and events as one line of JSON. Money is an integer count
// of ten-thousandths of a pound, as in `state`.
class ReportJson {
public:
    // One line a row of the log, oldest first: "month | text", and " | note" when it has one.
    static std::vector<std::string> NewsLines(const TGame& game);
    static std::string Write(const TGame& game);
};

class ConsoleOutput;

// The whole report as the console prints it: `[news]` lines, then one `[report]` line.
void PrintReport(ConsoleOutput& out, const TGame& game);
