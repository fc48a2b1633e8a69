#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "ui/Effects.h"

class AgreementDialog;
class DamRenDialog;
class MarketReportDialog;
class MainWindow;
class PoliceDialog;
class QWidget;
class RulesDialog;
class SoundModule;
class SplashWindow;

// The effects of the window logic carried out with Qt: message and input boxes, the modal
// side windows, the main window's timer, sound, the browser and the end of the program.
// Create it after the QApplication: it owns the sound module (loaded on the first sound).
class QtEffects : public IEffects {
public:
    struct Windows {
        SplashWindow* splash = nullptr;
        AgreementDialog* agreement = nullptr;
        RulesDialog* rules = nullptr;
        MainWindow* main = nullptr;
        DamRenDialog* chooser = nullptr;
        PoliceDialog* police = nullptr;
        MarketReportDialog* report = nullptr;
    };

    QtEffects();
    ~QtEffects() override;
    QtEffects(const QtEffects&) = delete;
    QtEffects& operator=(const QtEffects&) = delete;

    // The windows exist only after the application object, which needs the effects first.
    void SetWindows(const Windows& windows);
    // Builds the windows not built yet; called before one of them is shown.
    void SetWindowBuilder(std::function<void()> build) { buildWindows_ = std::move(build); }

    // Headless (the self-test): nothing modal is shown and no page is opened. The first such
    // request is remembered and answered as if cancelled.
    void SetHeadless(bool headless) { headless_ = headless; }
    const std::string& HeadlessRequest() const { return headlessRequest_; }

    void Information(const std::string& text) override;
    void Error(const std::string& caption, const std::string& text) override;
    bool YesNo(const std::string& question) override;
    bool Input(const std::string& caption, const std::string& prompt, std::string& text,
               int maxLength) override;
    bool ShowModal(Modal window) override;
    void ShowCopyable(const std::string& caption, const std::string& text, const std::string& copy,
                      const std::string& copyCaption, const std::string& link, Done done) override;
    void ShowMainWindow() override;
    void HideSplash() override;
    void MainTimerChanged() override;
    std::int64_t Now() override;
    void Announce(const std::string& text) override;
    SoundResult PlaySound(const std::string& name, bool wait) override;
    bool SoundDeviceWorks() override;
    bool OpenUrl(const std::string& url) override;
    void ProcessEvents() override;
    void Quit() override;

    // False (and noted) when headless: the caller then answers as if cancelled. Other modal
    // windows of the program (the About box) ask here too.
    bool MayShow(const std::string& what);

    SoundModule& Sound() { return *sound_; }

private:
    QWidget* DialogParent() const;
    void BuildWindows();
    // Brings the main window up to date before something modal covers it.
    void SyncMainWindow();

    QPointer<SplashWindow> splash_;
    QPointer<AgreementDialog> agreement_;
    QPointer<RulesDialog> rules_;
    QPointer<MainWindow> main_;
    QPointer<DamRenDialog> chooser_;
    QPointer<PoliceDialog> police_;
    QPointer<MarketReportDialog> report_;
    std::function<void()> buildWindows_;
    std::unique_ptr<SoundModule> sound_;
    QElapsedTimer clock_;
    bool headless_ = false;
    std::string headlessRequest_;
};
