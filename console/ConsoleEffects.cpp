#include "console/ConsoleEffects.h"

#include "console/ConsoleText.h"
#include "console/ReportLines.h"
#include "frontend/ChooserLoop.h"
#include "frontend/RulesLoop.h"
#include "ui/Utf8.h"
#include "windows/TRealtopia.h"

using consoletext::Trim;

void ConsoleEffects::Attach(TRealtopia& app) {
    app_ = &app;
    app.MAXINI1.SetAboutBoxPresenter(
        [this](const TAboutBoxContent& content) { return ShowAbout(content); });
}

bool ConsoleEffects::ReadLine(std::string& line) {
    // A line is kept up to kMaxLineLength bytes (and a carriage return); the rest of a longer
    // one is read and dropped, so no line, however long, is held in memory.
    std::streambuf& input = *in_.rdbuf();
    for (;;) {
        line.clear();
        bool tooLong = false;
        int c = 0;
        while ((c = input.sbumpc()) != std::char_traits<char>::eof() && c != '\n') {
            if (line.size() <= kMaxLineLength)
                line.push_back(static_cast<char>(c));
            else
                tooLong = true;
        }
        if (c == std::char_traits<char>::eof() && line.empty() && !tooLong) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!tooLong && line.size() <= kMaxLineLength) return true;
        Refuse("line longer than " + std::to_string(kMaxLineLength) + " bytes");
    }
}

std::string ConsoleEffects::Answer() {
    std::string line;
    if (!ReadLine(line)) EndOfInput();
    return line;
}

void ConsoleEffects::EndOfInput() {
    if (app_ != nullptr) app_->ExitProgram();
    ConsoleEffects::Quit();  // reached only when no application is attached
}

void ConsoleEffects::Information(const std::string& text) {
    out_.Line("info", text);
}

void ConsoleEffects::Error(const std::string& caption, const std::string& text) {
    out_.Line("error", caption + " | " + text);
}

bool ConsoleEffects::YesNo(const std::string& question) {
    out_.Line("confirm", question);
    for (;;) {
        const std::string answer = Trim(Answer());
        if (answer == "yes") return true;
        if (answer == "no") return false;
        Refuse("answer yes or no");
    }
}

bool ConsoleEffects::Input(const std::string& caption, const std::string& prompt, std::string& text,
                           int maxLength) {
    out_.Line("input", caption + " | " + prompt + " | " + text);
    const std::string answer = Answer();
    if (answer == "!cancel") return false;  // Cancel leaves the default text
    text = utf8::FirstCharacters(answer, maxLength);
    return true;
}

bool ConsoleEffects::ShowModal(Modal window) {
    if (app_ == nullptr) return false;
    switch (window) {
        case Modal::Agreement:
            return ShowAgreement();
        case Modal::Rules:
            return ShowRules();
        case Modal::DamRen:
            return ShowChooser();
        case Modal::Police:
            // The message is read, not answered: the window closes at once.
            out_.Line("police", app_->policeform.lbl_message);
            return true;
        case Modal::MarketReport:
            // Read at once, as the `report` command prints it.
            PrintReport(out_, app_->mainform.Game());
            return true;
    }
    return false;
}

bool ConsoleEffects::ShowAgreement() {
    out_.Line("eula", app_->AgreementText);
    for (;;) {
        const std::string answer = Trim(Answer());
        if (answer == "agree") return true;
        if (answer == "disagree") {
            app_->cmd_DECLINEClick();  // closes the splash while the agreement is shown
            return false;
        }
        Refuse("answer agree or disagree");
    }
}

bool ConsoleEffects::ShowRules() {
    // The title whenever the window is shown or changes, and a topic's text.
    class Face : public IRulesWindowFace {
    public:
        explicit Face(ConsoleEffects& effects) : effects_(effects) {}
        void Show(const Trulesform& rules) override {
            effects_.out_.Line("rules", rules.Title());
            if (rules.TopicVisible()) effects_.out_.Line("rules-text", rules.Text());
        }
        std::string Answer(const Trulesform&) override { return effects_.Answer(); }
        void Refuse(const std::string& why) override { effects_.Refuse(why); }

    private:
        ConsoleEffects& effects_;
    } face(*this);
    return RunRulesWindow(app_->rulesform, face);
}

bool ConsoleEffects::ShowChooser() {
    // The caption and the items once; an answer is an item's number, which clicks that item
    // and then OK, or "cancel".
    class Face : public IChooserFace {
    public:
        explicit Face(ConsoleEffects& effects) : effects_(effects) {}
        void Show(const TDamRenForm& chooser) override {
            effects_.out_.Line("chooser", chooser.GroupCaption());
            const std::vector<std::string>& items = chooser.Items();
            for (std::size_t k = 0; k < items.size(); ++k)
                effects_.out_.Line("item", std::to_string(k + 1) + " " + items[k]);
        }
        std::vector<TChooserMove> Moves(const TDamRenForm& chooser) override {
            using Kind = TChooserMove::Kind;
            const std::string answer = Trim(effects_.Answer());
            if (answer == "cancel") return {{Kind::Cancel}};
            const std::size_t count = chooser.Items().size();
            const auto item =
                consoletext::ParseInteger(answer, 1, static_cast<std::int64_t>(count));
            if (item) return {{Kind::Pick, static_cast<int>(*item)}, {Kind::Ok}};
            Refuse(count == 0 ? "nothing to choose; answer cancel"
                              : "answer 1 to " + std::to_string(count) + " or cancel");
            return {};
        }
        void Refuse(const std::string& why) override { effects_.Refuse(why); }

    private:
        ConsoleEffects& effects_;
    } face(*this);
    return RunChooser(app_->DamRenForm, face);
}

bool ConsoleEffects::ShowAbout(const TAboutBoxContent& content) {
    out_.Line("about", std::string(TAboutBoxContent::ProductCaption) + " " + content.Product);
    out_.Line("about", std::string(TAboutBoxContent::VersionCaption) + " " + content.Version);
    out_.Line("about", std::string(TAboutBoxContent::HostCaption) + " " + content.Host);
    out_.Line("about", content.Comments);
    return true;
}

IEffects::SoundResult ConsoleEffects::PlaySound(const std::string& name, bool wait) {
    out_.Line("sound", name + (wait ? " wait" : " async"));
    return SoundResult::Played;
}

bool ConsoleEffects::OpenUrl(const std::string& url) {
    out_.Line("url", url);
    return true;
}

void ConsoleEffects::Quit() {
    out_.Line("exit", "");
    throw ConsoleExit{};
}
