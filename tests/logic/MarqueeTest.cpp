#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ui/TMarquee.h"

namespace {

// Every character is 10 pixels wide; records what the control asked of the toolkit.
class FakeMarqueeHost : public IMarqueeHost {
public:
    int TextWidth(const std::string& text) override { return 10 * static_cast<int>(text.size()); }
    void TimerChanged(bool enabled, int intervalMs) override {
        timerCalls.emplace_back(enabled, intervalMs);
    }
    void StripChanged() override { ++stripChanges; }
    void ProcessMessages() override { ++processed; }
    void MarqueeDestroyed() override { destroyed = true; }
    std::int64_t Now() override { return now; }

    std::int64_t now = 0;  // moved on by hand
    std::vector<std::pair<bool, int>> timerCalls;
    int stripChanges = 0;
    int processed = 0;
    bool destroyed = false;
};

// The main window's ticker: 722 x 31, lowered, medium speed, held for 100 steps.
void SetUpMainTicker(TMarquee& mq) {
    mq.Resize(722, 31);
    mq.SetBevelOuter(bvLowered);
    mq.SetBevelWidth(1);
    mq.SetSpeed(tsMedium);
    mq.SetPauseAmount(100);
    mq.SetDoPause(true);
    mq.SetOnScreen(true);
    mq.SetDirection(tdLeft);
}

void StepTimes(TMarquee& mq, int count) {
    for (int i = 0; i < count; ++i) mq.Step();
}

const std::string kPlay = "Press PLAY to start ";  // 200 pixels wide

}  // namespace

TEST(Marquee, MarkupSplitsIntoColouredSegments) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    mq.Resize(722, 31);

    mq.SetText("3%Red|Lime");
    ASSERT_EQ(mq.Segments().size(), 2u);
    EXPECT_EQ(mq.Segments()[0].Text, "Red");
    EXPECT_EQ(mq.Segments()[0].Color, 0xFF0000u);
    EXPECT_EQ(mq.Segments()[1].Text, "Lime");
    EXPECT_EQ(mq.Segments()[1].Color, 0x00FF00u);
    // Read aloud as two words, whatever blanks stand around them.
    EXPECT_EQ(mq.SpokenText(), "Red Lime");
    mq.SetText(" 3%Red  |Lime ");
    EXPECT_EQ(mq.SpokenText(), "Red Lime");
    mq.SetText("3%Red|Lime");
    mq.Step();
    ASSERT_EQ(mq.Strip().size(), 2u);
    EXPECT_EQ(mq.Strip()[0].X, 722);
    EXPECT_EQ(mq.Strip()[1].X, 722 + 30 + 5);  // 5 pixels after the red word
    EXPECT_EQ(mq.Strip()[0].Color, 0xFF0000u);

    mq.SetText("First||Second|Third");
    ASSERT_EQ(mq.Segments().size(), 1u);
    EXPECT_EQ(mq.Segments()[0].Text, "First");

    mq.SetText("|Nothing");
    EXPECT_TRUE(mq.Segments().empty());

    mq.SetText("Up 5%");
    ASSERT_EQ(mq.Segments().size(), 1u);
    EXPECT_EQ(mq.Segments()[0].Text, "Up 5%");
    EXPECT_EQ(mq.Segments()[0].Color, TMarquee::Lime);

    mq.SetText("2%a%b");  // two "%": not a colour field
    ASSERT_EQ(mq.Segments().size(), 1u);
    EXPECT_EQ(mq.Segments()[0].Text, "2%a%b");

    mq.SetText("0%black|2%yellow|255%red|65280%green|16711680%blue|$FF0000%hexblue");
    ASSERT_EQ(mq.Segments().size(), 6u);
    EXPECT_EQ(mq.Segments()[0].Color, 0x000000u);
    EXPECT_EQ(mq.Segments()[1].Color, 0xFFFF00u);
    EXPECT_EQ(mq.Segments()[2].Color, 0xFF0000u);
    EXPECT_EQ(mq.Segments()[3].Color, 0x00FF00u);
    EXPECT_EQ(mq.Segments()[4].Color, 0x0000FFu);
    EXPECT_EQ(mq.Segments()[5].Color, 0x0000FFu);
    EXPECT_EQ(mq.Segments()[5].Text, "hexblue");
}

