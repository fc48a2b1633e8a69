// Drawing costs of the desktop program, off the screen (QT_QPA_PLATFORM=offscreen unless the
// caller chose a platform), all in CPU time of blocks of rounds or as medians of rounds taken
// in turn with a yardstick: one ticker step drawn and shown, the lists rebuilt with the whole
// main window brought up to date, the main window repainted against a bare window, the Market
// Report of a whole game read and drawn, and its first paint against a prebuilt dialog's.
// Prints each figure against its target, with its range over the run.

#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "BenchRounds.h"
#include "BenchSummary.h"
#include "desktop/MainWindow.h"
#include "desktop/MarketReportDialog.h"
#include "desktop/MarqueeWidget.h"
#include "support/GameStateAccess.h"
#include "support/QuietEffects.h"
#include "windows/TRealtopia.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBlocks = 8;

// A figure in milliseconds of CPU time against its limit.
void Report(const char* what, TRanged ms, double target) {
    const bool met = ms.Value < target;
    std::printf("%-40s %9.4f ms CPU (blocks %.4f-%.4f)   target < %.1f ms  %s\n", what, ms.Value,
                ms.Low, ms.High, target, met ? "met" : "NOT MET");
    char text[64];
    std::snprintf(text, sizeof text, "figure / limit (< %.1f ms CPU)", target);
    SummaryLine(what, ms.Value / target, ms.Low / target, ms.High / target, text, met);
}

// A ratio to a yardstick measured in turn with it.
void ReportRatio(const char* what, TRanged ratio, double target, const char* yardstick) {
    const bool met = ratio.Value <= target;
    std::printf("%-40s ratio %6.2f (blocks %.2f-%.2f)   target <= %.2f  %s\n", what, ratio.Value,
                ratio.Low, ratio.High, target, met ? "met" : "NOT MET");
    char text[96];
    std::snprintf(text, sizeof text, "<= %.2f (%s)", target, yardstick);
    SummaryLine(what, ratio.Value, ratio.Low, ratio.High, text, met);
}

// CPU milliseconds per call of `round`, `perBlock` calls a block.
template <typename Round>
TRanged CpuMs(int perBlock, Round round) {
    std::vector<std::vector<double>> blocks;
    for (int block = 0; block < kBlocks; ++block) {
        std::vector<double> times;
        for (int i = 0; i < perBlock; ++i) {
            const double t0 = ThreadCpuNs();
            round();
            times.push_back((ThreadCpuNs() - t0) / 1e6);
        }
        blocks.push_back(std::move(times));
    }
    return Ranged(blocks);
}

// The ratio of `subject` to `yardstick`, one of each in turn, `measure` giving a round's cost;
// the median of the pairs' ratios and the range of the blocks' medians.
template <typename Measure, typename Subject, typename Yardstick>
TRanged Paired(int perBlock, Measure measure, Subject subject, Yardstick yardstick) {
    std::vector<std::vector<double>> blocks;
    for (int block = 0; block < kBlocks; ++block) {
        std::vector<double> ratios;
        for (int i = 0; i < perBlock; ++i) {
            const double s = measure(subject);
            const double y = measure(yardstick);
            ratios.push_back(s / y);
        }
        blocks.push_back(std::move(ratios));
    }
    return Ranged(blocks);
}

// One ticker step: the strip drawn off the screen, then painted into the window's backing
// store and flushed, as the scroll timer does it.
TRanged TickerStep() {
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

    auto step = [&] {
        widget.step();
        widget.repaint();
    };
    for (int i = 0; i < 50; ++i) step();  // warm the caches of texts and widths
    return CpuMs(250, step);
}

TPlatform BenchPlatform(const QTemporaryDir& dir) {
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.UserDataDirectory = dir.filePath(QStringLiteral("data")).toStdString();
    platform.Seed = 42;
    platform.Today = [] { return std::string("20000101"); };
    return platform;
}

// A bare main window of the same size holding one label: the yardstick of a repaint.
struct BareWindow {
    QMainWindow window;
    BareWindow() {
        window.resize(722, 534);
        auto* label = new QLabel(QStringLiteral("Baseline"), &window);
        label->setAutoFillBackground(true);
        window.setCentralWidget(label);
        window.show();
        QApplication::processEvents();
    }
};

