#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/Effects.h"

// What the web front end needs of the page that hosts it: its dialogs, timers, sound, text
// measurement and the browser. The WebAssembly build implements it with the page's script;
// the tests with a scripted page.
class IWebPage {
public:
    virtual ~IWebPage() = default;

    // Shows the modal dialog that `dialog` (JSON, see WebDialog) describes. The browser's page
    // returns at once and hands the answer of the button or choice the player used to
    // WebFrontEnd::DialogAnswer later; a page that knows the answer at once (a test's) may
    // return it instead.
    virtual std::optional<std::string> OpenDialog(const std::string& dialog) = 0;

    // Plays a sound; `wait`: the next sound waits until this one has played.

    virtual IEffects::SoundResult PlaySound(const std::string& name, bool wait) = 0;
    virtual bool SoundDeviceWorks() = 0;
    virtual bool OpenUrl(const std::string& url) = 0;

    // The width of a text in the ticker's font, in pixels.
    virtual int TextWidth(const std::string& text) = 0;
    // The ticker's scroll timer: start (or re-interval) or stop.
    virtual void TickerTimerChanged(bool enabled, int intervalMs) = 0;
    // The game clock changed; the page re-arms its one-shot timer from the view.
    virtual void MainTimerChanged() = 0;
    // Monotonic milliseconds; a page driven by hand lets time stand still.
    virtual std::int64_t Now() = 0;
    // Says `text` once through the page's live region (IEffects::Announce).
    virtual void Announce(const std::string& /*text*/) {}
};
