#include "ui/TMarquee.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A whole number as the markup writes it: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$" or "0x" (up to 32 bits, so colour values fit).
bool ParseWholeNumber(const std::string& s, std::int32_t& value) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    std::int64_t result = 0;
    if (i < s.size() && (s[i] == '$' || (s[i] == '0' && i + 1 < s.size() &&
                                         (s[i + 1] == 'x' || s[i + 1] == 'X')))) {
        i += s[i] == '$' ? 1 : 2;
        const std::size_t start = i;
        for (; i < s.size(); ++i) {
            const int digit = HexValue(s[i]);
            if (digit < 0 || i - start >= 8) return false;
            result = result * 16 + digit;
        }
        if (i == start) return false;
        // Eight hex digits may set the sign bit, as a 32-bit colour value does.
        auto bits = static_cast<std::uint32_t>(result);
        if (negative) bits = 0u - bits;
        value = static_cast<std::int32_t>(bits);
        return true;
    }

    const std::size_t start = i;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i])) return false;
        result = result * 10 + (s[i] - '0');
        if (result > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
    }
    if (i == start) return false;
    if (negative) result = -result;
    if (result > std::numeric_limits<std::int32_t>::max()) return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

}  // namespace

TMarquee::TMarquee(IMarqueeHost* host) : host_(host) {}

TMarquee::Change::Change(TMarquee& marquee, bool keepsPicture)
    : marquee_(marquee), outermost_(marquee.changes_ == 0) {
    ++marquee_.changes_;
    if (outermost_) marquee_.CatchUp();
    if (!keepsPicture) marquee_.heldPicture_ = false;
}

TMarquee::Change::~Change() {
    --marquee_.changes_;
    if (outermost_) marquee_.Settle();
}

std::int64_t TMarquee::Now() const {
    return host_ != nullptr ? host_->Now() : 0;
}

int TMarquee::TimerWait() const {
    return std::max(0, sleepSteps_ * timerInterval_ - offset_);
}

std::int64_t TMarquee::HeldStepsPassed() const {
    if (sleepSteps_ <= 1 || timerInterval_ <= 0) return 0;
    // The last step of a sleep is made by the timer's event; the ones before only count.
    const std::int64_t elapsed = std::max<std::int64_t>(0, Now() - sleepStart_ + offset_);
    return std::min<std::int64_t>(elapsed / timerInterval_, sleepSteps_ - 1);
}

void TMarquee::CatchUp() {
    if (sleepSteps_ <= 1 && offset_ == 0) return;  // the timer wakes at every step
    // The held steps whose time has come counted; the timer keeps what has passed of the
    // step under way, so the change does not move the steps that follow.
    const std::int64_t elapsed = std::max<std::int64_t>(0, Now() - sleepStart_ + offset_);
    const std::int64_t due = HeldStepsPassed();
    pauseCount_ += static_cast<std::int32_t>(due);
    offset_ =
        static_cast<int>(std::min<std::int64_t>(elapsed - due * timerInterval_, timerInterval_));
    sleepSteps_ = 1;
    sleepStart_ = Now();
    rearm_ = true;
}

int TMarquee::HeldStepsAhead() const {
    // After a step that held the text, the next steps draw the same picture: the rest of the
    // hold, each only counted, and the step that lets the text go, which moves nothing yet.
    if (!heldPicture_ || !timerEnabled_ || !active_ || direction_ != tdLeft || !doPause_ ||
        timerInterval_ <= 0)
        return 1;
    const std::int64_t holds = std::max<std::int64_t>(0, std::int64_t{pauseAmount_} - pauseCount_);
    const std::int64_t most = std::max(1, MaxSleepMs / timerInterval_);
    return static_cast<int>(std::min(holds + 1, most));
}

void TMarquee::Settle() {
    const int ahead = HeldStepsAhead();
    if (ahead > 1 && ahead != sleepSteps_) {
        sleepSteps_ = ahead;
        rearm_ = true;
    }
    if (rearm_) TellHost();
}

void TMarquee::TellHost() {
    rearm_ = false;
    sleepStart_ = Now();
    if (host_ != nullptr) host_->TimerChanged(timerEnabled_, TimerWait());
}

void TMarquee::SetHost(IMarqueeHost* host) {
    if (changes_ == 0) CatchUp();
    host_ = host;
    // The binder gives the new host the timer (TimerWait is the step interval again), and
    // the new host has the strip still to draw.
    sleepSteps_ = 1;
    offset_ = 0;
    rearm_ = false;
    heldPicture_ = false;
    sleepStart_ = Now();
}

TMarquee::~TMarquee() {
    SetActive(false);
    if (host_ != nullptr) host_->MarqueeDestroyed();
}

int TMarquee::SpeedInterval(TSpeed speed) {
    switch (speed) {
        case tsSlow:
            return 60;
        case tsMedium:
            return 30;
        case tsFast:
            return 10;
    }
    return 60;
}