// Repaints a shown top-level window whole, as Qt does when every widget of it asks for an
// update: the event loop (asleep while it waits) runs until Qt's update request has painted
// each widget into the window's backing store and flushed it, all within that one event.
// (An update of the window alone would repaint only what its opaque children leave bare.
// Qt paints the opaque widgets that nothing overlaps first, then the rest through the window,
// so some of the main window's widgets are painted twice a round.)
class WholeRepaint : public QObject {
public:
    explicit WholeRepaint(QWidget& window) : window_(window) {
        widgets_.push_back(&window);
        for (QWidget* child : window.findChildren<QWidget*>()) widgets_.push_back(child);
        for (QWidget* widget : widgets_) widget->installEventFilter(this);
    }
    // CPU nanoseconds of one repaint.
    double Cpu() {
        painted_.clear();
        paints_ = 0;
        requested_ = false;
        // A window the platform never lets paint would wait for ever: a timer wakes the loop.
        QTimer limit;
        limit.setSingleShot(true);
        limit.start(5000);
        const double c0 = ThreadCpuNs();
        for (QWidget* widget : widgets_) widget->update();
        while (!requested_ && limit.isActive())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double cpu = ThreadCpuNs() - c0;
        if (!requested_) {
            std::fprintf(stderr, "the window was not repainted within 5 s\n");
            std::exit(1);
        }
        return cpu;
    }
    // How many widgets the last repaint painted, in how many paint events, and how many of
    // the window's widgets are shown.
    int Painted() const { return static_cast<int>(painted_.size()); }
    int Paints() const { return paints_; }
    int Shown() const {
        return static_cast<int>(std::count_if(widgets_.begin(), widgets_.end(),
                                              [](QWidget* w) { return w->isVisible(); }));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted_.insert(watched);
            ++paints_;
        }
        if (event->type() == QEvent::UpdateRequest && watched == &window_) requested_ = true;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
    std::vector<QWidget*> widgets_;
    std::set<QObject*> painted_;
    int paints_ = 0;
    bool requested_ = false;
};

void ListsAndRepaint() {
    QTemporaryDir dir;
    QuietEffects effects(false);
    TRealtopia app(effects, BenchPlatform(dir));
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
    Report("refill + refresh + sync (20 / 100 rows)", CpuMs(60, round), 2.0);

    // The whole main window repainted, nothing changed, against a bare window with a label,
    // one of each in turn, each the way Qt repaints a shown window: marked dirty whole, then
    // painted by Qt's update request, every widget of it into the window's backing store,
    // and flushed.
    BareWindow bare;
    WholeRepaint mainRepaint(window);
    WholeRepaint bareRepaint(bare.window);
    for (int i = 0; i < 10; ++i) {
        mainRepaint.Cpu();
        bareRepaint.Cpu();
    }
    std::printf(
        "  a repaint paints %d of the %d widgets shown in the main window (%d paint "
        "events), %d of %d in the bare window\n",
        mainRepaint.Painted(), mainRepaint.Shown(), mainRepaint.Paints(), bareRepaint.Painted(),
        bareRepaint.Shown());
    auto measure = [](WholeRepaint& repaint) { return repaint.Cpu(); };
    const TRanged repaint = Paired(25, measure, std::ref(mainRepaint), std::ref(bareRepaint));
    ReportRatio("main window repainted / bare window", repaint, 3.0, "bare window, CPU");
    std::printf("  main window %.3f ms, bare window %.3f ms (CPU, medians)\n",
                CpuMs(20, [&] { mainRepaint.Cpu(); }).Value,
                CpuMs(20, [&] { bareRepaint.Cpu(); }).Value);
}

// The Market Report at the end of a whole game (119 months, 13 headlines, 9 trends), the
// most it ever shows: read from the game again and the whole window drawn, at `scale` device
// pixels to a logical one.
TRanged ReportDrawing(MarketReportDialog& dialog, qreal scale) {
    QImage image(dialog.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    auto round = [&] {
        dialog.refresh();
        dialog.render(&image);
    };
    for (int i = 0; i < 10; ++i) round();
    return CpuMs(12, round);
}

// Waits for a window's first paint after it is shown: its own paint comes first, and its
// children's follow within the same event.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget& window) : window_(window) { window.installEventFilter(this); }
    // Wall and CPU nanoseconds from show() to the end of the first paint.
    std::pair<double, double> ShowAndWait() {
        painted_ = false;
        const auto t0 = Clock::now();
        const double c0 = ThreadCpuNs();
        window_.show();
        while (!painted_) QApplication::processEvents();
        const double cpu = ThreadCpuNs() - c0;
        const double wall = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
        window_.hide();
        QApplication::processEvents();
        return {wall, cpu};
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) painted_ = true;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
    bool painted_ = false;
};