TEST(Marquee, BadColourFieldKeepsEarlierSegmentsAndLeavesTimerStopped) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    mq.SetActive(true);
    ASSERT_TRUE(mq.TimerEnabled());

    mq.SetText("1%one|red%two|3%three");
    EXPECT_EQ(mq.Text(), "1%one|red%two|3%three");
    ASSERT_EQ(mq.Segments().size(), 1u);
    EXPECT_EQ(mq.Segments()[0].Text, "one");
    EXPECT_TRUE(mq.Active());
    EXPECT_FALSE(mq.TimerEnabled());

    mq.SetText("%empty colour");
    EXPECT_TRUE(mq.Segments().empty());
    mq.SetText("99999999999%too big");
    EXPECT_TRUE(mq.Segments().empty());

    // A good text afterwards restarts the stopped timer.
    mq.SetText("fine");
    EXPECT_TRUE(mq.TimerEnabled());
}

TEST(Marquee, DrawingAreaShrinksByBorderBevelsAndFourPixels) {
    TMarquee mq;
    mq.Resize(722, 31);
    mq.SetBevelOuter(bvLowered);
    mq.SetBevelWidth(1);
    TMarqueeRect area = mq.DrawingArea();
    EXPECT_EQ(area.Left, 5);
    EXPECT_EQ(area.Top, 5);
    EXPECT_EQ(area.Width, 712);
    EXPECT_EQ(area.Height, 21);

    mq.SetBevelInner(bvRaised);
    mq.SetBevelWidth(2);
    mq.SetBorderWidth(3);
    area = mq.DrawingArea();
    EXPECT_EQ(area.Left, 3 + 2 + 2 + 4);
    EXPECT_EQ(area.Width, 722 - 2 * 11);
    EXPECT_EQ(area.Height, 31 - 2 * 11);

    mq.SetBevelInner(bvNone);
    mq.SetBevelOuter(bvNone);
    EXPECT_EQ(mq.DrawingArea().Left, 3 + 4);

    mq.Resize(6, 6);
    EXPECT_EQ(mq.DrawingArea().Width, 0);
    EXPECT_EQ(mq.DrawingArea().Height, 0);
}

TEST(Marquee, CreatedIdleWithSlowTimerDisabledAt100ms) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    EXPECT_FALSE(mq.Active());
    EXPECT_FALSE(mq.OnScreen());
    EXPECT_EQ(mq.Direction(), tdLeft);
    EXPECT_EQ(mq.Speed(), tsSlow);
    EXPECT_FALSE(mq.TimerEnabled());
    EXPECT_EQ(mq.TimerInterval(), 100);
    EXPECT_EQ(mq.BevelOuter(), bvRaised);

    mq.SetSpeed(tsFast);  // inactive: new interval, timer stays off
    EXPECT_EQ(mq.TimerInterval(), 10);
    EXPECT_FALSE(mq.TimerEnabled());
    mq.SetSpeed(tsMedium);
    mq.SetActive(true);
    EXPECT_TRUE(mq.TimerEnabled());
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 30));
    mq.SetSpeed(tsSlow);  // active: stopped and restarted at the new interval
    ASSERT_GE(host.timerCalls.size(), 2u);
    EXPECT_EQ(host.timerCalls[host.timerCalls.size() - 2].first, false);
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 60));
}

