#pragma once

#include <string>

// The rules window without its toolkit: a menu of four topics, each shown in place of the
// menu with a Back button. It keeps its state between showings.
class Trulesform {
public:
    struct Topic {
        const char* Button;  // the flat button's caption
        const char* Label;   // the description beside it
    };
    static constexpr Topic kTopics[4] = {
        {"OVERVIEW", "Purpose of the game"},
        {"BUY/SELL", "Buying and Selling"},
        {"DAMAGE", "Damage/Renovate"},
        {"STRATEGY", "What is a winning strategy?"},
    };

    static constexpr const char* kTitle = "RULES";
    // The window's title, and what it is about as a screen reader names it.
    static constexpr const char* Subject = "Rules";
    static constexpr const char* CloseCaption = "&CLOSE";
    static constexpr const char* BackCaption = "Back";

    Trulesform() { FormCreate(); }

    const std::string& Title() const { return title_; }
    const std::string& Text() const { return text_; }
    int ShownTopic() const { return shownTopic_; }  // 0: the topic menu
    bool TopicVisible() const { return shownTopic_ != 0; }

    void FormCreate();
    // The click handler of the four topic buttons; `tag` is 1..4. Ignored while a topic is
    // shown (its text covers the buttons).
    void NotImplemented(int tag);
    void cmd_backClick();
    // The answers the window's buttons give when pressed (frontend/RulesLoop.h).
    static constexpr const char* CloseAnswer = "close";
    static constexpr const char* BackAnswer = "back";
    static std::string TopicAnswer(int tag) { return "topic " + std::to_string(tag); }
    // What Enter answers: on a focused button (`focusedButton`, that button's own answer) the
    // same as Space or a click there, so Enter never does something else than the button the
    // player sees marked; with no button focused (empty), the default button's, CLOSE.
    static std::string EnterAnswer(const std::string& focusedButton) {
        return focusedButton.empty() ? CloseAnswer : focusedButton;
    }
    // Esc closes the window as CLOSE does (the result OK, so the New User way goes on into
    // the game), as Esc closes every other window. Returns true when the window is to close.
    bool EscapePressed() const { return true; }

    static std::string TopicText(int tag);

private:
    std::string title_;
    std::string text_;
    int shownTopic_ = 0;
};
