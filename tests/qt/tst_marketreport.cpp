// The Market Report window: what it shows of a game of a few years, an empty game drawn, the
// keyboard between its parts and out of it, and its lines sharp at twice the scale.

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "desktop/MarketChart.h"
#include "desktop/MarketReportDialog.h"
#include "desktop/WidgetHelpers.h"
#include "support/QuietEffects.h"
#include "ui/MarketReport.h"
#include "windows/TRealtopia.h"

namespace {

// How many pixels of `image` are within a few steps of `colour`.
int PixelsNear(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                24)
                ++count;
        }
    return count;
}

QColor Colour(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
}

}  // namespace

class TestMarketReport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheChartsAndTheLogOfAGame();
    void anEmptyGameIsDrawn();
    void tabMovesBetweenThePartsAndEscOrEnterCloses();
    void gridLinesAreSharpAtTwiceTheScale();
    void aSmallScreenHoldsTheWholeWindow();
    void theLogIsFilledAgainOnlyWhenItsRowsChanged();

private:
    // A seeded game played for `months` with three London properties bought.
    void play(int months);
    template <typename T>
    T* part(MarketReportDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no part named %s", name);
        return widget;
    }

    QTemporaryDir dir;
    std::unique_ptr<QuietEffects> effects;
    std::unique_ptr<TRealtopia> app;
};

void TestMarketReport::init() {
    QVERIFY(dir.isValid());
    effects = std::make_unique<QuietEffects>();
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.FirstArgument = "noini";
    platform.UserDataDirectory = dir.path().toStdString();
    platform.Seed = 11;
    app = std::make_unique<TRealtopia>(*effects, platform);
}

void TestMarketReport::cleanup() {
    app.reset();
    effects.reset();
}

void TestMarketReport::play(int months) {
    app->cmd_playClick();  // the agreement is accepted
    Tmainform& form = app->mainform;
    form.Invoke(TCommand::Start);
    form.ListMouseUp(TList::Avail, {0, 1, 2});
    form.Invoke(TCommand::KeyF6);
    for (int i = 0; i < months; ++i) form.TimerFired();
}

void TestMarketReport::showsTheChartsAndTheLogOfAGame() {
    play(60);  // January 2005
    const TGame& game = app->mainform.Game();
    const TMarketReport report(game);
    MarketReportDialog dialog(game);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Market Report"));

    // Five years of months and the one in progress, six lines and the net worth.
    auto* prices = part<MarketChart>(dialog, "chart_prices");
    auto* worth = part<MarketChart>(dialog, "chart_worth");
    QCOMPARE(prices->chart().Series.size(), std::size_t{6});
    for (const TChartSeries& series : prices->chart().Series)
        QCOMPARE(series.Points.size(), std::size_t{2 * 61});
    QCOMPARE(worth->chart().Series.front().Points.size(), std::size_t{2 * 61});
    QCOMPARE(worth->chart().Levels.size(), std::size_t{2});
    QVERIFY(prices->chart().HasCurrent);
    QCOMPARE(prices->plotRect().left(), worth->plotRect().left());  // the months line up
    QVERIFY(!prices->accessibleDescription().isEmpty());

    // Every area's line and both thresholds are painted.
    const QImage pricePicture = prices->grab().toImage();
    for (std::uint32_t colour : TMarketReport::kAreaColours)
        QVERIFY2(PixelsNear(pricePicture, Colour(colour)) > 20,
                 qPrintable(QString::number(colour, 16)));
    const QImage worthPicture = worth->grab().toImage();
    QVERIFY(PixelsNear(worthPicture, Colour(TMarketReport::kMagnateColour)) > 20);
    QVERIFY(PixelsNear(worthPicture, Colour(TMarketReport::kGuruColour)) > 20);

    // The log: one row a headline, trend or event, read by a screen reader row by row; only
    // the newest headline is marked as still to land.
    auto* log = part<QListWidget>(dialog, "lst_news");
    QCOMPARE(log->count(), static_cast<int>(report.Log().size()));
    QVERIFY(log->count() >= 12);  // 7 headlines and 5 trends at least
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(log);
    QVERIFY(list);
    int pending = 0;
    for (int r = 0; r < log->count(); ++r) {
        const QString sentence = QString::fromStdString(report.Log()[r].AccessibleText());
        QCOMPARE(log->item(r)->data(Qt::AccessibleTextRole).toString(), sentence);
        QAccessibleInterface* row = list->child(r);
        QVERIFY(row);
        QCOMPARE(row->text(QAccessible::Name), sentence);
        if (sentence.endsWith(QStringLiteral("(lands with the next headline)"))) {
            ++pending;
            QVERIFY(sentence.contains(QString::fromStdString(
                game.State().NewsItems[game.State().PendingNews - 1].Headline)));
        }
    }
    QCOMPARE(pending, 1);
    QCOMPARE(log->currentRow(), log->count() - 1);  // the latest news in sight
}

