#include "web/WebFrontEnd.h"

#include "frontend/ChooserLoop.h"
#include "frontend/RulesLoop.h"
#include "frontend/TypedText.h"
#include "ui/DisplayText.h"
#include "ui/Inputs.h"
#include "ui/MarketReport.h"
#include "ui/SavedGameView.h"
#include "ui/Utf8.h"
#include "web/WebChartJson.h"
#include "windows/TRealtopia.h"

using displaytext::WithLineFeeds;

namespace {

const std::string kAnswerPrefixItem = "item ";

// The chooser's item an answer clicks ("item 3" → 3), or 0.
int ItemAnswered(const std::string& answer, int count) {
    if (answer.rfind(kAnswerPrefixItem, 0) != 0) return 0;
    const auto item = typed::ParseInteger(answer.substr(kAnswerPrefixItem.size()), 1, count);
    return static_cast<int>(item.value_or(0));
}

std::optional<TList> ListNamed(const std::string& name) {
    if (name == "avail") return TList::Avail;
    if (name == "portfolio") return TList::Portfolio;
    return std::nullopt;
}

TWebDialog MessageBox(const std::string& icon, const std::string& caption,
                      const std::string& text) {
    TWebDialog dialog;
    dialog.Kind = "message";
    dialog.Icon = icon;
    dialog.Caption = caption;
    dialog.Text = WithLineFeeds(text);
    return dialog;
}

TWebDialog::Button OkButton() {
    TWebDialog::Button ok{WebFrontEnd::kOk, "ok"};
    ok.Default = true;
    return ok;
}

}  // namespace

WebFrontEnd::WebFrontEnd(IWebPage& page, TPlatform platform,
                         std::shared_ptr<ISystemQueries> systemQueries,
                         std::shared_ptr<ISettingsStore> settings)
    : page_(page) {
    app_ = std::make_unique<TRealtopia>(*this, std::move(platform), std::move(systemQueries),
                                        std::move(settings));
    // The browser keeps a game left in progress for the next visit.
    app_->OfferSavedGames = true;
    app_->MAXINI1.SetAboutBoxPresenter(
        [this](const TAboutBoxContent& content) { return ShowAbout(content); });
    TMarquee& ticker = app_->mainform.mq();
    ticker.SetHost(this);
    TimerChanged(ticker.TimerEnabled(), ticker.TimerWait());
}

WebFrontEnd::~WebFrontEnd() {
    if (app_ && app_->mainform.mq().Host() == this) app_->mainform.mq().SetHost(nullptr);
}

// ---- The page's events ----

bool WebFrontEnd::Splash(const std::string& control) {
    if (screen_ != Screen::Splash || DialogOpen()) return false;
    if (control == "play") {
        app_->cmd_playClick();
    } else if (control == "newuser") {
        app_->cmd_NewUserClick();
    } else if (control == "maker") {
        app_->lbl_brightworkClick();
    } else if (control == "sponsor") {
        app_->lbllink_CareerlyClick();
    } else if (control == "exit") {
        app_->ExitProgram();
    } else {
        return false;
    }
    return true;
}

std::optional<TCommand> WebFrontEnd::ControlCommand(const std::string& control) {
    const std::size_t colon = control.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const std::string kind = control.substr(0, colon);
    const std::string name = control.substr(colon + 1);
    if (kind == "button") return FindCommand(TCommandKind::Button, name);
    if (kind == "picture") return FindCommand(TCommandKind::Picture, name);
    if (kind == "menu") return FindCommand(TCommandKind::Menu, name);
    if (kind == "key") return FindCommand(TCommandKind::Key, name);
    return std::nullopt;
}

bool WebFrontEnd::Invoke(const std::string& kind, const std::string& name) {
    if (screen_ != Screen::Main || DialogOpen()) return false;
    const auto command = ControlCommand(kind + ":" + name);
    return command && app_->mainform.Invoke(*command);
}

TKeyEvent WebFrontEnd::KeyEventOf(const std::string& domKey, unsigned modifiers, bool autoRepeat) {
    TKeyEvent key = KeyEventOfWebName(domKey, modifiers, autoRepeat);
    if (key.Key != TKey::Other) return key;
    // A key that types one character names that character; Ctrl, Alt and Meta type nothing.
    const bool oneCharacter = !domKey.empty() && utf8::FirstCharacters(domKey, 1) == domKey;
    if (oneCharacter && (modifiers & (kControl | kAlt | kMeta)) == 0) key.Text = domKey;
    return key;
}

