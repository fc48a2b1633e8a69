#pragma once

#include <cstdint>
#include <string>

// What the window logic needs of a toolkit: modal boxes and windows, the main timer, sound,
// the browser, the event loop. The Qt program, the text front end and the tests each
// implement it; none of them decides anything about the game.
class IEffects {
public:
    // The modal windows besides the message boxes. The toolkit shows the window for the
    // matching logic object of TRealtopia and returns whether it ended with the result OK.
    enum class Modal { Agreement, Rules, DamRen, Police, MarketReport };
    enum class SoundResult { Played, NotFound, NotLoaded, Bad };

    // The longest answer an input box takes, in characters.
    static constexpr int kInputMaxLength = 255;

    virtual ~IEffects() = default;

    virtual void Information(const std::string& text) = 0;
    virtual void Error(const std::string& caption, const std::string& text) = 0;
    virtual bool YesNo(const std::string& question) = 0;
    // OK: true and `text` holds the answer (at most maxLength characters). Cancel or closing
    // the box: false and `text` holds the default text it was given.
    virtual bool Input(const std::string& caption, const std::string& prompt, std::string& text,
                       int maxLength) = 0;
    virtual bool ShowModal(Modal window) = 0;

    // The main window appears (the splash stays, hidden, as the application's main window).
    virtual void ShowMainWindow() = 0;
    virtual void HideSplash() = 0;

    // The main timer's state changed (see TMainWindowView::TimerEnabled and TimerDue).
    virtual void MainTimerChanged() = 0;
    // Monotonic time in milliseconds, for the game clock's running time. A toolkit without
    // a clock of its own (the text front end delivers every timer event by hand) lets time
    // stand still.
    virtual std::int64_t Now() { return 0; }

    // Tells a screen reader `text` once, now, whatever has the focus: a new headline, a fine,
    // a stage reached, the end of the game (the window logic decides what and in which words,
    // those the screen shows). A toolkit without a screen reader ignores it.
    virtual void Announce(const std::string& /*text*/) {}

    virtual SoundResult PlaySound(const std::string& name, bool wait) = 0;
    virtual bool SoundDeviceWorks() = 0;
    virtual bool OpenUrl(const std::string& url) = 0;
    virtual void ProcessEvents() = 0;
    // Ends the program: the splash, the application's main window, is closed.
    virtual void Quit() = 0;
};