TEST(Marquee, MainTickerPassEntersHoldsRunsOutAndFinishes) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    SetUpMainTicker(mq);
    mq.SetText(kPlay);
    mq.SetActive(true);

    mq.Step();
    ASSERT_EQ(mq.Strip().size(), 1u);
    EXPECT_EQ(mq.Strip()[0].X, 722);  // enters at the right edge
    EXPECT_EQ(mq.Strip()[0].Text, kPlay);
    EXPECT_EQ(mq.ScrollPos(), 5);
    EXPECT_TRUE(mq.OnScreen());

    StepTimes(mq, 142);
    EXPECT_EQ(mq.ScrollPos(), 715);
    EXPECT_EQ(mq.PauseCount(), 0);

    // ScrollPos would become 720: held for exactly 100 steps, 7 pixels into the strip.
    for (int i = 1; i <= 100; ++i) {
        mq.Step();
        ASSERT_EQ(mq.ScrollPos(), 715) << "hold step " << i;
        ASSERT_EQ(mq.PauseCount(), i);
        ASSERT_EQ(mq.Strip()[0].X, 7);
    }
    EXPECT_EQ(mq.TimerInterval(), 30);

    mq.Step();  // the 101st is released
    EXPECT_EQ(mq.ScrollPos(), 720);
    EXPECT_EQ(mq.PauseCount(), 0);
    EXPECT_EQ(mq.TimerInterval(), 30);

    mq.Step();  // past the pause point: the rest runs out at 10 ms
    EXPECT_EQ(mq.Strip()[0].X, 2);
    EXPECT_TRUE(mq.TimerEnabled());
    EXPECT_EQ(mq.TimerInterval(), 10);
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 10));

    // The text (200 px) is gone once ScrollPos reaches 200 + 722.
    int runOut = 0;
    while (mq.Active() && runOut < 1000) {
        mq.Step();
        ++runOut;
    }
    EXPECT_EQ(runOut, 40);
    EXPECT_EQ(mq.ScrollPos(), 0);
    EXPECT_FALSE(mq.OnScreen());
    EXPECT_FALSE(mq.TimerEnabled());
    EXPECT_EQ(mq.TimerInterval(), 30);  // the speed's interval is back
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(false, 30));
    EXPECT_EQ(host.processed, 1 + 142 + 100 + 2 + 40);

    // Stop after the pass does nothing; the next pass starts from the right edge again.
    const std::size_t calls = host.timerCalls.size();
    mq.Stop();
    EXPECT_EQ(host.timerCalls.size(), calls);
    mq.SetActive(true);
    mq.Stop();  // nothing drawn yet, so nothing on screen to stop
    EXPECT_TRUE(mq.Active());
    mq.Step();
    EXPECT_EQ(mq.Strip()[0].X, 722);
}

namespace {

// The main ticker with kPlay, stepped to the first step of the hold (ScrollPos held at 715).
void StepIntoTheHold(TMarquee& mq) {
    SetUpMainTicker(mq);
    mq.SetText(kPlay);
    mq.SetActive(true);
    StepTimes(mq, 144);
    ASSERT_EQ(mq.PauseCount(), 1);
    ASSERT_EQ(mq.Strip()[0].X, 7);
}

}  // namespace

// While the text is held nothing moves: the timer is asked for one wait for the whole rest of
// the hold (99 more held steps and the step that lets the text go), and that one event leaves
// the ticker exactly where 100 events would have.
TEST(Marquee, AHeldTextSleepsThroughItsHoldInOneTimerEvent) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    StepIntoTheHold(mq);
    EXPECT_EQ(mq.SleepSteps(), 100);
    EXPECT_EQ(mq.TimerWait(), 3000);
    EXPECT_EQ(mq.TimerInterval(), 30);  // the step interval itself is the speed's
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 3000));

    const int changes = host.stripChanges;
    const int processed = host.processed;
    host.now += 3000;
    mq.Step();
    EXPECT_EQ(mq.PauseCount(), 0);  // released
    EXPECT_EQ(mq.ScrollPos(), 720);
    EXPECT_EQ(mq.Strip()[0].X, 7);
    EXPECT_EQ(host.stripChanges, changes + 1);  // the releasing step, drawn where it stood
    EXPECT_EQ(host.processed, processed + 1);
    EXPECT_EQ(mq.TimerWait(), 30);
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 30));

    host.now += 30;
    mq.Step();  // moves on and runs out fast, as without the sleep
    EXPECT_EQ(mq.Strip()[0].X, 2);
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 10));

    // An event before its time (a test's, or a late clock) makes only the steps due, and at
    // least one; a hold of any length sleeps a minute at most at a time.
    FakeMarqueeHost early;
    TMarquee held(&early);
    StepIntoTheHold(held);
    early.now += 600;
    held.Step();
    EXPECT_EQ(held.PauseCount(), 21);
    EXPECT_EQ(held.TimerWait(), 80 * 30);
    held.Step();  // no time has passed: one step
    EXPECT_EQ(held.PauseCount(), 22);
    EXPECT_EQ(held.SleepSteps(), 100 - 22 + 1);
    held.SetPauseAmount(10'000'000);
    EXPECT_EQ(held.TimerWait(), TMarquee::MaxSleepMs);
    early.now += TMarquee::MaxSleepMs;
    held.Step();
    EXPECT_EQ(held.PauseCount(), 22 + 2000);
    EXPECT_EQ(held.ScrollPos(), 715);
    EXPECT_EQ(held.TimerWait(), TMarquee::MaxSleepMs);
}

