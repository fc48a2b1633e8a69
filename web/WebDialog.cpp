#include "web/WebDialog.h"

#include <cctype>

#include "ui/DisplayText.h"
#include "web/WebJson.h"

TWebDialog::Button TWebDialog::MakeButton(const std::string& caption, std::string answer) {
    Button button;
    button.Label = displaytext::PlainCaption(caption);
    button.Answer = std::move(answer);
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        button.Accelerator =
            static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
        break;
    }
    return button;
}

std::string TWebDialog::Json() const {
    TWebJson json;
    json.Open(nullptr, '{');
    json.String("kind", Kind).String("icon", Icon).String("caption", Caption);
    json.String("heading", Heading).String("text", Text);
    if (HasInput) {
        json.Open("input", '{');
        json.String("text", InputText).Int("maxLength", InputMaxLength);
        json.Close('}');
    }
    json.String("choicesTitle", ChoicesTitle);
    json.Open("choices", '[');
    for (const Choice& choice : Choices) {
        json.Open(nullptr, '{');
        json.String("button", choice.Button).String("label", choice.Label);
        json.String("answer", choice.Answer).Bool("checked", choice.Checked);
        json.Bool("enabled", choice.Enabled);
        json.Close('}');
    }
    json.Close(']');
    json.String("rowsTitle", RowsTitle);
    json.Open("rows", '[');
    for (const Row& row : Rows) {
        json.Open(nullptr, '{');
        json.String("month", row.Month).String("text", row.Text).String("note", row.Note);
        json.Close('}');
    }
    json.Close(']');
    json.Open("buttons", '[');
    for (const Button& button : Buttons) {
        json.Open(nullptr, '{');
        json.String("label", button.Label).String("answer", button.Answer);
        json.Bool("enabled", button.Enabled).Bool("default", button.Default);
        json.String("accelerator", button.Accelerator ? std::string(1, button.Accelerator) : "");
        json.Close('}');
    }
    json.Close(']');
    json.String("escape", EscapeAnswer);
    json.Close('}');
    return json.Text();
}
