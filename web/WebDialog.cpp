#include "web/WebDialog.h"

#include "frontend/JsonWriter.h"
#include "ui/DisplayText.h"

TWebDialog::Button TWebDialog::MakeButton(const std::string& caption, std::string answer) {
    Button button;
    button.Label = displaytext::PlainCaption(caption);
    button.Answer = std::move(answer);
    button.Accelerator = displaytext::AcceleratorLetter(caption);
    return button;
}

std::string TWebDialog::Json() const {
    TJsonWriter json;
    json.Open(nullptr, '{');
    json.String("kind", Kind).String("icon", Icon).String("caption", Caption);
    json.String("heading", Heading).String("text", Text);
    if (HasInput) {
        json.Open("input", '{');
        json.String("text", InputText).Int("maxLength", InputMaxLength);
        json.Close('}');
    }
    if (HasCopy) {
        json.Open("copy", '{');
        json.String("text", CopyText).String("caption", CopyCaption).String("link", Link);
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
    json.Open("charts", '[');
    for (const std::string& chart : Charts) json.Raw(nullptr, chart);
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