bool WebFrontEnd::KeyDown(const std::string& domKey, unsigned modifiers, bool autoRepeat,
                          const std::string& focusedControl) {
    if (screen_ != Screen::Main || DialogOpen()) return false;
    const TKeyEvent key = KeyEventOf(domKey, modifiers, autoRepeat);
    // A button or an area picture holds the focus that Enter presses.
    const std::optional<TCommand> focused = ControlCommand(focusedControl);
    const bool taken = app_->mainform.KeyPress(key, focused);
    // The window's own keys are the game's, not the browser's.
    return taken || InputOf(key.Key).Command.has_value();
}

void WebFrontEnd::KeyUp(const std::string& domKey, unsigned modifiers) {
    if (screen_ != Screen::Main || DialogOpen()) return;
    app_->mainform.KeyRelease(KeyEventOf(domKey, modifiers, false));
}

bool WebFrontEnd::ListMouseUp(const std::string& list, const std::vector<int>& rows) {
    const auto which = ListNamed(list);
    if (!which || screen_ != Screen::Main || DialogOpen()) return false;
    return app_->mainform.ListMouseUp(*which, rows);
}

bool WebFrontEnd::ListKeyUp(const std::string& list, const std::vector<int>& rows) {
    const auto which = ListNamed(list);
    if (!which || screen_ != Screen::Main || DialogOpen()) return false;
    return app_->mainform.ListKeyUp(*which, rows);
}

TListSelection* WebFrontEnd::SelectionOf(const std::string& list) {
    const auto which = ListNamed(list);
    if (!which || screen_ != Screen::Main || DialogOpen()) return nullptr;
    const bool avail = *which == TList::Avail;
    const TListView& view = avail ? app_->mainform.View().Avail : app_->mainform.View().Portfolio;
    if (!view.Enabled) return nullptr;
    TListSelection& selection = avail ? availSelection_ : portfolioSelection_;
    std::vector<bool> selected;
    selected.reserve(view.Rows.size());
    for (const TListRow& row : view.Rows) selected.push_back(row.Selected);
    selection.Show(selected);
    return &selection;
}

std::vector<int> WebFrontEnd::ListPress(const std::string& list, int row, unsigned modifiers,
                                        bool tap) {
    TListSelection* selection = SelectionOf(list);
    if (selection == nullptr) return {};
    if (tap) modifiers = TListSelection::TapModifiers(selectSeveral_);
    return selection->Press(row, modifiers);
}

std::optional<std::vector<int>> WebFrontEnd::ListMove(const std::string& list,
                                                      const std::string& domKey,
                                                      unsigned modifiers) {
    TListSelection::Move move{};
    if (!TListSelection::MoveNamed(domKey, move)) return std::nullopt;
    TListSelection* selection = SelectionOf(list);
    if (selection == nullptr) return std::nullopt;
    return selection->Key(move, modifiers);
}

bool WebFrontEnd::ListFocusIn(const std::string& list, const std::string& reason,
                              const std::vector<int>& rows) {
    const auto which = ListNamed(list);
    if (!which || screen_ != Screen::Main || DialogOpen()) return false;
    TFocusReason why = TFocusReason::Other;
    if (reason == "click") why = TFocusReason::Click;
    if (reason == "tab") why = TFocusReason::Tab;
    if (reason == "accelerator") why = TFocusReason::Accelerator;
    if (reason == "activation") why = TFocusReason::WindowActivation;
    // The row the page marks as the keys' row is the one the accelerator selects.
    const TListSelection* selection = SelectionOf(list);
    return app_->mainform.ListFocusIn(*which, why, rows,
                                      selection != nullptr ? selection->Current() : -1);
}

void WebFrontEnd::PointerOver(const std::string& control) {
    if (screen_ != Screen::Main || DialogOpen()) return;
    if (const auto command = ControlCommand(control)) {
        app_->mainform.PointerOver(*command);
    } else {
        app_->mainform.PointerOverHint(std::string());
    }
}

void WebFrontEnd::PointerOverHint(const std::string& hint) {
    if (screen_ != Screen::Main || DialogOpen()) return;
    app_->mainform.PointerOverHint(hint);
}

void WebFrontEnd::TimerFired() {
    if (!Running() || DialogOpen() || !app_->mainform.View().TimerEnabled) return;
    app_->mainform.TimerFired();
}

