#include "frontend/RulesLoop.h"

#include <vector>

#include "frontend/TypedText.h"
#include "windows/Trulesform.h"

namespace {

enum class TRulesMove { Close, Quit, Escape, Back, Topic, None };

}  // namespace

TRulesAnswer TakeRulesAnswer(Trulesform& rules, const std::string& answer) {
    const std::vector<std::string> words = typed::Words(answer);
    const std::string word = words.empty() ? std::string() : words.front();
    TRulesMove move = TRulesMove::None;
    if (words.size() == 1 && word == "close") move = TRulesMove::Close;
    if (words.size() == 1 && word == "quit") move = TRulesMove::Quit;
    if (words.size() == 1 && word == "esc") move = TRulesMove::Escape;
    if (words.size() == 1 && word == "back") move = TRulesMove::Back;
    if (words.size() == 2 && word == "topic") move = TRulesMove::Topic;

    TRulesAnswer result;
    switch (move) {
        case TRulesMove::Close:
            result.Closes = result.Ok = true;
            break;
        case TRulesMove::Quit:
            result.Closes = true;
            break;
        case TRulesMove::Escape:
            result.Closes = result.Ok = rules.EscapePressed();
            break;
        case TRulesMove::Back:
            if (!rules.TopicVisible()) {
                result.Refusal = "no topic is shown";
            } else {
                rules.cmd_backClick();
                result.Changed = true;
            }
            break;
        case TRulesMove::Topic:
            if (const auto topic = typed::ParseInteger(words[1], 1, 4); !topic) {
                result.Refusal = "the topics are 1 to 4";
            } else if (rules.TopicVisible()) {
                result.Refusal = "a topic is shown; go back first";
            } else {
                rules.NotImplemented(static_cast<int>(*topic));
                result.Changed = true;
            }
            break;
        case TRulesMove::None:
            result.Refusal = "answer topic N, back, close, esc or quit";
            break;
    }
    return result;
}

bool RunRulesWindow(Trulesform& rules, IRulesWindowFace& face) {
    face.Show(rules);
    for (;;) {
        const TRulesAnswer taken = TakeRulesAnswer(rules, face.Answer(rules));
        if (taken.Closes) return taken.Ok;
        if (!taken.Refusal.empty()) face.Refuse(taken.Refusal);
        if (taken.Changed) face.Show(rules);
        if (!face.ProgramRunning()) return false;
    }
}