void TestMarketReport::anEmptyGameIsDrawn() {
    MarketReportDialog dialog(app->mainform.Game());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* prices = part<MarketChart>(dialog, "chart_prices");
    for (const TChartSeries& series : prices->chart().Series) QVERIFY(series.Points.empty());
    // The legend names the areas; the plot holds no line.
    const QImage picture = prices->grab().toImage();
    const QImage plot = picture.copy(prices->plotRect());
    for (std::uint32_t colour : TMarketReport::kAreaColours) {
        QVERIFY(PixelsNear(picture, Colour(colour)) > 0);
        QCOMPARE(PixelsNear(plot, Colour(colour)), 0);
    }
    QVERIFY(!part<MarketChart>(dialog, "chart_worth")->grab().isNull());

    auto* log = part<QListWidget>(dialog, "lst_news");
    QCOMPARE(log->count(), 1);
    QCOMPARE(log->item(0)->text(), QStringLiteral("No headline yet"));
    QVERIFY(!(log->item(0)->flags() & Qt::ItemIsSelectable));
}

void TestMarketReport::tabMovesBetweenThePartsAndEscOrEnterCloses() {
    play(20);
    MarketReportDialog dialog(app->mainform.Game());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const QStringList order = {QStringLiteral("chart_prices"), QStringLiteral("chart_worth"),
                               QStringLiteral("lst_news"), QStringLiteral("cmd_close"),
                               QStringLiteral("chart_prices")};
    QCOMPARE(QApplication::focusWidget()->objectName(), order.front());
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    // Shown again, Enter in the log closes it too.
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    part<QListWidget>(dialog, "lst_news")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestMarketReport::aSmallScreenHoldsTheWholeWindow() {
    // A 1024 x 600 netbook is lower than the window's preferred 720 pixels: it opens smaller,
    // whole, with room for its title bar, and Close and a few rows of the log still show.
    play(30);
    MarketReportDialog dialog(app->mainform.Game());
    const QRect netbook(0, 0, 1024, 600);
    const QRect place = sidewindows::FittedGeometry(MarketReportDialog::kPreferredSize,
                                                    dialog.minimumSizeHint(), netbook);
    QVERIFY(netbook.contains(place));
    QVERIFY(place.height() <= 600 - 40);
    QCOMPARE(place.width(), 780);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.setGeometry(place);
    QTRY_COMPARE(dialog.size(), place.size());
    auto* close = part<QPushButton>(dialog, "cmd_close");
    const QRect closePlace(close->mapTo(&dialog, QPoint(0, 0)), close->size());
    QVERIFY(dialog.rect().contains(closePlace));
    QVERIFY(part<QListWidget>(dialog, "lst_news")->height() >= 40);
    dialog.hide();

    // Where there is room it opens at its preferred size, and on this screen it fits.
    QCOMPARE(sidewindows::FittedGeometry(MarketReportDialog::kPreferredSize,
                                         dialog.minimumSizeHint(), QRect(0, 0, 1280, 1024))
                 .size(),
             MarketReportDialog::kPreferredSize);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.screen()->availableGeometry().contains(dialog.geometry()));
}