void WebFrontEnd::TickerStep() {
    if (Running()) app_->mainform.mq().Step();
}

bool WebFrontEnd::WindowStateChanged(bool minimised) {
    if (screen_ != Screen::Main || DialogOpen()) return false;
    return app_->mainform.WindowStateChanged(minimised);
}

bool WebFrontEnd::KeepGame() {
    // A move waiting for a box's answer is kept once it is over.
    if (screen_ != Screen::Main || DialogOpen()) return false;
    return keeper_.Keep(app_->mainform);
}

// ---- Dialogs ----

void WebFrontEnd::Open(TWebDialog dialog, DialogAnswered answered) {
    if (screen_ == Screen::Main) app_->mainform.WindowDeactivated();
    TPendingDialog pending{std::move(dialog), std::move(answered)};
    if (answering_ > 0) {
        dialogs_.insert(dialogs_.begin() + static_cast<std::ptrdiff_t>(insertDialogAt_++),
                        std::move(pending));
        return;  // shown once the answer has been taken
    }
    dialogs_.push_back(std::move(pending));
    ShowNextDialog();
}

void WebFrontEnd::ShowNextDialog() {
    if (showingDialogs_) return;
    showingDialogs_ = true;
    while (!dialogShown_ && !dialogs_.empty()) {
        dialogShown_ = true;
        // A page that answers at once (a test's) is answered here, one dialog after another.
        if (const std::optional<std::string> now = page_.OpenDialog(dialogs_.front().Dialog.Json()))
            TakeDialogAnswer(*now);
    }
    showingDialogs_ = false;
}

bool WebFrontEnd::DialogAnswer(const std::string& answer) {
    if (!dialogShown_ || dialogs_.empty()) return false;
    TakeDialogAnswer(answer);
    ShowNextDialog();
    return true;
}

void WebFrontEnd::TakeDialogAnswer(const std::string& answer) {
    TPendingDialog answered = std::move(dialogs_.front());
    dialogs_.pop_front();
    dialogShown_ = false;
    const std::size_t outerInsert = insertDialogAt_;
    insertDialogAt_ = 0;
    ++answering_;
    if (answered.Answered) answered.Answered(answer);
    --answering_;
    insertDialogAt_ = outerInsert;
}

void WebFrontEnd::ShowInformation(const std::string& text, Done done) {
    TWebDialog dialog = MessageBox("information", app_->Title(), text);
    dialog.Buttons.push_back(OkButton());
    dialog.EscapeAnswer = "ok";
    Open(std::move(dialog), [done](const std::string&) {
        if (done) done();
    });
}

void WebFrontEnd::ShowError(const std::string& caption, const std::string& text, Done done) {
    TWebDialog dialog = MessageBox("error", caption, text);
    dialog.Buttons.push_back(OkButton());
    dialog.EscapeAnswer = "ok";
    Open(std::move(dialog), [done](const std::string&) {
        if (done) done();
    });
}

void WebFrontEnd::AskYesNo(const std::string& question, Answered done) {
    TWebDialog dialog = MessageBox("question", app_->Title(), question);
    TWebDialog::Button yes{kYes, "yes"};
    yes.Default = true;
    dialog.Buttons = {yes, TWebDialog::Button{kNo, "no"}};
    dialog.EscapeAnswer = "no";
    Open(std::move(dialog), [done](const std::string& answer) {
        if (done) done(answer == "yes");
    });
}

void WebFrontEnd::AskInput(const std::string& caption, const std::string& prompt,
                           const std::string& defaultText, int maxLength, Typed done) {
    TWebDialog dialog;
    dialog.Kind = "input";
    dialog.Caption = caption;
    dialog.Text = WithLineFeeds(prompt);
    dialog.HasInput = true;
    dialog.InputText = defaultText;
    dialog.InputMaxLength = maxLength;
    dialog.Buttons = {OkButton(), TWebDialog::Button{kCancel, "cancel"}};
    dialog.EscapeAnswer = "cancel";
    Open(std::move(dialog), [done, defaultText, maxLength](const std::string& answer) {
        if (!done) return;
        // Cancel leaves the default text.
        if (answer.rfind("ok\n", 0) != 0) return done(false, defaultText);
        done(true, utf8::FirstCharacters(answer.substr(3), maxLength));
    });
}