// Every change during a sleeping hold first counts the held steps whose time had come, so the
// ticker is in the state it would have reached step by step (the simulation below tries every
// kind of change).
TEST(Marquee, ChangesDuringASleepingHoldCountTheStepsThatPassed) {
    {
        // The before-PLAY text told again mid-hold changes nothing: the strip stays drawn
        // and the hold sleeps on to its end.
        FakeMarqueeHost host;
        TMarquee mq(&host);
        StepIntoTheHold(mq);
        host.now += 1500;
        host.timerCalls.clear();
        mq.SetText(kPlay);
        mq.SetActive(true);
        EXPECT_EQ(mq.PauseCount(), 51);
        EXPECT_FALSE(mq.StripCleared());
        EXPECT_TRUE(host.timerCalls.empty());
        host.now += 1500;
        mq.Step();
        EXPECT_EQ(mq.PauseCount(), 0);
        EXPECT_EQ(mq.ScrollPos(), 720);
        EXPECT_EQ(mq.Strip()[0].X, 7);
    }
    {
        // A shorter hold set mid-hold keeps the time of the step under way.
        FakeMarqueeHost host;
        TMarquee mq(&host);
        StepIntoTheHold(mq);
        host.now += 1010;
        mq.SetPauseAmount(50);
        EXPECT_EQ(mq.PauseCount(), 34);
        EXPECT_EQ(mq.TimerWait(), (50 - 34 + 1) * 30 - 20);
        EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 490));
        host.now += 490;  // 1,500 ms after the hold began: 50 held steps, then the release
        mq.Step();
        EXPECT_EQ(mq.PauseCount(), 0);
        EXPECT_EQ(mq.ScrollPos(), 720);
    }
}

namespace {

// A toolkit's repeating timer on a simulated clock. The reference ticker's host runs its timer
// at the step interval whatever wait it is asked for, gives the ticker a clock that stands
// still and no frame, so every event is exactly one step: the ticker as it is without
// sleeping.
class SimulatedHost : public IMarqueeHost {
public:
    SimulatedHost(bool reference, int frame) : reference_(reference), frame_(frame) {}

    int TextWidth(const std::string& text) override { return 10 * static_cast<int>(text.size()); }
    void TimerChanged(bool enabled, int wait) override {
        if (!enabled) {
            running_ = false;
            return;
        }
        const int period = reference_ ? marquee->TimerInterval() : wait;
        if (reference_ && running_ && period == period_) return;  // no change: no restart
        running_ = true;
        period_ = period;
        due_ = clock + period;
    }
    void StripChanged() override {}
    void ProcessMessages() override {}
    std::int64_t Now() override { return reference_ ? 0 : clock; }
    int FrameMs() override { return reference_ ? 0 : frame_; }

    // Runs the timer's events due at `clock`.
    void Fire() {
        for (int guard = 0; running_ && due_ <= clock && guard < 10; ++guard) {
            due_ += period_;
            ++events;
            marquee->Step();
        }
    }

    TMarquee* marquee = nullptr;
    std::int64_t clock = 0;
    int events = 0;

private:
    bool reference_;
    int frame_;
    bool running_ = false;
    int period_ = 0;
    std::int64_t due_ = 0;
};

// What a ticker shows and where its pass stands.
struct TickerState {
    std::vector<TDrawnText> strip;
    bool active;
    bool onScreen;
    std::uint32_t color;
    int scrollPos;
    int pauseCount;

    explicit TickerState(const TMarquee& m)
        : strip(m.Strip()),
          active(m.Active()),
          onScreen(m.OnScreen()),
          color(m.Color()),
          scrollPos(m.ScrollPos()),
          pauseCount(m.PauseCount()) {}
    bool operator==(const TickerState& o) const {
        if (strip.size() != o.strip.size()) return false;
        for (std::size_t i = 0; i < strip.size(); ++i) {
            if (strip[i].X != o.strip[i].X || strip[i].Text != o.strip[i].Text ||
                strip[i].Color != o.strip[i].Color)
                return false;
        }
        return active == o.active && onScreen == o.onScreen && color == o.color &&
               scrollPos == o.scrollPos && pauseCount == o.pauseCount;
    }
};

struct TickerPair {
    explicit TickerPair(int frame = 0) : host(false, frame), frame_(frame) { SetUpPair(); }
    SimulatedHost referenceHost{true, 0};
    SimulatedHost host;
    TMarquee reference{&referenceHost};
    TMarquee mq{&host};

