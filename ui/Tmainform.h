#pragma once

#include <string>
#include <vector>

#include "engine/Game.h"
#include "engine/GameWindow.h"
#include "ui/Effects.h"
#include "ui/MainWindowView.h"
#include "ui/TMarquee.h"

class TRealtopia;
struct TSavedGame;

// The main window without its toolkit: what it shows (View()), the display operations the
// engine calls, and every handler of its controls, keys, menu and window events.
class Tmainform : public IGameWindow {
public:
    enum class Key { Esc, F1, F2, F5, F6, F7, F12, Other };

    Tmainform(TRealtopia& app, IEffects& effects, TPlatform platform);

    TGame& Game() { return game_; }
    const TGame& Game() const { return game_; }
    const TMainWindowView& View() const { return view_; }
    TMarquee& mq() { return mq_; }
    const TMarquee& mq() const { return mq_; }
    const std::string& CheatBuffer() const { return cheatBuffer_; }

    // Creation: the status-bar hint handler is the toolkit's; then a new world and a reset.
    void FormCreate();

    // Puts a saved game in place of the current one and shows it paused where it was left
    // (ui/SavedGameView.cpp).
    void ShowSavedGame(const TSavedGame& saved);

    // ---- Display operations (called by the engine) ----
    void RefreshDisplay() override;
    void ShowCash() override;
    void RefillLists() override;
    void ShowAreaInfo() override;
    void ClearSelections() override;
    void ResetWindow() override;
    void PauseGame() override;
    void ResumeGame() override;
    void SetStatusText(const std::string& text) override;
    void ShowDate() override;
    void SetProgress(int position) override;
    void SetProgressToMaximum() override;
    void EnablePlay() override;
    void StopMainTimer() override;
    int SelectedCount(List list) override;
    void TickerStop() override;
    void SetTickerText(const std::string& text) override;
    void SetTickerActive(bool active) override;
    void PlayClick() override;
    void PlaySoundResource(const std::string& name, bool wait) override;
    bool SoundDeviceWorks() override;
    void ShowInformation(const std::string& text) override;
    void ShowError(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    bool InputBox(const std::string& caption, const std::string& prompt,
                  std::string& text) override;
    void ShowPoliceMessage(const std::string& text) override;
    bool ShowDamRenChooser() override;
    void ProcessMessages() override;
    void ExitProgram() override;

    // ---- Handlers ----
    void tmr_mainTimer();
    void cmd_StartClick();
    void cmd_BuySellClick();
    void cmd_DamRenClick();
    void cmd_MortgageClick();
    void cmd_emailClick();
    void mnu_HelpRulesClick();
    void mnu_FileExitClick();
    void mnu_FileQuitandReplayClick();
    void mnu_HelpAboutClick();
    void mnu_OptionsSoundClick();
    void Fast1Click();
    void Mediuim1Click();
    void Slow1Click();
    void ClickArea(int area);
    void img_SponsorClick();
    void FormShow();
    bool FormCloseQuery();
    void FormResize(bool minimised);
    void FormKeyUp(Key key);
    void FormKeyPress(const std::string& character);

    // ---- Selection ----
    // The toolkit reports the rows the player has selected in a list (before the mouse or
    // key release that acts on them).
    void SetListSelection(List list, const std::vector<int>& rows);
    void lst_AvailMouseUp();
    void lst_portfolioMouseUp();
    void lst_AvailKeyUp();
    void lst_portfolioKeyUp();
    void lst_AvailEnter();
    void lst_portfolioEnter();
    void Selectlst_Avail();
    void Selectlst_portfolio();
    int FindProperty(const std::string& text) const;

    // The status-bar hint handler: the application's current hint changed.
    void ApplicationHint(const std::string& hint);

    static std::string RowText(const TProperty& property);

private:
    TListView& ListOf(List list) { return list == List::Avail ? view_.Avail : view_.Portfolio; }
    void SetMainTimer(bool enabled, int interval);
    void SetTradingEnabled(bool enabled);
    void SelectFrom(List list);
    void SetSpeed(TSpeed speed);

    TRealtopia& app_;
    IEffects& effects_;
    TGame game_;
    TMarquee mq_;
    TMainWindowView view_;
    std::string cheatBuffer_;
};
