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
    if (outermost_) marquee_.PlanSleep();
}

std::int64_t TMarquee::Now() const {
    return host_ != nullptr ? host_->Now() : 0;
}

int TMarquee::TimerWait() const {
    return std::max(0, sleepSteps_ * timerInterval_ - offset_);
}

std::int64_t TMarquee::StepsPassed() const {
    if (sleepSteps_ <= 1 || timerInterval_ <= 0) return 0;
    // The last step of a sleep is made by the timer's event; the ones before come due on the
    // way.
    const std::int64_t elapsed = std::max<std::int64_t>(0, Now() - sleepStart_ + offset_);
    return std::min<std::int64_t>(elapsed / timerInterval_, sleepSteps_ - 1);
}

std::int64_t TMarquee::HeldStepsPassed() const {
    return sleepMoves_ ? 0 : StepsPassed();
}

void TMarquee::CatchUp() {
    if (sleepSteps_ <= 1 && offset_ == 0) return;  // the timer wakes at every step
    // The steps whose time has come are taken (held ones counted, moving ones made); the
    // timer keeps what has passed of the step under way, so the change does not move the
    // steps that follow.
    const std::int64_t elapsed = std::max<std::int64_t>(0, Now() - sleepStart_ + offset_);
    const std::int64_t due = StepsPassed();
    const bool moves = sleepMoves_;
    offset_ =
        static_cast<int>(std::min<std::int64_t>(elapsed - due * timerInterval_, timerInterval_));
    sleepSteps_ = 1;
    sleepMoves_ = false;
    sleepStart_ = Now();
    rearm_ = true;
    if (moves) {
        if (due > 0) MakeSteps(due);
    } else {
        pauseCount_ += static_cast<std::int32_t>(due);
    }
}

void TMarquee::MakeDueMoves() {
    // Whether a pass is on the screen, or over, is a step's to say: before a change looks at
    // it, the moving steps whose time came while the timer slept are made.
    if (changes_ == 0 && sleepMoves_ && StepsPassed() > 0) {
        const Change change(*this);
    }
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

int TMarquee::FrameMsAt(double refreshRate) {
    return static_cast<int>(1000 / (refreshRate >= 1 ? refreshRate : 60));
}

int TMarquee::MovingStepsAhead() const {
    // The screen shows one picture a frame: steps that come faster are made a frame's worth
    // at a time, so the timer wakes no more often than the screen changes.
    if (host_ == nullptr || !timerEnabled_ || !active_ || timerInterval_ <= 0) return 1;
    const int frame = host_->FrameMs();
    if (frame <= timerInterval_) return 1;
    return (frame + timerInterval_ - 1) / timerInterval_;
}

void TMarquee::PlanSleep() {
    int steps = HeldStepsAhead();
    bool moves = false;
    if (steps <= 1) {
        steps = MovingStepsAhead();
        moves = steps > 1;
    }
    if (steps != sleepSteps_ || moves != sleepMoves_) {
        sleepSteps_ = steps;
        sleepMoves_ = moves;
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
    sleepMoves_ = false;
    offset_ = 0;
    rearm_ = false;
    heldPicture_ = false;
    sleepStart_ = Now();
}

TMarquee::~TMarquee() {
    // Steps still to come are not made for a ticker that is going away.
    sleepSteps_ = 1;
    sleepMoves_ = false;
    offset_ = 0;
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
    sleepMoves_ = false;
    offset_ = 0;
    TellHost();
}

void TMarquee::NotifyStrip() {
    if (host_ != nullptr) host_->StripChanged();
}

void TMarquee::SetActive(bool active) {
    MakeDueMoves();
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
    MakeDueMoves();
    if (!onScreen_) return;
    const Change change(*this);
    onScreen_ = false;
    SetActive(false);
}

void TMarquee::SetOnScreen(bool onScreen) {
    MakeDueMoves();
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

void TMarquee::MakeStep() {
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
}

void TMarquee::MakeSteps(std::int64_t count) {
    // As the timer would have made them one by one: a step that stops the timer or changes
    // its interval (the end of a pass, the run-out) is the last of them.
    const bool enabled = timerEnabled_;
    const int interval = timerInterval_;
    MakeStep();
    for (std::int64_t i = 1; i < count && timerEnabled_ == enabled && timerInterval_ == interval;
         ++i)
        MakeStep();
}

void TMarquee::Step() {
    ++changes_;  // what a step sets by itself is no change from outside
    std::int64_t steps = 1;
    if (sleepSteps_ > 1 || offset_ != 0) {
        const std::int64_t elapsed = Now() - sleepStart_ + offset_;
        const std::int64_t due = std::clamp<std::int64_t>(
            timerInterval_ > 0 ? elapsed / timerInterval_ : sleepSteps_, 1, sleepSteps_);
        if (sleepMoves_) {
            // A frame's steps, made together and drawn once. On time, the host's timer goes
            // on as it is; early, or after a change, it waits a whole frame from now.
            steps = due;
            if (due < sleepSteps_ || offset_ != 0) rearm_ = true;
            offset_ = 0;
            sleepStart_ = Now();
        } else if (due < sleepSteps_) {
            // Before the end of the sleep: the held steps that are due, counted.
            pauseCount_ += static_cast<std::int32_t>(due);
            sleepSteps_ -= static_cast<int>(due);
            offset_ = 0;
            TellHost();
            --changes_;
            if (host_ != nullptr) host_->ProcessMessages();
            return;
        } else {
            pauseCount_ += sleepSteps_ - 1;
            sleepSteps_ = 1;
            offset_ = 0;
            rearm_ = true;  // the host waits for a sleep: back to the step interval
        }
    }
    MakeSteps(steps);
    PlanSleep();
    --changes_;
    // Last, so a step run from inside this only sees the finished state of this one.
    if (host_ != nullptr) host_->ProcessMessages();
}