std::uint32_t TMarquee::CodeColor(std::int32_t code) {
    switch (code) {
        case 0:
            return 0x000000;
        case 1:
            return Lime;
        case 2:
            return 0xFFFF00;
        case 3:
            return 0xFF0000;
        default:
            break;
    }
    // A colour value keeps red in its lowest byte; turn it round to 0xRRGGBB.
    const auto bits = static_cast<std::uint32_t>(code);
    const std::uint32_t red = bits & 0xFF;
    const std::uint32_t green = (bits >> 8) & 0xFF;
    const std::uint32_t blue = (bits >> 16) & 0xFF;
    return (red << 16) | (green << 8) | blue;
}

int TMarquee::Measure(const std::string& text) const {
    return host_ != nullptr ? host_->TextWidth(text) : 0;
}

void TMarquee::SetTimer(bool enabled, int interval) {
    // Like a toolkit timer: setting what it already has changes nothing and restarts nothing.
    if (enabled == timerEnabled_ && interval == timerInterval_) return;
    timerEnabled_ = enabled;
    timerInterval_ = interval;
    // A start or a new interval begins a whole step; any sleep ends.
    sleepSteps_ = 1;
    offset_ = 0;
    TellHost();
}

void TMarquee::NotifyStrip() {
    if (host_ != nullptr) host_->StripChanged();
}

void TMarquee::SetActive(bool active) {
    if (active == active_) return;
    const Change change(*this);
    SetTimer(active, timerInterval_);
    active_ = active;
}

void TMarquee::SetSpeed(TSpeed speed) {
    const Change change(*this);
    const int interval = SpeedInterval(speed);
    if (active_) SetTimer(false, timerInterval_);
    SetTimer(timerEnabled_, interval);
    speed_ = speed;
    if (active_) SetTimer(true, interval);
}

void TMarquee::SetText(const std::string& text) {
    // The same text again (before PLAY it is told every 3 s) changes nothing: clearing the
    // strip would only blank it for a step.
    if (text == text_ && !segments_.empty()) return;
    const Change change(*this, false);
    if (active_) SetTimer(false, timerInterval_);
    segments_.clear();
    text_ = text;
    strip_.clear();
    overlay_.clear();
    NotifyStrip();
    // A colour field that is not a number leaves the timer stopped; the caller erred.
    if (ParseSegments(text) && active_) SetTimer(true, timerInterval_);
}

std::string TMarquee::SpokenText() const {
    std::string spoken;
    bool blank = false;
    for (const TSegment& segment : segments_) {
        blank = true;  // between the parts
        for (char c : segment.Text) {
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                blank = true;
                continue;
            }
            if (blank && !spoken.empty()) spoken += ' ';
            blank = false;
            spoken += c;
        }
    }
    return spoken;
}

bool TMarquee::ParseSegments(const std::string& text) {
    std::vector<std::string> fragments;
    if (text.find('|') == std::string::npos) {
        fragments.push_back(text);
    } else {
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = text.find('|', start);
            std::string fragment = text.substr(start, bar - start);
            if (fragment.empty()) break;  // an empty fragment ends the list
            fragments.push_back(std::move(fragment));
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
    }

    for (const std::string& fragment : fragments) {
        const std::size_t percent = fragment.find('%');
        const bool twoFields = percent != std::string::npos && percent + 1 < fragment.size() &&
                               fragment.find('%', percent + 1) == std::string::npos;
        if (!twoFields) {
            segments_.push_back({fragment, Lime});
            continue;
        }
        std::int32_t code = 0;
        if (!ParseWholeNumber(fragment.substr(0, percent), code)) return false;
        segments_.push_back({fragment.substr(percent + 1), CodeColor(code)});
    }
    return true;
}

void TMarquee::Resize(int width, int height) {
    if (width == width_ && height == height_) return;
    const Change change(*this, false);
    width_ = width;
    height_ = height;
    scrollPos_ = 0;
    strip_.clear();
    overlay_.clear();
    NotifyStrip();
}

void TMarquee::Stop() {
    if (!onScreen_) return;
    const Change change(*this);
    onScreen_ = false;
    SetActive(false);
}

void TMarquee::SetOnScreen(bool onScreen) {
    if (onScreen == onScreen_) return;
    const Change change(*this);
    onScreen_ = onScreen;
}

void TMarquee::SetDirection(TDirection direction) {
    if (direction == direction_) return;
    const Change change(*this, false);
    direction_ = direction;
}

void TMarquee::SetPauseAmount(std::int32_t amount) {
    if (amount == pauseAmount_) return;
    const Change change(*this);
    pauseAmount_ = amount;
}

void TMarquee::SetDoPause(bool doPause) {
    if (doPause == doPause_) return;
    const Change change(*this);
    doPause_ = doPause;
}