void WebFrontEnd::ShowCopyable(const std::string& caption, const std::string& text,
                               const std::string& copy, const std::string& copyCaption,
                               const std::string& link, Done done) {
    TWebDialog dialog;
    dialog.Kind = "copy";
    dialog.Icon = "information";
    dialog.Caption = caption;
    dialog.Text = WithLineFeeds(text);
    dialog.HasCopy = true;
    dialog.CopyText = copy;
    dialog.CopyCaption = displaytext::PlainCaption(copyCaption);
    dialog.Link = link;
    dialog.Buttons = {OkButton()};
    dialog.EscapeAnswer = "ok";
    Open(std::move(dialog), [done](const std::string&) {
        if (done) done();
    });
}

void WebFrontEnd::OpenModal(Modal window, Answered done) {
    switch (window) {
        case Modal::Agreement:
            return ShowAgreement(std::move(done));
        case Modal::Rules:
            return ShowRules(std::move(done));
        case Modal::DamRen:
            return ShowChooser(std::move(done));
        case Modal::Police:
            return ShowPolice(std::move(done));
        case Modal::MarketReport:
            return ShowMarketReport(std::move(done));
    }
    if (done) done(false);
}

void WebFrontEnd::ShowAgreement(Answered done) {
    TWebDialog dialog;
    dialog.Kind = "agreement";
    dialog.Caption = TEULA::Subject;
    dialog.Heading = TEULA::Heading;
    dialog.Text = WithLineFeeds(app_->AgreementText);
    TWebDialog::Button accept = TWebDialog::MakeButton(TEULA::AcceptCaption, "agree");
    accept.Default = true;
    dialog.Buttons = {TWebDialog::MakeButton(TEULA::DeclineCaption, "disagree"), accept};
    dialog.EscapeAnswer = "disagree";
    Open(std::move(dialog), [this, done](const std::string& answer) {
        const bool agreed = answer == "agree";
        if (!agreed) app_->cmd_DECLINEClick();  // closes the splash while the agreement is shown
        if (done) done(agreed);
    });
}

void WebFrontEnd::ShowRules(Answered done) {
    // One dialog a state of the window, its answers the rules window's words.
    const Trulesform& rules = app_->rulesform;
    TWebDialog dialog;
    dialog.Kind = "rules";
    dialog.Caption = Trulesform::Subject;
    dialog.Heading = WithLineFeeds(rules.Title());
    if (rules.TopicVisible()) {
        dialog.Text = WithLineFeeds(rules.Text());
        dialog.Buttons.push_back(TWebDialog::MakeButton(Trulesform::BackCaption, "back"));
    } else {
        for (int k = 1; k <= 4; ++k) {
            const Trulesform::Topic& topic = Trulesform::kTopics[k - 1];
            dialog.Choices.push_back(
                {topic.Button, topic.Label, "topic " + std::to_string(k), false});
        }
    }
    TWebDialog::Button close = TWebDialog::MakeButton(Trulesform::CloseCaption, "close");
    close.Default = true;
    dialog.Buttons.push_back(close);
    dialog.EscapeAnswer = "esc";  // the rules window says what Esc does
    Open(std::move(dialog), [this, done](const std::string& answer) {
        const TRulesAnswer taken = TakeRulesAnswer(app_->rulesform, answer);
        if (taken.Closes || !Running()) {
            if (done) done(taken.Closes && taken.Ok);
            return;
        }
        ShowRules(done);  // changed, or refused: the page asks again
    });
}

void WebFrontEnd::ShowChooser(Answered done) {
    // One dialog a state of the chooser: clicking an item checks it, OK and Cancel close.
    const TDamRenForm& chooser = app_->DamRenForm;
    const int count = static_cast<int>(chooser.Items().size());
    TWebDialog dialog;
    dialog.Kind = "chooser";
    dialog.Caption = app_->Title();
    dialog.ChoicesTitle = displaytext::PlainCaption(chooser.GroupCaption());
    for (int k = 1; k <= count; ++k)
        dialog.Choices.push_back({"", chooser.Items()[k - 1], kAnswerPrefixItem + std::to_string(k),
                                  chooser.ItemIndex() == k, chooser.ItemEnabled(k)});
    TWebDialog::Button ok = OkButton();
    ok.Enabled = chooser.OkEnabled();
    dialog.Buttons = {ok, TWebDialog::Button{kCancel, "cancel"}};
    dialog.EscapeAnswer = "cancel";
    Open(std::move(dialog), [this, done, count](const std::string& answer) {
        using Kind = TChooserMove::Kind;
        TChooserMove move{Kind::Cancel, 0};
        if (const int item = ItemAnswered(answer, count))
            move = {Kind::Pick, item};
        else if (answer == "ok")
            move = {Kind::Ok, 0};
        TakeChooserMove(app_->DamRenForm, move);  // a refused one: the page asks again
        if (app_->DamRenForm.Closed() || !Running()) {
            if (done) done(app_->DamRenForm.ChoiceMade());
            return;
        }
        ShowChooser(done);
    });
}