// A dialog of the report's size and parts, built once and only shown: two white panels where
// the charts are, the log's title, a list of the same rows and a Close button.
struct PrebuiltDialog {
    QDialog dialog;
    explicit PrebuiltDialog(const QListWidget& log) {
        dialog.resize(780, 720);
        auto* layout = new QVBoxLayout(&dialog);
        layout->setContentsMargins(10, 10, 10, 10);
        layout->setSpacing(8);
        for (int stretch : {5, 4}) {
            auto* panel = new QWidget(&dialog);
            panel->setAutoFillBackground(true);
            panel->setPalette(QPalette(Qt::white));
            layout->addWidget(panel, stretch);
        }
        layout->addWidget(new QLabel(QStringLiteral("News log"), &dialog));
        auto* list = new QListWidget(&dialog);
        list->setWordWrap(true);
        for (int r = 0; r < log.count(); ++r) list->addItem(log.item(r)->text());
        layout->addWidget(list, 3);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        buttons->addWidget(new QPushButton(QStringLiteral("Close"), &dialog));
        layout->addLayout(buttons);
    }
};

void ReportFiguresOfAWholeGame() {
    QTemporaryDir dir;
    QuietEffects effects(false);
    TRealtopia app(effects, BenchPlatform(dir));
    app.cmd_playClick();
    Tmainform& form = app.mainform;
    form.Invoke(TCommand::Start);
    form.ListMouseUp(TList::Avail, {0, 1});
    form.Invoke(TCommand::KeyF6);
    for (int month = 0; month < 119; ++month) form.TimerFired();

    // The report as the program keeps it: built with the main window, shown when asked for.
    MarketReportDialog dialog(form.Game());
    dialog.show();
    QApplication::processEvents();
    const TMarketHistory& history = form.Game().State().History;
    std::printf("  %zu months, %zu log rows, window %d x %d\n", history.Months().size() + 1,
                history.Headlines().size() + history.Trends().size(), dialog.width(),
                dialog.height());

    Report("Market Report read and drawn", ReportDrawing(dialog, 1), 5.0);
    const TRanged twice = ReportDrawing(dialog, 2);
    std::printf("%-40s %9.4f ms CPU (blocks %.4f-%.4f)   (no target)\n",
                "  the same at twice the pixels", twice.Value, twice.Low, twice.High);
    dialog.hide();
    QApplication::processEvents();

    // Opening it: shown, read from the game and painted, against a prebuilt dialog of its
    // parts shown and painted, one of each in turn.
    PrebuiltDialog prebuilt(*dialog.findChild<QListWidget*>());
    FirstPaint reportPaint(dialog);
    FirstPaint prebuiltPaint(prebuilt.dialog);
    for (int i = 0; i < 5; ++i) {
        reportPaint.ShowAndWait();
        prebuiltPaint.ShowAndWait();
    }
    std::vector<std::vector<double>> wall, cpu;
    for (int block = 0; block < kBlocks; ++block) {
        std::vector<double> w, c;
        for (int i = 0; i < 8; ++i) {
            const auto [reportWall, reportCpu] = reportPaint.ShowAndWait();
            const auto [baseWall, baseCpu] = prebuiltPaint.ShowAndWait();
            w.push_back(reportWall / baseWall);
            c.push_back(reportCpu / baseCpu);
        }
        wall.push_back(std::move(w));
        cpu.push_back(std::move(c));
    }
    ReportRatio("Market Report first paint / prebuilt", Ranged(wall), 1.1,
                "prebuilt dialog, median of pairs");
    ReportRatio("Market Report first paint, CPU / prebuilt", Ranged(cpu), 2.0,
                "prebuilt dialog, CPU");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(realtopia_resources);

    Report("ticker step drawn and shown", TickerStep(), 0.3);
    ListsAndRepaint();
    ReportFiguresOfAWholeGame();
    return 0;
}
