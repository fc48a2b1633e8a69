#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/ISystemQueries.h"
#include "engine/Platform.h"
#include "ui/Commands.h"
#include "ui/Effects.h"
#include "ui/ListSelection.h"
#include "ui/SavedGameView.h"
#include "ui/TMarquee.h"
#include "web/WebDialog.h"
#include "web/WebPage.h"
#include "windows/SettingsStore.h"

class TRealtopia;
struct TAboutBoxContent;

// The web front end without the browser: the application with the page's effects, and the
// calls the page's events arrive through. Each takes the page's own words (a DOM key name,
// a command's kind and name, a list's name and the rows selected there) and hands them to the
// command surface; the page then draws ViewJson() again. Nothing here decides what an event
// means: the window logic does.
class WebFrontEnd : public IEffects, public IMarqueeHost {
public:
    enum class Screen { Splash, Main, Ended };

    // `settings`: where the Options menu's choices are kept (none: in memory only).
    WebFrontEnd(IWebPage& page, TPlatform platform,
                std::shared_ptr<ISystemQueries> systemQueries = nullptr,
                std::shared_ptr<ISettingsStore> settings = nullptr);
    ~WebFrontEnd() override;
    WebFrontEnd(const WebFrontEnd&) = delete;
    WebFrontEnd& operator=(const WebFrontEnd&) = delete;

    TRealtopia& App() { return *app_; }
    const TRealtopia& App() const { return *app_; }
    Screen CurrentScreen() const { return screen_; }
    bool DialogOpen() const { return !dialogs_.empty(); }
    // The page's answer to the dialog it shows; false when none is shown.
    bool DialogAnswer(const std::string& answer);
    unsigned StripRevision() const { return stripRevision_; }

    // ---- The page's events; false when nothing took them ----
    // The splash's controls: "play", "newuser", "maker", "sponsor", "exit".
    bool Splash(const std::string& control);
    // A control of the main window by the command surface's kind ("button", "picture",
    // "menu", "key") and name.
    bool Invoke(const std::string& kind, const std::string& name);
    // A key pressed in the main window (DOM key name, modifiers as TModifier bits) with the
    // command of the focused button, if any ("button:buysell"). True when the page must keep
    // the browser from acting on the key as well.
    bool KeyDown(const std::string& domKey, unsigned modifiers, bool autoRepeat,
                 const std::string& focusedControl);
    void KeyUp(const std::string& domKey, unsigned modifiers);
    // A list ("avail" or "portfolio") with the rows then selected, 0-based.
    bool ListMouseUp(const std::string& list, const std::vector<int>& rows);
    bool ListKeyUp(const std::string& list, const std::vector<int>& rows);
    // The page draws its lists itself: a press on a row (a click with modifiers, or a tap)
    // and a key that moves in a list answer the rows then to be shown selected; the page
    // reports them with ListMouseUp or ListKeyUp when the click or key ends. Nothing for a
    // key that does not move in a list.
    std::vector<int> ListPress(const std::string& list, int row, unsigned modifiers, bool tap);
    std::optional<std::vector<int>> ListMove(const std::string& list, const std::string& domKey,
                                             unsigned modifiers);
    // The row a list's keys are at (-1: none yet), for a screen reader to name.
    int ListCurrentRow(const std::string& list) const {
        return list == "avail"       ? availSelection_.Current()
               : list == "portfolio" ? portfolioSelection_.Current()
                                     : -1;
    }
    // "Select several" for touch screens: a tap then adds or removes a row as Ctrl+click does.
    void ToggleSelectSeveral() { selectSeveral_ = !selectSeveral_; }
    bool SelectSeveral() const { return selectSeveral_; }
    // The focus entered a list; `reason` is "click", "tab", "accelerator", "activation" or
    // anything else.
    bool ListFocusIn(const std::string& list, const std::string& reason,
                     const std::vector<int>& rows);
    // The pointer rests on a command's control ("button:buysell") or on a control with a
    // fixed hint (its text), or on nothing.
    void PointerOver(const std::string& control);
    void PointerOverHint(const std::string& hint);
    // The page's one-shot game-clock timer went off; ignored while the clock is stopped.
    void TimerFired();
    // The ticker's scroll timer.
    void TickerStep();
    // The page was hidden or shown again.
    bool WindowStateChanged(bool minimised);
    // Between the page's events, at most a few times a second, and when the page is hidden or
    // goes away: the game in progress is written where the next visit offers it, when it
    // changed. True when it was written.
    bool KeepGame();

