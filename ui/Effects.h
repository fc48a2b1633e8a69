#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What the window logic needs of a toolkit: modal boxes and windows, the main timer, sound,
// the browser, the event loop. The Qt program, the text front end, the page and the tests each
// implement it; none of them decides anything about the game.
//
// The window logic shows every box and modal window through the asynchronous calls (Show…,
// Ask…, Open…): the answer goes to `done` once the player has given it, and nothing the logic
// does after asking depends on it otherwise. A toolkit that waits for the answer (the desktop's
// modal dialogs, the text front end reading its input) implements the waiting calls
// (Information … ShowModal), which the asynchronous ones call by default; a toolkit that
// cannot wait (the page) implements the asynchronous calls themselves.
class IEffects {
public:
    // The modal windows besides the message boxes. The toolkit shows the window for the
    // matching logic object of TRealtopia and returns whether it ended with the result OK.
    enum class Modal { Agreement, Rules, DamRen, Police, MarketReport };
    enum class SoundResult { Played, NotFound, NotLoaded, Bad };

    // The longest answer an input box takes, in characters.
    static constexpr int kInputMaxLength = 255;

    virtual ~IEffects() = default;

    using Done = std::function<void()>;
    using Answered = std::function<void(bool ok)>;
    using Typed = std::function<void(bool ok, const std::string& text)>;

    // ---- Boxes and modal windows, answered later ----
    virtual void ShowInformation(const std::string& text, Done done) {
        Information(text);
        if (done) done();
    }
    virtual void ShowError(const std::string& caption, const std::string& text, Done done) {
        Error(caption, text);
        if (done) done();
    }
    virtual void AskYesNo(const std::string& question, Answered done) {
        const bool yes = YesNo(question);
        if (done) done(yes);
    }
    // OK: true and the answer (at most maxLength characters). Cancel or closing the box: false
    // and the default text it was given.
    virtual void AskInput(const std::string& caption, const std::string& prompt,
                          const std::string& defaultText, int maxLength, Typed done) {
        std::string text = defaultText;
        const bool ok = Input(caption, prompt, text, maxLength);
        if (done) done(ok, ok ? text : defaultText);
    }
    // A box with `text`, then `copy` shown selected with a button captioned `copyCaption` that
    // puts `copy` on the clipboard and leaves the box open, and OK. A page shows `link` too,
    // after its own address. A toolkit without a clipboard shows `copy` in an input box.
    virtual void ShowCopyable(const std::string& caption, const std::string& text,
                              const std::string& copy, const std::string& copyCaption,
                              const std::string& link, Done done) {
        (void)copyCaption;
        (void)link;
        std::string shown = copy;
        Input(caption, text, shown, kInputMaxLength);
        if (done) done();
    }
    // True when the window ended with the result OK.
    virtual void OpenModal(Modal window, Answered done) {
        const bool ok = ShowModal(window);
        if (done) done(ok);
    }

    // ---- The same for a toolkit that waits for the answer ----
    virtual void Information(const std::string&) {}
    virtual void Error(const std::string&, const std::string&) {}
    virtual bool YesNo(const std::string&) { return false; }
    // OK: true and `text` holds the answer (at most maxLength characters). Cancel or closing
    // the box: false and `text` holds the default text it was given.
    virtual bool Input(const std::string&, const std::string&, std::string&, int) { return false; }
    virtual bool ShowModal(Modal) { return false; }

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