void WebFrontEnd::ShowPolice(Answered done) {
    TWebDialog dialog;
    dialog.Kind = "police";
    dialog.Caption = Tpoliceform::Caption;
    dialog.Heading = Tpoliceform::Heading;
    dialog.Text = WithLineFeeds(app_->policeform.lbl_message);
    TWebDialog::Button close{TMarketReport::CloseCaption, "close"};
    close.Default = true;
    dialog.Buttons = {close};
    dialog.EscapeAnswer = "close";
    Open(std::move(dialog), [done](const std::string&) {
        if (done) done(true);
    });
}

void WebFrontEnd::ShowMarketReport(Answered done) {
    const TMarketReport report(app_->mainform.Game());
    TWebDialog dialog;
    dialog.Kind = "report";
    dialog.Caption = TMarketReport::Caption;
    dialog.RowsTitle = displaytext::PlainCaption(TMarketReport::LogTitle);
    dialog.Charts = {WebChartJson(report.Prices()), WebChartJson(report.Worth())};
    for (const TLogRow& row : report.Log()) dialog.Rows.push_back({row.Month, row.Text, row.Note});
    if (dialog.Rows.empty()) dialog.Text = TMarketReport::EmptyLog;
    TWebDialog::Button close = TWebDialog::MakeButton(TMarketReport::CloseCaption, "close");
    close.Default = true;
    dialog.Buttons = {close};
    dialog.EscapeAnswer = "close";
    Open(std::move(dialog), [done](const std::string&) {
        if (done) done(true);
    });
}

bool WebFrontEnd::ShowAbout(const TAboutBoxContent& content) {
    TWebDialog dialog;
    dialog.Kind = "about";
    dialog.Caption = content.Caption;
    dialog.Rows = {{TAboutBoxContent::ProductCaption, content.Product, ""},
                   {TAboutBoxContent::VersionCaption, content.Version, ""},
                   {TAboutBoxContent::HostCaption, content.Host, ""}};
    dialog.Text = WithLineFeeds(content.Comments);
    dialog.Buttons = {OkButton()};
    dialog.EscapeAnswer = "ok";
    // The clock stands still until the box is closed, as behind every other box.
    app_->mainform.HoldClock();
    Open(std::move(dialog), [this](const std::string&) { app_->mainform.ReleaseClock(); });
    return true;
}

// ---- The rest of IEffects ----

void WebFrontEnd::ShowMainWindow() {
    screen_ = Screen::Main;
}

void WebFrontEnd::MainTimerChanged() {
    page_.MainTimerChanged();
}

std::int64_t WebFrontEnd::Now() {
    return page_.Now();
}

IEffects::SoundResult WebFrontEnd::PlaySound(const std::string& name, bool wait) {
    return page_.PlaySound(name, wait);
}

bool WebFrontEnd::SoundDeviceWorks() {
    return page_.SoundDeviceWorks();
}

bool WebFrontEnd::OpenUrl(const std::string& url) {
    return page_.OpenUrl(url);
}

void WebFrontEnd::Announce(const std::string& text) {
    page_.Announce(text);
}

void WebFrontEnd::Quit() {
    // Exit Game and Alt+X keep the game in progress, as the desktop program does when it ends.
    if (screen_ == Screen::Main) SaveGameOnExit(app_->mainform);
    screen_ = Screen::Ended;
    page_.TickerTimerChanged(false, 0);
    page_.MainTimerChanged();
}

int WebFrontEnd::TextWidth(const std::string& text) {
    return page_.TextWidth(text);
}

int WebFrontEnd::FrameMs() {
    // A browser draws the page once a frame of the display, which it does not tell.
    return TMarquee::FrameMsAt(0);
}

void WebFrontEnd::TimerChanged(bool enabled, int intervalMs) {
    page_.TickerTimerChanged(enabled && Running(), intervalMs);
}