    void SetUpPair() {
        referenceHost.marquee = &reference;
        host.marquee = &mq;
        SetUpMainTicker(reference);
        SetUpMainTicker(mq);
    }
    template <typename Change>
    void Apply(Change change) {
        change(reference);
        change(mq);
    }
    // One millisecond: the timers' events.
    void Tick(std::int64_t t) {
        referenceHost.clock = host.clock = t;
        referenceHost.Fire();
        const int events = host.events;
        host.Fire();
        woke_ = host.events != events;
        now_ = t;
        Remember();
        while (history_.size() > 1 && history_[1].first <= t - frame_) history_.pop_front();
    }
    // Both show the same; with a frame, the ticker's event leaves it where the reference is,
    // and between its events it shows what the reference showed at most a frame ago.
    bool Agree() {
        Remember();  // after a change from outside
        const TickerState now(mq);
        if (frame_ == 0 || woke_) return now == TickerState(reference);
        for (const auto& [time, state] : history_)
            if (state == now) return true;
        return false;
    }

private:
    void Remember() {
        if (history_.empty() || !(history_.back().second == TickerState(reference)))
            history_.emplace_back(now_, TickerState(reference));
    }

    int frame_;
    bool woke_ = false;
    std::int64_t now_ = 0;
    std::deque<std::pair<std::int64_t, TickerState>> history_;
};

}  // namespace

// A host whose screen shows a picture every 16 ms: steps 10 ms apart come two to an event.
TEST(Marquee, StepsCloserThanAFrameAreMadeTogether) {
    struct FrameHost : FakeMarqueeHost {
        int FrameMs() override { return 16; }
    };
    const auto start = [](TMarquee& mq) {
        SetUpMainTicker(mq);
        mq.SetSpeed(tsFast);
        mq.SetPauseAmount(0);  // no hold: the text runs straight through
        mq.SetText(kPlay);
        mq.SetActive(true);
    };
    {
        FrameHost host;
        TMarquee mq(&host);
        start(mq);
        EXPECT_EQ(TMarquee::FrameMsAt(0), 16);   // a screen that does not say: 60 Hz
        EXPECT_EQ(TMarquee::FrameMsAt(144), 6);  // too short to make two steps of one
        EXPECT_EQ(mq.TimerInterval(), 10);
        EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 20));

        const int processed = host.processed;
        int events = 0;
        while (mq.ScrollPos() < 920 && events < 1000) {
            host.now += 20;
            mq.Step();
            ++events;
        }
        EXPECT_EQ(events, 92);  // 184 steps, two to an event, each drawn once
        EXPECT_EQ(host.processed, processed + events);
        EXPECT_EQ(mq.Strip()[0].X, 722 - 915);

        // The step that ends the pass falls due 10 ms into the next frame; a new start then
        // begins a new pass, as it would have after that step.
        host.now += 10;
        mq.SetActive(true);
        EXPECT_TRUE(mq.Active());
        EXPECT_EQ(mq.ScrollPos(), 0);
        EXPECT_EQ(mq.TimerWait(), 20);
    }
    {
        // Stopped 15 ms in: the step due at 10 ms put the text on the screen, so it stops.
        FrameHost host;
        TMarquee mq(&host);
        start(mq);
        host.now += 15;
        mq.Stop();
        EXPECT_FALSE(mq.Active());
        EXPECT_EQ(mq.ScrollPos(), 5);
        mq.SetActive(true);  // a whole frame from now, as a resumed timer starts
        EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 20));
    }
}

