#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The scrolling news ticker without any drawing: properties, markup, timer state and the
// arithmetic of one scroll step. A toolkit (or the text front end, or a test) implements
// IMarqueeHost to measure text, run the timer and paint what Strip() describes.

enum TDirection { tdLeft, tdRight, tdNone };
enum TSpeed { tsSlow, tsMedium, tsFast };

// A ticker speed's name where a front end writes it as data: "slow", "medium" or "fast".
inline const char* SpeedName(TSpeed speed) {
    switch (speed) {
        case tsSlow:
            return "slow";
        case tsFast:
            return "fast";
        case tsMedium:
            break;
    }
    return "medium";
}
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

struct TSegment {
    std::string Text;
    std::uint32_t Color;  // 0xRRGGBB
};

// One text drawn by a step, its top at 0.
struct TDrawnText {
    int X;
    std::string Text;
    std::uint32_t Color;  // 0xRRGGBB
};

struct TMarqueeRect {
    int Left;
    int Top;
    int Width;
    int Height;
};

class IMarqueeHost {
public:
    virtual ~IMarqueeHost() = default;
    virtual int TextWidth(const std::string& text) = 0;  // in the control's font
    // Start/stop/re-interval: a repeating timer whose event calls Step(). A start or a new
    // interval begins a whole interval from now.
    virtual void TimerChanged(bool enabled, int intervalMs) = 0;
    virtual void StripChanged() = 0;  // the off-screen strip changed: schedule a repaint
    virtual void ProcessMessages() = 0;
    // The toolkit's monotonic time in milliseconds; a host whose timer runs by itself must
    // give the real time, one that only steps by hand may give a fixed one.
    virtual std::int64_t Now() = 0;
    // The time between two pictures of the screen, in ms (0: none given). Steps that come
    // faster than that are made together, and the picture drawn once for them, since the
    // screen would not show the ones in between.
    virtual int FrameMs() { return 0; }
    // The control is going away: forget it (it has stopped its timer already).
    virtual void MarqueeDestroyed() {}
};

class TMarquee {
public:
    static constexpr int StepPixels = 5;
    static constexpr int SegmentGap = 5;
    static constexpr int RunOutInterval = 10;
    static constexpr int InitialInterval = 100;
    static constexpr std::uint32_t Lime = 0x00FF00;

    explicit TMarquee(IMarqueeHost* host = nullptr);
    ~TMarquee();
    TMarquee(const TMarquee&) = delete;
    TMarquee& operator=(const TMarquee&) = delete;

    IMarqueeHost* Host() const { return host_; }
    // A new host has drawn nothing yet: the next step draws, whatever is held.
    void SetHost(IMarqueeHost* host);

