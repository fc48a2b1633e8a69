#include <QApplication>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "desktop/MarqueeWidget.h"
#include "ui/TMarquee.h"

namespace {

bool IsLime(QRgb c) {
    return qGreen(c) > 160 && qRed(c) < 80 && qBlue(c) < 80;
}
bool IsRed(QRgb c) {
    return qRed(c) > 160 && qGreen(c) < 80 && qBlue(c) < 80;
}

// Counts pixels matching `test` inside `rect` (logical coordinates) of a grabbed widget.
template <typename Test>
int CountPixels(const QImage& image, const QRect& rect, Test test) {
    const qreal dpr = image.devicePixelRatio();
    const QRect device(qRound(rect.x() * dpr), qRound(rect.y() * dpr), qRound(rect.width() * dpr),
                       qRound(rect.height() * dpr));
    int count = 0;
    for (int y = device.top(); y <= device.bottom(); ++y) {
        for (int x = device.left(); x <= device.right(); ++x) {
            if (test(image.pixel(x, y))) ++count;
        }
    }
    return count;
}

// Lime pixels in the frame ring around the 712 x 21 drawing area at 5, 5.
int LimeOutsideDrawingArea(const QImage& image) {
    return CountPixels(image, QRect(0, 0, 722, 5), IsLime) +
           CountPixels(image, QRect(0, 26, 722, 5), IsLime) +
           CountPixels(image, QRect(0, 5, 5, 21), IsLime) +
           CountPixels(image, QRect(717, 5, 5, 21), IsLime);
}

void SetUpMainTicker(TMarquee& mq) {
    mq.SetBevelOuter(bvLowered);
    mq.SetBevelWidth(1);
    mq.SetSpeed(tsMedium);
    mq.SetPauseAmount(100);
    mq.SetDoPause(true);
    mq.SetOnScreen(true);
}

}  // namespace

class TestMarquee : public QObject {
    Q_OBJECT

private slots:
    void drawsTextInsideTheStripOnly();
    void drawsMarkupColours();
    void timerFollowsSpeed();
    void survivesEitherSideGoingFirst();
    void stepsPaintWhatAWholeDrawingGivesAndTheHoldPaintsNothing();
    void anUncoveredStripShowsTheLastStep();
};

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

// A step paints only where the text was or is now: what reaches the screen must be what a
// whole drawing of the widget gives, in both colours of the text, as the text enters, moves
// and leaves, and when a new text empties the strip. While the text is held nothing is
// painted.
void TestMarquee::stepsPaintWhatAWholeDrawingGivesAndTheHoldPaintsNothing() {
    {
        TMarquee mq;
        SetUpMainTicker(mq);
        std::int64_t now = 0;  // the ticker's clock, moved by hand (outlives the widget)
        MarqueeWidget w(mq);
        w.setClock(&now);
        w.resize(722, 31);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));  // so that a step's painting reaches it
        mq.SetText("3%Red first|Then lime, far along ");
        mq.SetActive(true);
        // What the steps' painting left on the (off-screen) screen, and the widget drawn whole.
        auto screen = [&] {
            QApplication::sendPostedEvents();  // a new text's update
            return QGuiApplication::primaryScreen()
                ->grabWindow(w.winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        auto whole = [&] { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); };
        for (int steps : {1, 2, 27, 60, 54}) {
            for (int i = 0; i < steps; ++i) w.step();
            QCOMPARE(screen(), whole());
        }
        // The run on a virtual X display checks the copies the server makes.
        if (qEnvironmentVariableIsSet("REALTOPIA_TEST_X11")) QVERIFY(w.drawsStepsOnServer());
        QCOMPARE(mq.ScrollPos(), 715);  // the first step of the hold
        QCOMPARE(mq.PauseCount(), 1);
        // The timer sleeps through the rest of the hold: 99 held steps and the release.
        QCOMPARE(w.timerInterval(), 100 * 30);
        PaintCounter counter;
        w.installEventFilter(&counter);
        for (int i = 0; i < 51; ++i) w.step();  // events before their time: a step each
        QCOMPARE(mq.PauseCount(), 52);
        QCOMPARE(counter.paints, 0);
        QCOMPARE(w.timerInterval(), 49 * 30);
        now += 49 * 30;
        w.step();  // the end of the sleep: the last held steps and the release at once
        QCOMPARE(mq.PauseCount(), 0);
        QCOMPARE(counter.paints, 0);
        QCOMPARE(w.timerInterval(), 30);
        const QImage held = screen();
        w.step();  // the text moves on, shown at once: painted, or copied on an X server
        QCOMPARE(counter.paints, w.drawsStepsOnServer() ? 0 : 1);
        QVERIFY(screen() != held);
        QCOMPARE(screen(), whole());
        for (int i = 0; i < 60; ++i) w.step();  // leaving
        QCOMPARE(screen(), whole());
        for (int i = 0; i < 1000 && mq.Active(); ++i) w.step();  // gone: the pass is over
        QVERIFY(!mq.Active());
        QCOMPARE(screen(), whole());
        mq.SetText("Another text ");  // the strip emptied
        QCOMPARE(screen(), whole());
        w.step();
        QCOMPARE(screen(), whole());
    }
}

