#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/RealtopiaFixture.h"
#include "ui/QuestionLoop.h"

namespace {

// A toolkit that answers its message boxes later, as the page does: each box's answer waits
// here until the test gives it.
class LaterEffects : public ScriptedEffects {
public:
    void ShowInformation(const std::string& text, Done done) override {
        Information(text);
        Waiting.push_back(std::move(done));
    }
    std::vector<Done> Waiting;
};

// The program's other windows, never opened by a message box.
class NoWindows : public IMainFormHost {
public:
    void ShowPoliceMessage(const std::string&, std::function<void()>) override { ++Opened; }
    void ShowDamRenChooser(std::function<void()>) override { ++Opened; }
    void ShowAboutBox() override { ++Opened; }
    void EmailAFriend() override { ++Opened; }
    void ExitProgram() override { ++Opened; }
    int Opened = 0;
};

using QuestionLoopTest = RealtopiaFixture;

// A question answered later holds the loop: asked again meanwhile (a move made while the box
// is up), it shows no second box. Its answer is the game's next move, after which the move's
// events are taken; an answer given twice counts once.
TEST_F(QuestionLoopTest, AnAnswerThatComesLaterIsTheGamesNextMove) {
    EnterGame();
    TGame& g = Game();
    LaterEffects later;
    NoWindows host;
    int eventsTaken = 0;
    TQuestionLoop loop(g, later, host, [&eventsTaken] { ++eventsTaken; });

    g.Apply(TMove::Of(TMoveKind::BuyOrSell));  // nothing selected: the game asks first
    ASSERT_NE(g.OpenQuestion(), nullptr);
    loop.Ask();
    EXPECT_TRUE(loop.Asking());
    loop.Ask();
    ASSERT_EQ(later.Waiting.size(), 1u);
    EXPECT_EQ(later.Calls(),
              std::vector<std::string>{"info: Click a property in one of the lists, first!"});
    EXPECT_EQ(eventsTaken, 0);

    const std::uint64_t answers = g.AnswerCount();
    later.Waiting[0]();
    EXPECT_FALSE(loop.Asking());
    EXPECT_EQ(g.OpenQuestion(), nullptr);
    EXPECT_EQ(g.AnswerCount(), answers + 1);
    EXPECT_EQ(eventsTaken, 1);

    later.Waiting[0]();  // the same box answered again
    EXPECT_EQ(g.AnswerCount(), answers + 1);
    EXPECT_EQ(eventsTaken, 1);
    EXPECT_EQ(later.Waiting.size(), 1u);
    EXPECT_EQ(host.Opened, 0);
}

}  // namespace
