#include <gtest/gtest.h>

#include <memory>
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

TEST(Marquee, SettingTextMidPassContinuesAndClearsTheStrip) {
    FakeMarqueeHost host;
    TMarquee mq(&host);
    SetUpMainTicker(mq);
    mq.SetText(kPlay);
    mq.SetActive(true);
    StepTimes(mq, 50);
    ASSERT_EQ(mq.ScrollPos(), 250);
    ASSERT_FALSE(mq.StripCleared());

    const int changes = host.stripChanges;
    host.timerCalls.clear();
    mq.SetText(kPlay);
    EXPECT_TRUE(mq.StripCleared());
    EXPECT_EQ(host.stripChanges, changes + 1);
    EXPECT_EQ(mq.ScrollPos(), 250);
    ASSERT_EQ(host.timerCalls.size(), 2u);  // stopped while the text changes, then restarted
    EXPECT_EQ(host.timerCalls[0], std::make_pair(false, 30));
    EXPECT_EQ(host.timerCalls[1], std::make_pair(true, 30));
    mq.Step();
    EXPECT_EQ(mq.Strip()[0].X, 722 - 250);

    mq.SetText("Another headline ");
    mq.Step();
    EXPECT_EQ(mq.Strip()[0].X, 722 - 255);
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