namespace {

void RunBesideSteppedTicker(int frame, int& eventsWithoutFrame) {
    {
        // A minute before PLAY: the text told again every 3 s.
        TickerPair pair(frame);
        for (std::int64_t t = 0; t <= 60000; ++t) {
            pair.Tick(t);
            if (t % 3000 == 0)
                pair.Apply([](TMarquee& m) {
                    m.SetText(" Press PLAY to start ");
                    m.SetActive(true);
                });
            ASSERT_TRUE(pair.Agree()) << "at " << t << " ms";
        }
        EXPECT_GT(pair.referenceHost.events, 1500);
        EXPECT_LT(pair.host.events, pair.referenceHost.events * 7 / 10);
    }
    {
        // Pauses, speeds, shorter and longer holds, colours and new texts at odd moments.
        TickerPair pair(frame);
        std::mt19937 random(23);
        const auto roll = [&](int n) { return static_cast<int>(random() % n); };
        pair.Apply([](TMarquee& m) {
            m.SetText("A headline of some length ");
            m.SetActive(true);
        });
        std::int64_t next = 0;
        int whileAsleep = 0;
        for (std::int64_t t = 0; t <= 600000; ++t) {
            pair.Tick(t);
            if (t == next) {
                if (pair.mq.SleepSteps() > 1) ++whileAsleep;
                const int what = roll(8);
                const int pause = 20 + roll(120);
                const auto speed = static_cast<TSpeed>(roll(3));
                pair.Apply([&](TMarquee& m) {
                    switch (what) {
                        case 0:
                            m.Stop();
                            break;
                        case 1:
                            m.SetActive(true);
                            break;
                        case 2:
                            m.SetSpeed(speed);
                            break;
                        case 3:
                            m.SetPauseAmount(pause);
                            break;
                        case 4:
                            m.SetColor(m.Color() == 0 ? 0x000080 : 0);
                            break;
                        case 5:
                            m.SetText(m.Text() == kPlay ? "Another headline " : kPlay);
                            break;
                        default:
                            m.SetActive(false);
                            m.SetText(kPlay);
                            m.SetActive(true);
                            break;
                    }
                });
                ASSERT_TRUE(pair.Agree()) << "after the change at " << t;
                next = t + 1 + roll(4000);
            }
            ASSERT_TRUE(pair.Agree()) << "at " << t << " ms";
        }
        EXPECT_GE(whileAsleep, 20);  // the changes that matter here
        EXPECT_LT(pair.host.events, pair.referenceHost.events);
        // Fast steps, and every run-out, two to an event.
        if (frame == 0)
            eventsWithoutFrame = pair.host.events;
        else
            EXPECT_LT(pair.host.events, eventsWithoutFrame * 8 / 10);
    }
}

}  // namespace

// Against the ticker stepped at every interval, millisecond by millisecond: the same picture
// at every moment (with a frame, at every event of the timer, and at most a frame behind
// between them), the same state after every change, and far fewer timer events.
TEST(Marquee, SleepingThroughHoldsAndFramesShowsWhatSteppingShows) {
    int eventsWithoutFrame = 0;
    for (const int frame : {0, 16}) {
        SCOPED_TRACE(frame);
        RunBesideSteppedTicker(frame, eventsWithoutFrame);
    }
}

TEST(Marquee, SettingTextMidPassContinuesAndANewOneClearsTheStrip) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    SetUpMainTicker(mq);
    mq.SetText(kPlay);
    mq.SetActive(true);
    StepTimes(mq, 50);
    ASSERT_EQ(mq.ScrollPos(), 250);
    ASSERT_FALSE(mq.StripCleared());

    // The same text again leaves the strip and the timer alone: no blank step.
    const int changes = host.stripChanges;
    host.timerCalls.clear();
    mq.SetText(kPlay);
    EXPECT_FALSE(mq.StripCleared());
    EXPECT_EQ(host.stripChanges, changes);
    EXPECT_TRUE(host.timerCalls.empty());
    EXPECT_EQ(mq.ScrollPos(), 250);

    // Another text clears the strip and goes on from the same place.
    mq.SetText("Another headline ");
    EXPECT_TRUE(mq.StripCleared());
    EXPECT_EQ(host.stripChanges, changes + 1);
    EXPECT_EQ(mq.ScrollPos(), 250);
    ASSERT_EQ(host.timerCalls.size(), 2u);  // stopped while the text changes, then restarted
    EXPECT_EQ(host.timerCalls[0], std::make_pair(false, 30));
    EXPECT_EQ(host.timerCalls[1], std::make_pair(true, 30));
    mq.Step();
    EXPECT_EQ(mq.Strip()[0].X, 722 - 250);
    EXPECT_EQ(mq.Strip()[0].Text, "Another headline ");
}

