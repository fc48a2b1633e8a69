#include "console/ConsoleEffects.h"

#include "console/ConsoleText.h"
#include "console/ReportJson.h"
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
    text = CutToCharacters(answer, maxLength);
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

void ConsoleEffects::PrintRules(bool withText) {
    const Trulesform& rules = app_->rulesform;
    out_.Line("rules", rules.Title());
    if (withText && rules.TopicVisible()) out_.Line("rules-text", rules.Text());
}

bool ConsoleEffects::ShowRules() {
    Trulesform& rules = app_->rulesform;
    // The window keeps its state between showings: it may open on a topic.
    PrintRules(true);
    for (;;) {
        const std::vector<std::string> words = consoletext::Words(Answer());
        const std::string word = words.empty() ? std::string() : words.front();
        if (words.size() == 1 && word == "close") return true;
        if (words.size() == 1 && word == "quit") return false;
        if (words.size() == 1 && word == "esc" && rules.EscapePressed()) return true;
        if (words.size() == 1 && word == "back") {
            if (!rules.TopicVisible()) {
                Refuse("no topic is shown");
                continue;
            }
            rules.cmd_backClick();
            PrintRules(false);
            continue;
        }
        if (words.size() == 2 && word == "topic") {
            const auto topic = consoletext::ParseInteger(words[1], 1, 4);
            if (!topic) {
                Refuse("the topics are 1 to 4");
            } else if (rules.TopicVisible()) {
                Refuse("a topic is shown; go back first");
            } else {
                rules.NotImplemented(static_cast<int>(*topic));
                PrintRules(true);
            }
            continue;
        }
        Refuse("answer topic N, back, close or quit");
    }
}

bool ConsoleEffects::ShowChooser() {
    TDamRenForm& chooser = app_->DamRenForm;
    out_.Line("chooser", chooser.GroupCaption());
    const std::vector<std::string>& items = chooser.Items();
    for (std::size_t k = 0; k < items.size(); ++k)
        out_.Line("item", std::to_string(k + 1) + " " + items[k]);
    while (!chooser.Closed()) {
        const std::string answer = Trim(Answer());
        if (answer == "cancel") {
            chooser.cmd_CancelClick();
            continue;
        }
        const auto item =
            consoletext::ParseInteger(answer, 1, static_cast<std::int64_t>(items.size()));
        if (!item) {
            Refuse(items.empty() ? "nothing to choose; answer cancel"
                                 : "answer 1 to " + std::to_string(items.size()) + " or cancel");
            continue;
        }
        if (!chooser.ItemEnabled(static_cast<int>(*item))) {
            Refuse("disabled: already done");
            continue;
        }
        chooser.optgroupClick(static_cast<int>(*item));
        chooser.cmd_CloseClick();
        if (!chooser.Closed()) Refuse("OK is disabled");
    }
    return chooser.ChoiceMade();
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

std::string ConsoleEffects::CutToCharacters(const std::string& utf8, int maxLength) {
    if (maxLength < 0) return utf8;
    std::string cut;
    int count = 0;
    for (const std::string& character : consoletext::Characters(utf8)) {
        if (count == maxLength) break;
        cut += character;
        ++count;
    }
    return cut;
}
