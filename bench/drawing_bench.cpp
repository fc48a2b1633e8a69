// Drawing costs of the desktop program, off the screen (QT_QPA_PLATFORM=offscreen unless the
// caller chose a platform): one ticker step drawn and shown, the lists rebuilt with the
// whole main window brought up to date, and the Market Report of a whole game read and drawn.
// Prints each figure against its target.

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "BenchSummary.h"
#include "desktop/MainWindow.h"
#include "desktop/MarketReportDialog.h"
#include "desktop/MarqueeWidget.h"
#include "support/GameStateAccess.h"
#include "support/QuietEffects.h"
#include "windows/TRealtopia.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void Report(const char* what, double ms, double target) {
    std::printf("%-40s %9.4f ms   target < %.1f ms  %s\n", what, ms, target,
                ms < target ? "met" : "NOT MET");
    char text[64];
    std::snprintf(text, sizeof text, "figure / limit (< %.1f ms)", target);
    SummaryLine(what, ms / target, text, ms < target);
}

// One ticker step: the strip drawn off the screen, then painted into the window's backing
// store and flushed, as the scroll timer does it.
double TickerStep() {
    constexpr int kSteps = 2000;
    TMarquee marquee;
    // The main window's ticker settings.
    marquee.SetBevelOuter(bvLowered);
    marquee.SetBevelWidth(1);
    marquee.SetColor(0x000000);
    marquee.SetSpeed(tsMedium);
    marquee.SetPauseAmount(100);
    marquee.SetDoPause(true);
    marquee.SetDirection(tdLeft);

    MarqueeWidget widget(marquee);
    widget.resize(722, 31);
    widget.show();
    // An 80-character headline, wider than the ticker: it scrolls all the way through.
    marquee.SetText(
        "Property prices soar in the north as buyers queue round the block for new homes!");
    marquee.SetActive(true);
    std::printf("  headline of %zu characters\n", marquee.Text().size());
    QApplication::processEvents();

    for (int i = 0; i < 50; ++i) {  // warm the caches of texts and widths
        widget.step();
        widget.repaint();
    }
    const auto start = Clock::now();
    for (int i = 0; i < kSteps; ++i) {
        widget.step();
        widget.repaint();
    }
    return Milliseconds(Clock::now() - start) / kSteps;
}

struct ListFigures {
    double update = 0;     // RefillLists + RefreshDisplay + sync
    double withPaint = 0;  // the same and the window drawn
};

ListFigures ListsRefill() {
    constexpr int kRounds = 500;
    QTemporaryDir dir;
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.UserDataDirectory = dir.filePath(QStringLiteral("data")).toStdString();
    platform.Seed = 42;
    platform.Today = [] { return std::string("20000101"); };

    QuietEffects effects(false);
    TRealtopia app(effects, platform);
    MainWindow window(app.mainform);
    window.show();

    // Every property outside the area shown goes into the portfolio.
    TGameState& game = Edit(app.mainform.Rules());
    for (TProperty& p : game.Properties) {
        if (p.Area != game.CurrentArea) p.Flags |= Owned;
    }
    app.mainform.RefillLists();
    app.mainform.RefreshDisplay();
    window.sync();
    QApplication::processEvents();
    const TMainWindowView& view = app.mainform.View();
    std::printf("  %zu rows for sale, %zu in the portfolio\n", view.Avail.Rows.size(),
                view.Portfolio.Rows.size());

    auto round = [&] {
        app.mainform.RefillLists();  // raises the lists' revision: sync rebuilds them
        app.mainform.RefreshDisplay();
        window.sync();
    };
    for (int i = 0; i < 20; ++i) round();

    ListFigures figures;
    auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i) round();
    figures.update = Milliseconds(Clock::now() - start) / kRounds;

    start = Clock::now();
    for (int i = 0; i < kRounds / 5; ++i) {
        round();
        window.repaint();
    }
    figures.withPaint = Milliseconds(Clock::now() - start) / (kRounds / 5);
    return figures;
}

// CPU time of the process: what the drawing costs, however busy the machine is otherwise.
double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct ReportFigures {
    double wall = 0;
    double cpu = 0;
};

// The Market Report at the end of a whole game (119 months, 13 headlines, 9 trends), the
// most it ever shows: read from the game again and the whole window drawn, at `scale` device
// pixels to a logical one.
ReportFigures ReportDrawing(MarketReportDialog& dialog, qreal scale) {
    constexpr int kRounds = 100;
    QImage image(dialog.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    auto round = [&] {
        dialog.refresh();
        dialog.render(&image);
    };
    for (int i = 0; i < 10; ++i) round();
    const auto start = Clock::now();
    const double cpuStart = CpuMilliseconds();
    for (int i = 0; i < kRounds; ++i) round();
    return {Milliseconds(Clock::now() - start) / kRounds, (CpuMilliseconds() - cpuStart) / kRounds};
}

void ReportFiguresOfAWholeGame() {
    QTemporaryDir dir;
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.UserDataDirectory = dir.filePath(QStringLiteral("data")).toStdString();
    platform.Seed = 42;
    platform.Today = [] { return std::string("20000101"); };

    QuietEffects effects(false);
    TRealtopia app(effects, platform);
    app.cmd_playClick();
    Tmainform& form = app.mainform;
    form.cmd_StartClick();
    form.SetListSelection(TList::Avail, {0, 1});
    form.lst_AvailMouseUp();
    form.cmd_BuySellClick();
    for (int month = 0; month < 119; ++month) form.tmr_mainTimer();

    MarketReportDialog dialog(form.Game());
    dialog.show();
    QApplication::processEvents();
    const TMarketHistory& history = form.Game().State().History;
    std::printf("  %zu months, %zu log rows, window %d x %d\n", history.Months().size() + 1,
                history.Headlines().size() + history.Trends().size(), dialog.width(),
                dialog.height());

    const ReportFigures once = ReportDrawing(dialog, 1);
    Report("Market Report read and drawn", once.wall, 5.0);
    std::printf("%-40s %9.4f ms\n", "  its CPU time", once.cpu);
    const ReportFigures twice = ReportDrawing(dialog, 2);
    std::printf("%-40s %9.4f ms   (no target)\n", "  the same at twice the pixels", twice.wall);
    std::printf("%-40s %9.4f ms\n", "  its CPU time", twice.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(realtopia_resources);

    Report("ticker step drawn and shown", TickerStep(), 0.3);
    const ListFigures lists = ListsRefill();
    Report("refill + refresh + sync (20 / 100 rows)", lists.update, 2.0);
    std::printf("%-40s %9.4f ms   (no target)\n", "  the same with the window repainted",
                lists.withPaint);
    ReportFiguresOfAWholeGame();
    return 0;
}