TEST(Marquee, StopFreezesAPassAndActiveResumesIt) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    SetUpMainTicker(mq);
    mq.SetText(kPlay);
    mq.SetActive(true);
    StepTimes(mq, 10);

    mq.Stop();
    EXPECT_FALSE(mq.Active());
    EXPECT_FALSE(mq.OnScreen());
    EXPECT_FALSE(mq.TimerEnabled());
    EXPECT_EQ(mq.ScrollPos(), 50);
    ASSERT_EQ(mq.Strip().size(), 1u);  // the text stays drawn where it stood
    EXPECT_EQ(mq.Strip()[0].X, 722 - 45);

    mq.SetActive(true);
    EXPECT_TRUE(mq.TimerEnabled());
    EXPECT_EQ(mq.TimerInterval(), 30);
    mq.Step();
    EXPECT_EQ(mq.Strip()[0].X, 722 - 50);
    EXPECT_EQ(mq.ScrollPos(), 55);
}

TEST(Marquee, SpeedChangeDuringRunOutLastsUntilTheNextStep) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    SetUpMainTicker(mq);
    mq.SetPauseAmount(0);
    mq.SetText(kPlay);
    mq.SetActive(true);
    StepTimes(mq, 146);  // 5 * 146 = 730: in the run-out
    ASSERT_EQ(mq.TimerInterval(), 10);

    host.timerCalls.clear();
    mq.SetSpeed(tsSlow);
    EXPECT_TRUE(mq.TimerEnabled());
    EXPECT_EQ(mq.TimerInterval(), 60);
    ASSERT_FALSE(host.timerCalls.empty());
    EXPECT_EQ(host.timerCalls.back(), std::make_pair(true, 60));

    mq.Step();
    EXPECT_EQ(mq.TimerInterval(), 10);
    EXPECT_TRUE(mq.TimerEnabled());
}

TEST(Marquee, WithoutPauseTheSpeedIsKeptAndResizeRestarts) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    mq.Resize(722, 31);
    mq.SetSpeed(tsFast);
    mq.SetSpeed(tsMedium);
    mq.SetText(kPlay);
    mq.SetActive(true);
    StepTimes(mq, 150);
    EXPECT_EQ(mq.ScrollPos(), 750);
    EXPECT_EQ(mq.TimerInterval(), 30);

    mq.Resize(400, 31);
    EXPECT_EQ(mq.ScrollPos(), 0);
    EXPECT_TRUE(mq.StripCleared());
    mq.Step();
    EXPECT_EQ(mq.Strip()[0].X, 400);

    mq.Resize(400, 31);  // the same size is no resize
    EXPECT_EQ(mq.ScrollPos(), 5);
}

TEST(Marquee, OtherDirections) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    mq.Resize(722, 31);  // drawing area from 5 to 717
    mq.SetDirection(tdRight);
    mq.SetText("abc");
    mq.SetActive(true);
    mq.Step();
    EXPECT_EQ(mq.Strip()[0].X, 3);
    int steps = 1;
    while (mq.Active() && steps < 1000) {
        mq.Step();
        ++steps;
    }
    EXPECT_EQ(steps, 144);  // 5 * 144 = 720 >= 717
    EXPECT_EQ(mq.ScrollPos(), 5 - 30);
    EXPECT_FALSE(mq.OnScreen());
    mq.Step();  // the next pass enters from the left
    EXPECT_EQ(mq.Strip()[0].X, 5 - 30 + 3);

    mq.SetDirection(tdNone);
    mq.SetText("1%a|2%b");
    const int pos = mq.ScrollPos();
    mq.Step();
    ASSERT_EQ(mq.Overlay().size(), 2u);
    EXPECT_EQ(mq.Overlay()[0].X, 0);
    EXPECT_EQ(mq.Overlay()[1].X, 0);
    EXPECT_EQ(mq.Overlay()[1].Color, 0xFFFF00u);
    EXPECT_TRUE(mq.OnScreen());
    EXPECT_EQ(mq.ScrollPos(), pos);
}

TEST(Marquee, RunsWithoutHostAndDetachesOnDestruction) {
    TMarquee bare;
    bare.Resize(100, 20);
    bare.SetText("no toolkit");
    bare.SetActive(true);
    StepTimes(bare, 19);
    EXPECT_TRUE(bare.Active());
    bare.Step();  // widths are 0: the pass ends once ScrollPos reaches the width
    EXPECT_FALSE(bare.Active());

    FakeMarqueeHost host;
    auto mq = std::make_unique<TMarquee>(&host);
    mq->SetActive(true);
    mq.reset();
    EXPECT_TRUE(host.destroyed);
    EXPECT_EQ(host.timerCalls.back().first, false);
}