void TestMarketReport::gridLinesAreSharpAtTwiceTheScale() {
    play(30);
    MarketReportDialog dialog(app->mainform.Game());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* prices = part<MarketChart>(dialog, "chart_prices");

    // Drawn at twice the pixels, a grid line of one logical pixel covers exactly two rows of
    // the grid's grey, with white above and below it (looked at right of the months shown).
    QImage image(prices->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::black);
    prices->render(&image);
    const QRect plot = prices->plotRect();
    auto row = [&](double y) { return plot.bottom() + 1 - y * plot.height(); };
    const int x = 2 * (plot.right() - 2);
    int checked = 0;
    for (const TAxisMark& level : prices->chart().ValueLabels) {
        const int y = static_cast<int>(std::floor(row(level.Position)));
        if (y < plot.top() + 20 || y >= plot.bottom()) continue;  // clear of the month's name
        const QColor grid = image.pixelColor(x, 2 * y);
        QVERIFY2(grid != Qt::white, qPrintable(QString::fromStdString(level.Label)));
        QCOMPARE(image.pixelColor(x, 2 * y + 1), grid);
        QCOMPARE(image.pixelColor(x, 2 * y - 1), QColor(Qt::white));
        QCOMPARE(image.pixelColor(x, 2 * y + 2), QColor(Qt::white));
        ++checked;
    }
    QVERIFY(checked >= 2);

    // A line of two logical pixels is four rows of its colour exactly: nothing blurred.
    const TChartSeries& london = prices->chart().Series.front();
    const double middle = (london.Points[10].X + london.Points[11].X) / 2;  // June 2000
    const int column = static_cast<int>(2 * (plot.left() + middle * plot.width()));
    const int centre = static_cast<int>(2 * std::round(row(london.Points[10].Y)));
    const QColor colour = Colour(london.Colour);
    int exact = 0;
    for (int y = centre - 8; y <= centre + 8; ++y) {
        const QColor pixel = image.pixelColor(column, y);
        const bool grey = pixel.red() == pixel.green() && pixel.green() == pixel.blue();
        if (pixel == colour)
            ++exact;
        else  // white or the grid's grey, never a blend of the line's colour
            QVERIFY2(grey, qPrintable(pixel.name()));
    }
    QCOMPARE(exact, 4);
}

// Shown again with no news since, the log keeps its rows as they were laid out; once news has
// come, it holds the game's rows again. Either way the latest news is in sight.
void TestMarketReport::theLogIsFilledAgainOnlyWhenItsRowsChanged() {
    play(30);
    const TGame& game = app->mainform.Game();
    MarketReportDialog dialog(game);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* log = part<QListWidget>(dialog, "lst_news");
    QVERIFY(log->count() > 1);
    constexpr int kMark = Qt::UserRole + 99;
    log->item(0)->setData(kMark, true);  // a mark only this row, as laid out, carries
    log->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    dialog.hide();
    dialog.show();
    QVERIFY(log->item(0)->data(kMark).toBool());
    QCOMPARE(log->currentRow(), log->count() - 1);

    dialog.hide();
    const std::vector<TLogRow> before = TMarketReport(game).Log();
    for (int month = 0; month < 24 && TMarketReport(game).Log() == before; ++month)
        app->mainform.TimerFired();
    const TMarketReport report(game);
    QVERIFY(report.Log() != before);
    dialog.show();
    QVERIFY(!log->item(0)->data(kMark).toBool());
    QCOMPARE(log->count(), static_cast<int>(report.Log().size()));
    for (int r = 0; r < log->count(); ++r)
        QCOMPARE(
            log->item(r)->data(Qt::AccessibleTextRole).toString(),
            QString::fromStdString(report.Log()[static_cast<std::size_t>(r)].AccessibleText()));
    QCOMPARE(log->currentRow(), log->count() - 1);
}

QTEST_MAIN(TestMarketReport)
#include "tst_marketreport.moc"
