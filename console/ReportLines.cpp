#include "console/ReportLines.h"

#include "console/ConsoleOutput.h"
#include "frontend/ReportJson.h"
#include "ui/MarketReport.h"

void PrintReport(ConsoleOutput& out, const TGame& game) {
    const TMarketReport report(game);
    for (const TLogRow& row : report.Log())
        out.Line("news", row.Month + " | " + row.Text + (row.Note.empty() ? "" : " | " + row.Note));
    out.RawLine("report", ReportJson::Write(game));
}
