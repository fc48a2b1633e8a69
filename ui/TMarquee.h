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
    virtual int TextWidth(const std::string& text) = 0;           // in the control's font
    virtual void TimerChanged(bool enabled, int intervalMs) = 0;  // start/stop/re-interval
    virtual void StripChanged() = 0;  // the off-screen strip changed: schedule a repaint
    virtual void ProcessMessages() = 0;
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
    void SetHost(IMarqueeHost* host) { host_ = host; }

    bool Active() const { return active_; }
    void SetActive(bool active);
    bool OnScreen() const { return onScreen_; }
    void SetOnScreen(bool onScreen) { onScreen_ = onScreen; }
    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection direction) { direction_ = direction; }
    TSpeed Speed() const { return speed_; }
    void SetSpeed(TSpeed speed);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    const std::vector<TSegment>& Segments() const { return segments_; }
    std::int32_t PauseAmount() const { return pauseAmount_; }
    void SetPauseAmount(std::int32_t amount) { pauseAmount_ = amount; }
    bool DoPause() const { return doPause_; }
    void SetDoPause(bool doPause) { doPause_ = doPause; }

    // Panel look that decides the drawing area. Color is 0xRRGGBB.
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut) { bevelOuter_ = cut; }
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut) { bevelInner_ = cut; }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width) { bevelWidth_ = width; }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width) { borderWidth_ = width; }
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color) { color_ = color; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The control got a new size: the pass starts again and the strip is emptied.
    void Resize(int width, int height);

    // Freezes a pass in progress; setting Active again continues it.
    void Stop();

    // The scroll timer's event.
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
    int TimerInterval() const { return timerInterval_; }
    int ScrollPos() const { return scrollPos_; }
    int PauseCount() const { return pauseCount_; }

    static int SpeedInterval(TSpeed speed);
    // Markup colour code to 0xRRGGBB: 0-3 are black, lime, yellow and red; any other number
    // is a colour value with red in its lowest byte.
    static std::uint32_t CodeColor(std::int32_t code);

private:
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
    std::vector<TDrawnText> strip_;
    std::vector<TDrawnText> overlay_;
};
