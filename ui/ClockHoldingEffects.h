#pragma once

#include <functional>
#include <string>

#include "ui/Effects.h"

// The toolkit's effects as the game uses them: every box and modal window holds the game
// clock while it waits for the player's answer, so no month passes behind a message in any
// front end. Everything else goes straight through.
class TClockHoldingEffects : public IEffects {
public:
    // `hold` and `release` stop and restart the clock; calls nest.
    TClockHoldingEffects(IEffects& inner, std::function<void()> hold, std::function<void()> release)
        : inner_(inner), hold_(std::move(hold)), release_(std::move(release)) {}

    void ShowInformation(const std::string& text, Done done) override {
        hold_();
        inner_.ShowInformation(text, Releasing(std::move(done)));
    }
    void ShowError(const std::string& caption, const std::string& text, Done done) override {
        hold_();
        inner_.ShowError(caption, text, Releasing(std::move(done)));
    }
    void AskYesNo(const std::string& question, Answered done) override {
        hold_();
        inner_.AskYesNo(question, Releasing(std::move(done)));
    }
    void AskInput(const std::string& caption, const std::string& prompt,
                  const std::string& defaultText, int maxLength, Typed done) override {
        hold_();
        inner_.AskInput(caption, prompt, defaultText, maxLength, Releasing(std::move(done)));
    }
    void ShowCopyable(const std::string& caption, const std::string& text, const std::string& copy,
                      const std::string& copyCaption, const std::string& link, Done done) override {
        hold_();
        inner_.ShowCopyable(caption, text, copy, copyCaption, link, Releasing(std::move(done)));
    }
    void OpenModal(Modal window, Answered done) override {
        hold_();
        inner_.OpenModal(window, Releasing(std::move(done)));
    }

    void Information(const std::string& text) override {
        const THold hold(*this);
        inner_.Information(text);
    }
    void Error(const std::string& caption, const std::string& text) override {
        const THold hold(*this);
        inner_.Error(caption, text);
    }
    bool YesNo(const std::string& question) override {
        const THold hold(*this);
        return inner_.YesNo(question);
    }
    bool Input(const std::string& caption, const std::string& prompt, std::string& text,
               int maxLength) override {
        const THold hold(*this);
        return inner_.Input(caption, prompt, text, maxLength);
    }
    bool ShowModal(Modal window) override {
        const THold hold(*this);
        return inner_.ShowModal(window);
    }

    void ShowMainWindow() override { inner_.ShowMainWindow(); }
    void HideSplash() override { inner_.HideSplash(); }
    void MainTimerChanged() override { inner_.MainTimerChanged(); }
    std::int64_t Now() override { return inner_.Now(); }
    // Said at once, while the game goes on: nothing to wait for.
    void Announce(const std::string& text) override { inner_.Announce(text); }
    SoundResult PlaySound(const std::string& name, bool wait) override {
        return inner_.PlaySound(name, wait);
    }
    bool SoundDeviceWorks() override { return inner_.SoundDeviceWorks(); }
    bool OpenUrl(const std::string& url) override { return inner_.OpenUrl(url); }
    void ProcessEvents() override { inner_.ProcessEvents(); }
    void Quit() override { inner_.Quit(); }

private:
    // The clock is released once the answer is in, before the window logic hears it.
    template <class... Args>
    std::function<void(Args...)> Releasing(std::function<void(Args...)> done) {
        return [release = release_, done = std::move(done)](Args... args) {
            release();
            if (done) done(args...);
        };
    }

    class THold {
    public:
        explicit THold(TClockHoldingEffects& owner) : owner_(owner) { owner_.hold_(); }
        ~THold() { owner_.release_(); }
        THold(const THold&) = delete;
        THold& operator=(const THold&) = delete;

    private:
        TClockHoldingEffects& owner_;
    };

    IEffects& inner_;
    std::function<void()> hold_;
    std::function<void()> release_;
};