    bool Active() const { return active_; }
    void SetActive(bool active);
    bool OnScreen() const { return onScreen_; }
    void SetOnScreen(bool onScreen);
    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection direction);
    TSpeed Speed() const { return speed_; }
    void SetSpeed(TSpeed speed);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    const std::vector<TSegment>& Segments() const { return segments_; }
    // What the ticker says, for a screen reader: its parts joined by a blank, with no blank
    // at either end or twice in a row.
    std::string SpokenText() const;
    std::int32_t PauseAmount() const { return pauseAmount_; }
    void SetPauseAmount(std::int32_t amount);
    bool DoPause() const { return doPause_; }
    void SetDoPause(bool doPause);

    // Panel look that decides the drawing area. Color is 0xRRGGBB.
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The control got a new size: the pass starts again and the strip is emptied.
    void Resize(int width, int height);

    // Freezes a pass in progress; setting Active again continues it.
    void Stop();

    // The scroll timer's event. While a held text stands still the timer sleeps through the
    // steps that would draw nothing new (see TimerWait): the event that ends such a sleep
    // counts them and makes the last one. Steps closer together than the host's frame are
    // made together: the timer waits for several, and its event makes them all. An event that
    // comes before its time (a test's, say) makes only the steps that are due, and at least
    // one.
    void Step();

    // The drawing area in control coordinates.
    TMarqueeRect DrawingArea() const;
    // The off-screen strip: texts at drawing-area coordinates on a background of Color.
    const std::vector<TDrawnText>& Strip() const { return strip_; }
    // Texts drawn straight onto the control at control coordinates, without a background
    // (only the tdNone direction does that).
    const std::vector<TDrawnText>& Overlay() const { return overlay_; }
    bool StripCleared() const { return strip_.empty() && overlay_.empty(); }

    bool TimerEnabled() const { return timerEnabled_; }
    // The scroll timer's step interval: the speed's, or the run-out's.
    int TimerInterval() const { return timerInterval_; }
    // What the host's timer waits for its next event: the step interval; while a held text
    // stands still, the steps of the hold still to come, which draw nothing new, at once; or,
    // when steps come faster than the host's frame, the steps of one frame.
    int TimerWait() const;
    // Steps the host's current wait stands for (1 but in a hold or a frame of steps).
    int SleepSteps() const { return sleepSteps_; }
    int ScrollPos() const { return scrollPos_; }
    // Counts the held steps whose time has come while the timer sleeps.
    int PauseCount() const { return pauseCount_ + static_cast<int>(HeldStepsPassed()); }

    static int SpeedInterval(TSpeed speed);
    // The longest wait asked of the host for a hold (a hold of any length is slept through
    // in waits of this length at most).
    static constexpr int MaxSleepMs = 60000;
    // The frame of a screen that shows `refreshRate` pictures a second, in whole ms; a screen
    // that does not say (0) is taken to show 60.
    static int FrameMsAt(double refreshRate);
    // Markup colour code to 0xRRGGBB: 0-3 are black, lime, yellow and red; any other number
    // is a colour value with red in its lowest byte.
    static std::uint32_t CodeColor(std::int32_t code);

private:
    // Around every change from outside: first the steps that came due while the timer slept
    // are taken (held ones counted, moving ones made), and the timer keeps the time of the
    // step under way; then the timer may sleep again, through a hold or a frame's steps.
    class Change {
    public:
        explicit Change(TMarquee& marquee, bool keepsPicture = true);
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

    private:
        TMarquee& marquee_;
        bool outermost_;
    };

    std::int64_t Now() const;
    std::int64_t StepsPassed() const;
    std::int64_t HeldStepsPassed() const;
    void CatchUp();
    int HeldStepsAhead() const;
    int MovingStepsAhead() const;
    void PlanSleep();
    void MakeSteps(std::int64_t count);
    void MakeDueMoves();
    void MakeStep();
    void TellHost();
    int Measure(const std::string& text) const;
    void SetTimer(bool enabled, int interval);
    bool ParseSegments(const std::string& text);  // false at a bad colour field
    bool HoldTest();
    void DrawSegments(int x);
    void StepLeft();
    void StepRight();
    void StepNone();
    void NotifyStrip();

    IMarqueeHost* host_;
    bool active_ = false;
    bool onScreen_ = false;
    TDirection direction_ = tdLeft;
    TSpeed speed_ = tsSlow;
    std::string text_;
    std::vector<TSegment> segments_;
    std::int32_t pauseAmount_ = 0;
    bool doPause_ = false;
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    std::uint32_t color_ = 0x000000;
    int width_ = 0;
    int height_ = 0;
    bool timerEnabled_ = false;
    int timerInterval_ = InitialInterval;
    int scrollPos_ = 0;
    std::int32_t pauseCount_ = 0;
    // Sleeping through a hold or a frame: the host's wait stands for sleepSteps_ steps, begun
    // at sleepStart_ (host time) with offset_ ms of the first step's interval already gone;
    // held steps only count, moving ones (sleepMoves_) are made when their time is asked for.
    int sleepSteps_ = 1;
    bool sleepMoves_ = false;
    int offset_ = 0;
    std::int64_t sleepStart_ = 0;
    bool heldPicture_ = false;  // the last step held the text, and the strip still shows it
    bool rearm_ = false;        // the host's timer must be told again (a sleep was cut)
    int changes_ = 0;           // depth of changes from outside under way
    std::vector<TDrawnText> strip_;
    std::vector<TDrawnText> overlay_;
};
