#pragma once

#include <string>
#include <vector>

// A modal dialog as the page draws it: a caption, an optional icon and heading, a text, an
// optional input line, rows of choices and a row of buttons. Every text is final (no "&"
// marks, line feeds for line breaks); the page draws them and answers with the `Answer` of
// what the player used, or for an input box "ok" followed by a line feed and the text typed.
struct TWebDialog {
    struct Button {
        std::string Label;
        std::string Answer;
        bool Enabled = true;
        bool Default = false;  // Enter
        char Accelerator = 0;  // Alt+letter, lower case; 0 for none
    };
    struct Choice {
        std::string Button;  // a topic button's caption, or empty for a radio item
        std::string Label;
        std::string Answer;
        bool Checked = false;
        bool Enabled = true;
    };
    struct Row {
        std::string Month;
        std::string Text;
        std::string Note;
    };

    std::string Kind;  // "message", "input", "agreement", "rules", "chooser", "police", ...
    std::string Icon;  // "information", "error", "question" or empty
    std::string Caption;
    std::string Heading;
    std::string Text;
    bool HasInput = false;
    std::string InputText;
    int InputMaxLength = 0;
    // A line to copy (shown read-only, selected) with a button captioned CopyCaption that puts
    // it on the clipboard without closing the dialog; and the page's own address followed by
    // Link, shown as a link (empty: none).
    bool HasCopy = false;
    std::string CopyText;
    std::string CopyCaption;
    std::string Link;
    std::string ChoicesTitle;
    std::vector<Choice> Choices;
    std::string RowsTitle;
    std::vector<Row> Rows;
    // Charts drawn above the rows, each a JSON object (WebChartJson).
    std::vector<std::string> Charts;
    std::vector<Button> Buttons;
    // What Esc answers (the cancel button's answer, or closing the window); empty: nothing.
    std::string EscapeAnswer;

    std::string Json() const;

    // A button from a caption with an optional "&" accelerator mark.
    static Button MakeButton(const std::string& caption, std::string answer);
};
