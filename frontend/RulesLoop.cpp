#include "frontend/RulesLoop.h"

#include <vector>

#include "frontend/TypedText.h"
#include "windows/Trulesform.h"

namespace {

enum class TRulesMove { Close, Quit, Escape, Back, Topic, None };

}  // namespace

bool RunRulesWindow(Trulesform& rules, IRulesWindowFace& face) {
    face.Show(rules);
    for (;;) {
        const std::vector<std::string> words = typed::Words(face.Answer(rules));
        const std::string word = words.empty() ? std::string() : words.front();
        TRulesMove move = TRulesMove::None;
        if (words.size() == 1 && word == "close") move = TRulesMove::Close;
        if (words.size() == 1 && word == "quit") move = TRulesMove::Quit;
        if (words.size() == 1 && word == "esc") move = TRulesMove::Escape;
        if (words.size() == 1 && word == "back") move = TRulesMove::Back;
        if (words.size() == 2 && word == "topic") move = TRulesMove::Topic;

        switch (move) {
            case TRulesMove::Close:
                return true;
            case TRulesMove::Quit:
                return false;
            case TRulesMove::Escape:
                if (rules.EscapePressed()) return true;
                break;
            case TRulesMove::Back:
                if (!rules.TopicVisible()) {
                    face.Refuse("no topic is shown");
                } else {
                    rules.cmd_backClick();
                    face.Show(rules);
                }
                break;
            case TRulesMove::Topic:
                if (const auto topic = typed::ParseInteger(words[1], 1, 4); !topic) {
                    face.Refuse("the topics are 1 to 4");
                } else if (rules.TopicVisible()) {
                    face.Refuse("a topic is shown; go back first");
                } else {
                    rules.NotImplemented(static_cast<int>(*topic));
                    face.Show(rules);
                }
                break;
            case TRulesMove::None:
                face.Refuse("answer topic N, back, close, esc or quit");
                break;
        }
        if (!face.ProgramRunning()) return false;
    }
}