// On X11 a step is copied on the server, behind the window's backing store: where a window
// that covered the ticker goes away, the strip must come back as the last step left it, not
// as the backing store last held it.
void TestMarquee::anUncoveredStripShowsTheLastStep() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("only an X11 display draws steps on the server");
    TMarquee mq;
    SetUpMainTicker(mq);
    std::int64_t now = 0;
    MarqueeWidget w(mq);
    w.setClock(&now);
    w.setGeometry(0, 0, 722, 31);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    mq.SetText("Press PLAY to start ");
    mq.SetActive(true);
    QApplication::sendPostedEvents();
    // Into the hold, which lasts a hundred timer events: the strip stands still meanwhile.
    for (int i = 0; i < 144; ++i) w.step();
    QVERIFY(w.drawsStepsOnServer());
    QCOMPARE(mq.PauseCount(), 1);
    auto screen = [&] {
        return QGuiApplication::primaryScreen()->grabWindow(w.winId()).toImage().convertToFormat(
            QImage::Format_RGB32);
    };
    const QImage whole = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(screen(), whole);

    QWidget cover;
    cover.setWindowFlags(Qt::ToolTip);  // placed where asked, over the ticker
    cover.setGeometry(w.geometry());
    cover.setAutoFillBackground(true);
    cover.setPalette(QPalette(Qt::white));
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTRY_VERIFY(screen() != whole);
    cover.hide();
    QTRY_COMPARE(screen(), whole);
}

void TestMarquee::drawsTextInsideTheStripOnly() {
    TMarquee mq;
    SetUpMainTicker(mq);
    MarqueeWidget w(mq);
    w.resize(722, 31);
    w.show();  // delivers the pending resize to the ticker
    QCOMPARE(mq.Width(), 722);
    QCOMPARE(mq.DrawingArea().Width, 712);
    QCOMPARE(w.frameStyle(), QFrame::Panel | QFrame::Sunken);

    mq.SetText("Press PLAY to start ");
    mq.SetActive(true);  // the hold needs it; no event loop runs, so steps come only from here
    for (int i = 0; i < 30; ++i) w.step();
    // The 30th step drew the text with its left edge at 722 - 145 in the strip.
    const int textLeft = 5 + 722 - 145;
    QImage image = w.grab().toImage();
    // Around the strip the ticker looks exactly like a plain sunken frame on black.
    QFrame plain;
    plain.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    plain.setLineWidth(1);
    plain.setAutoFillBackground(true);
    plain.setPalette(w.palette());
    plain.resize(722, 31);
    const QImage frame = plain.grab().toImage();
    const QRegion ring = QRegion(0, 0, 722, 31) - QRegion(5, 5, 712, 21);
    for (const QRect& r : ring) {
        QCOMPARE(image.copy(r), frame.copy(r));
    }
    QVERIFY(CountPixels(image, QRect(textLeft, 5, 717 - textLeft, 21), IsLime) > 50);
    QCOMPARE(CountPixels(image, QRect(5, 5, textLeft - 7, 21), IsLime), 0);
    QCOMPARE(LimeOutsideDrawingArea(image), 0);

    // Into the hold: the text stands 7 pixels into the strip, still clipped to it.
    for (int i = 0; i < 120; ++i) w.step();
    QCOMPARE(mq.ScrollPos(), 715);
    image = w.grab().toImage();
    QVERIFY(CountPixels(image, QRect(12, 5, 60, 21), IsLime) > 50);
    QCOMPARE(CountPixels(image, QRect(5, 5, 5, 21), IsLime), 0);
    QCOMPARE(LimeOutsideDrawingArea(image), 0);

    // A new text empties the strip at once.
    mq.SetText("Redeeming Mortgages.. ");
    image = w.grab().toImage();
    QCOMPARE(CountPixels(image, QRect(0, 0, 722, 31), IsLime), 0);
}