    // What the page draws, as JSON; the ticker's strip alone, for its steps.
    std::string ViewJson() const;
    std::string TickerJson() const;

    // The key of a DOM key name ("Escape", "F6", "Enter", "a").
    static TKeyEvent KeyEventOf(const std::string& domKey, unsigned modifiers, bool autoRepeat);
    // "button:buysell" → the command; nothing for anything else.
    static std::optional<TCommand> ControlCommand(const std::string& control);
    // The texts of the standard buttons of message and input boxes.
    static constexpr const char* kOk = "OK";
    static constexpr const char* kCancel = "Cancel";
    static constexpr const char* kYes = "Yes";
    static constexpr const char* kNo = "No";

    // ---- IEffects: the page cannot wait, so every box is answered later ----
    void ShowInformation(const std::string& text, Done done) override;
    void ShowError(const std::string& caption, const std::string& text, Done done) override;
    void AskYesNo(const std::string& question, Answered done) override;
    void ShowCopyable(const std::string& caption, const std::string& text, const std::string& copy,
                      const std::string& copyCaption, const std::string& link, Done done) override;
    void AskInput(const std::string& caption, const std::string& prompt,
                  const std::string& defaultText, int maxLength, Typed done) override;
    void OpenModal(Modal window, Answered done) override;
    void ShowMainWindow() override;
    void HideSplash() override {}
    void MainTimerChanged() override;
    std::int64_t Now() override;
    SoundResult PlaySound(const std::string& name, bool wait) override;
    bool SoundDeviceWorks() override;
    bool OpenUrl(const std::string& url) override;
    void ProcessEvents() override {}
    void Announce(const std::string& text) override;
    void Quit() override;

    // ---- IMarqueeHost ----
    int TextWidth(const std::string& text) override;
    int FrameMs() override;
    void TimerChanged(bool enabled, int intervalMs) override;
    void StripChanged() override { ++stripRevision_; }
    void ProcessMessages() override {}

private:
    using DialogAnswered = std::function<void(const std::string& answer)>;
    struct TPendingDialog {
        TWebDialog Dialog;
        DialogAnswered Answered;
    };
    // Shows a dialog, after any already waiting; `answered` hears the page's answer. A dialog
    // opened while an answer is taken comes before those still waiting, as the answer's
    // consequence. The main window loses the keyboard meanwhile.
    void Open(TWebDialog dialog, DialogAnswered answered);
    void ShowNextDialog();
    void TakeDialogAnswer(const std::string& answer);
    void ShowAgreement(Answered done);
    void ShowRules(Answered done);
    void ShowChooser(Answered done);
    void ShowPolice(Answered done);
    void ShowMarketReport(Answered done);
    bool ShowAbout(const TAboutBoxContent& content);
    bool Running() const { return screen_ != Screen::Ended; }
    // The list's selection mechanics, brought up to the rows the window logic shows.
    TListSelection* SelectionOf(const std::string& list);

    IWebPage& page_;
    std::unique_ptr<TRealtopia> app_;
    Screen screen_ = Screen::Splash;
    std::deque<TPendingDialog> dialogs_;
    bool dialogShown_ = false;     // the first of dialogs_ is on the page
    bool showingDialogs_ = false;  // ShowNextDialog's loop runs
    int answering_ = 0;            // answers being taken (nested)
    std::size_t insertDialogAt_ = 0;
    unsigned stripRevision_ = 0;
    TListSelection availSelection_;
    TListSelection portfolioSelection_;
    bool selectSeveral_ = false;
    TGameKeeper keeper_;
};