// A new look shows at the next step, so the timer wakes for it.
void TMarquee::SetBevelOuter(TBevelCut cut) {
    if (cut == bevelOuter_) return;
    const Change change(*this, false);
    bevelOuter_ = cut;
}

void TMarquee::SetBevelInner(TBevelCut cut) {
    if (cut == bevelInner_) return;
    const Change change(*this, false);
    bevelInner_ = cut;
}

void TMarquee::SetBevelWidth(int width) {
    if (width == bevelWidth_) return;
    const Change change(*this, false);
    bevelWidth_ = width;
}

void TMarquee::SetBorderWidth(int width) {
    if (width == borderWidth_) return;
    const Change change(*this, false);
    borderWidth_ = width;
}

void TMarquee::SetColor(std::uint32_t color) {
    if (color == color_) return;
    const Change change(*this, false);
    color_ = color;
}

TMarqueeRect TMarquee::DrawingArea() const {
    int inset = borderWidth_ + 4;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    return {inset, inset, std::max(0, width_ - 2 * inset), std::max(0, height_ - 2 * inset)};
}

bool TMarquee::HoldTest() {
    if (doPause_ && onScreen_ && active_ && pauseCount_ < pauseAmount_) {
        ++pauseCount_;
        return true;
    }
    pauseCount_ = 0;
    return false;
}

void TMarquee::DrawSegments(int x) {
    // Reuse the strip's strings so a step does not allocate once they are big enough.
    strip_.resize(segments_.size());
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        strip_[i].X = x;
        strip_[i].Text = segments_[i].Text;
        strip_[i].Color = segments_[i].Color;
        x += Measure(segments_[i].Text) + SegmentGap;
    }
    // The strip is copied over what tdNone drew on the control.
    overlay_.clear();
}

void TMarquee::StepLeft() {
    int x = width_ - scrollPos_;
    if (scrollPos_ == 0) {
        x = width_;
        onScreen_ = false;
    }
    DrawSegments(x);
    NotifyStrip();

    scrollPos_ += StepPixels;
    onScreen_ = true;
    if (doPause_) {
        if (scrollPos_ < width_ && scrollPos_ > width_ - StepPixels && HoldTest()) {
            scrollPos_ -= StepPixels;
            heldPicture_ = true;
        }
        // Past the pause point the rest of the text runs out fast, whatever the speed.
        if (scrollPos_ >= width_) SetTimer(timerEnabled_, RunOutInterval);
    }
    if (scrollPos_ >= Measure(text_) + width_) {
        scrollPos_ = 0;
        onScreen_ = false;
        SetActive(false);
        SetSpeed(speed_);
    }
}

void TMarquee::StepRight() {
    DrawSegments(scrollPos_ + 3);
    NotifyStrip();
    scrollPos_ += StepPixels;
    onScreen_ = true;
    const TMarqueeRect area = DrawingArea();
    if (scrollPos_ >= area.Left + area.Width) {
        scrollPos_ = area.Left - Measure(text_);
        onScreen_ = false;
        SetActive(false);
    }
}

void TMarquee::StepNone() {
    overlay_.resize(segments_.size());
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        overlay_[i].X = 0;
        overlay_[i].Text = segments_[i].Text;
        overlay_[i].Color = segments_[i].Color;
    }
    onScreen_ = true;
    NotifyStrip();
}

void TMarquee::Step() {
    ++changes_;  // what a step sets by itself is no change from outside
    if (sleepSteps_ > 1 || offset_ != 0) {
        const std::int64_t elapsed = Now() - sleepStart_ + offset_;
        const std::int64_t due = std::clamp<std::int64_t>(
            timerInterval_ > 0 ? elapsed / timerInterval_ : sleepSteps_, 1, sleepSteps_);
        if (due < sleepSteps_) {
            // Before the end of the sleep: the held steps that are due, counted.
            pauseCount_ += static_cast<std::int32_t>(due);
            sleepSteps_ -= static_cast<int>(due);
            offset_ = 0;
            TellHost();
            --changes_;
            if (host_ != nullptr) host_->ProcessMessages();
            return;
        }
        pauseCount_ += sleepSteps_ - 1;
        sleepSteps_ = 1;
        offset_ = 0;
        rearm_ = true;  // the host waits for a sleep: back to the step interval
    }
    heldPicture_ = false;
    switch (direction_) {
        case tdLeft:
            StepLeft();
            break;
        case tdRight:
            StepRight();
            break;
        case tdNone:
            StepNone();
            break;
    }
    const int ahead = HeldStepsAhead();
    if (ahead > 1) {
        sleepSteps_ = ahead;
        rearm_ = true;
    }
    if (rearm_) TellHost();
    --changes_;
    // Last, so a step run from inside this only sees the finished state of this one.
    if (host_ != nullptr) host_->ProcessMessages();
}