void TestMarquee::drawsMarkupColours() {
    TMarquee mq;
    SetUpMainTicker(mq);
    MarqueeWidget w(mq);
    w.resize(722, 31);
    w.show();
    mq.SetText("3%Red|Lime");
    for (int i = 0; i < 60; ++i) w.step();  // both words well inside the strip
    const int redWidth = w.TextWidth("Red");
    const int left = 5 + 722 - 295;
    const QImage image = w.grab().toImage();
    QVERIFY(CountPixels(image, QRect(left, 5, redWidth, 21), IsRed) > 20);
    QCOMPARE(CountPixels(image, QRect(left, 5, redWidth, 21), IsLime), 0);
    QVERIFY(CountPixels(image, QRect(left + redWidth + 5, 5, 60, 21), IsLime) > 20);
    QCOMPARE(CountPixels(image, QRect(left + redWidth + 5, 5, 60, 21), IsRed), 0);
}

void TestMarquee::timerFollowsSpeed() {
    TMarquee mq;
    SetUpMainTicker(mq);
    mq.SetSpeed(tsSlow);
    MarqueeWidget w(mq);
    w.resize(722, 31);
    w.show();
    QVERIFY(!w.timerActive());

    mq.SetText("End of the game ");
    mq.SetActive(true);
    QVERIFY(w.timerActive());
    QCOMPARE(w.timerInterval(), 60);
    mq.SetSpeed(tsMedium);
    QCOMPARE(w.timerInterval(), 30);
    // Steps 10 ms apart come faster than the screen's frames (60 a second): the timer waits
    // for two, and its event makes both.
    mq.SetSpeed(tsFast);
    QCOMPARE(w.FrameMs(), 16);
    QCOMPARE(w.timerInterval(), 20);
    QCOMPARE(mq.TimerInterval(), 10);
    mq.SetSpeed(tsMedium);

    // Stepped by hand (no event loop runs here) through the hold into the run-out.
    mq.SetPauseAmount(0);
    for (int i = 0; i < 145; ++i) w.step();
    QVERIFY(w.timerActive());
    QCOMPARE(w.timerInterval(), 20);
    int steps = 0;
    while (mq.Active() && steps < 1000) {
        w.step();
        ++steps;
    }
    QVERIFY(steps < 1000);
    QVERIFY(!w.timerActive());
    QCOMPARE(w.timerInterval(), 30);

    mq.SetActive(true);
    mq.Stop();  // nothing on screen yet: keeps running
    QVERIFY(w.timerActive());
    w.step();
    mq.Stop();
    QVERIFY(!w.timerActive());
}

void TestMarquee::survivesEitherSideGoingFirst() {
    auto mq = std::make_unique<TMarquee>();
    auto w = std::make_unique<MarqueeWidget>(*mq);
    mq->SetActive(true);
    QVERIFY(w->timerActive());
    mq.reset();  // the window logic is destroyed before its widget
    QVERIFY(!w->timerActive());
    QVERIFY(w->marquee() == nullptr);
    w->resize(300, 31);
    w->step();
    w.reset();

    TMarquee other;
    {
        MarqueeWidget shortLived(other);
        QVERIFY(other.Host() == &shortLived);
    }
    QVERIFY(other.Host() == nullptr);
    other.SetText("still safe ");
    other.Step();
}

QTEST_MAIN(TestMarquee)
#include "tst_marquee.moc"
