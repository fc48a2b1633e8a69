// The pieces the text front end and the web page share: the JSON writer, the names written as
// data, and the loops of the rules window and the damage/renovate chooser.

#include <deque>
#include <string>
#include <vector>

#include "frontend/ChooserLoop.h"
#include "frontend/JsonWriter.h"
#include "frontend/ListJson.h"
#include "frontend/RulesLoop.h"
#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"
#include "ui/DisplayText.h"
#include "ui/MainWindowView.h"
#include "windows/Trulesform.h"

namespace {

TEST(JsonWriterTest, PlacesCommasQuotesAndNests) {
    TJsonWriter json;
    json.Open(nullptr, '{');
    json.Int("n", -3).Bool("on", true).String("name", "a\"b");
    json.Open("list", '[');
    json.Int(nullptr, 1).Amount(nullptr, Money::Pounds(2)).Bool(nullptr, false);
    json.Open(nullptr, '{').Close('}');
    json.Open(nullptr, '[').String(nullptr, "").Close(']');
    json.Close(']');
    json.Raw("raw", "[1,2]").Open("empty", '{').Close('}');
    json.Close('}');
    EXPECT_EQ(json.Text(),
              "{\"n\":-3,\"on\":true,\"name\":\"a\\\"b\",\"list\":[1,20000,false,{},[\"\"]],"
              "\"raw\":[1,2],\"empty\":{}}");

    EXPECT_EQ(TJsonWriter::Quote("say \"hi\"\\\r\n\t\x01 \u00A3"),
              "\"say \\\"hi\\\"\\\\\\r\\n\\t\\u0001 \u00A3\"");
    // Other control characters (C0, DEL, C1) by their code points; bytes that are not UTF-8
    // (a stray continuation byte, an invalid lead, a surrogate, a cut sequence) as U+FFFD.
    const std::string odd("\x00\x1B\x7F\xC2\x9B\u20AC\x80\xC0\xAF\xED\xA0\x80\xE2\x82", 16);
    std::string replaced;
    for (int i = 0; i < 8; ++i) replaced += "\uFFFD";
    EXPECT_EQ(TJsonWriter::Quote(odd), "\"\\u0000\\u001b\\u007f\\u009b\u20AC" + replaced + "\"");
}

TEST(JsonWriterTest, WritesAListWithOrWithoutItsRowsNameAndPrice) {
    TListView list;
    list.Enabled = false;
    TListRow row;
    row.Text = "Bedsit (\u00A31,000)";
    row.NameLength = 6;
    row.Selected = true;
    list.Rows = {row, TListRow{}};
    TJsonWriter plain;
    plain.Open(nullptr, '{');
    WriteListJson(plain, "avail", list);
    plain.Close('}');
    EXPECT_EQ(plain.Text(),
              "{\"avail\":{\"enabled\":false,\"rows\":[{\"text\":\"Bedsit (\u00A31,000)\","
              "\"selected\":true},{\"text\":\"\",\"selected\":false}]}}");
    // A name length beyond the text (it never is, but the row is data) keeps the whole text.
    list.Rows[1].Text = "Flat";
    list.Rows[1].NameLength = 99;
    TJsonWriter parts;
    WriteListJson(parts, nullptr, list, true);
    EXPECT_EQ(parts.Text(),
              "{\"enabled\":false,\"rows\":[{\"text\":\"Bedsit (\u00A31,000)\",\"selected\":true,"
              "\"name\":\"Bedsit\",\"price\":\" (\u00A31,000)\"},{\"text\":\"Flat\","
              "\"selected\":false,\"name\":\"Flat\",\"price\":\"\"}]}");
}

TEST(DataNamesTest, TrendsSpeedsAndAcceleratorsAreNamedOnce) {
    EXPECT_STREQ(TrendName(Steady), "steady");
    EXPECT_STREQ(TrendName(Risen), "risen");
    EXPECT_STREQ(TrendName(Fallen), "fallen");
    // The picture of a trend carries that trend's name.
    EXPECT_STREQ(TrendPictureName(TTrendPicture::Steady), "steady");
    EXPECT_STREQ(TrendPictureName(TTrendPicture::Risen), "risen");
    EXPECT_STREQ(TrendPictureName(TTrendPicture::Fallen), "fallen");
    EXPECT_STREQ(SpeedName(tsSlow), "slow");
    EXPECT_STREQ(SpeedName(tsMedium), "medium");
    EXPECT_STREQ(SpeedName(tsFast), "fast");
    // A caption's accelerator letter, as the page underlines it.
    EXPECT_EQ(displaytext::AcceleratorLetter("E&xit Game"), 'x');
    EXPECT_EQ(displaytext::AcceleratorLetter("&CLOSE"), 'c');
    EXPECT_EQ(displaytext::AcceleratorLetter("Fish && &Chips"), 'c');
    EXPECT_EQ(displaytext::AcceleratorLetter("Fish && Chips"), 0);
    EXPECT_EQ(displaytext::AcceleratorLetter("Ends &"), 0);
}

// A player who answers from a script and notes what the window showed and refused.
class ScriptedRulesFace : public IRulesWindowFace {
public:
    explicit ScriptedRulesFace(std::deque<std::string> answers) : answers_(std::move(answers)) {}
    void Show(const Trulesform& rules) override { shown.push_back(rules.Title()); }
    std::string Answer(const Trulesform&) override {
        EXPECT_FALSE(answers_.empty()) << "the window asked once more than the script answers";
        if (answers_.empty()) return "quit";
        std::string answer = answers_.front();
        answers_.pop_front();
        if (answers_.size() < endAfter) running = false;
        return answer;
    }
    void Refuse(const std::string& why) override { refused.push_back(why); }
    bool ProgramRunning() const override { return running; }

    std::vector<std::string> shown;
    std::vector<std::string> refused;
    bool running = true;
    std::size_t endAfter = 0;  // the program ends once fewer answers than this are left

private:
    std::deque<std::string> answers_;
};

TEST(RulesLoopTest, AppliesAnswersRefusesOthersAndSaysHowItClosed) {
    Trulesform rules;
    ScriptedRulesFace face({"back", "topic 9", "topic", "topic 2", "topic 3", " back\t", "nonsense",
                            "topic 04", "close"});
    EXPECT_TRUE(RunRulesWindow(rules, face));
    EXPECT_EQ(face.shown, (std::vector<std::string>{"RULES", "RULES - BUYING and SELLING", "RULES",
                                                    "RULES - STRATEGY"}));
    EXPECT_EQ(face.refused, (std::vector<std::string>{"no topic is shown", "the topics are 1 to 4",
                                                      "answer topic N, back, close, esc or quit",
                                                      "a topic is shown; go back first",
                                                      "answer topic N, back, close, esc or quit"}));
    // The window keeps its topic for the next showing.
    EXPECT_EQ(rules.ShownTopic(), 4);

    ScriptedRulesFace quits({"topic 1", "quit"});
    EXPECT_FALSE(RunRulesWindow(rules, quits));
    EXPECT_EQ(quits.shown, (std::vector<std::string>{"RULES - STRATEGY"}));
    EXPECT_EQ(quits.refused, (std::vector<std::string>{"a topic is shown; go back first"}));

    // Esc closes as CLOSE does.
    ScriptedRulesFace escaped({"esc"});
    EXPECT_TRUE(RunRulesWindow(rules, escaped));

    // The program ended while the window waited: it closes without CLOSE.
    ScriptedRulesFace ended({"back", "close"});
    ended.endAfter = 2;
    EXPECT_FALSE(RunRulesWindow(rules, ended));
    EXPECT_EQ(ended.shown, (std::vector<std::string>{"RULES - STRATEGY", "RULES"}));
}

class ScriptedChooserFace : public IChooserFace {
public:
    explicit ScriptedChooserFace(std::deque<std::vector<TChooserMove>> answers)
        : answers_(std::move(answers)) {}
    void Show(const TDamRenForm& chooser) override { shown.push_back(chooser.GroupCaption()); }
    std::vector<TChooserMove> Moves(const TDamRenForm& chooser) override {
        checkedBefore.push_back(chooser.ItemIndex());
        EXPECT_FALSE(answers_.empty()) << "the chooser asked once more than the script answers";
        if (answers_.empty()) return {{TChooserMove::Kind::Cancel}};
        std::vector<TChooserMove> moves = answers_.front();
        answers_.pop_front();
        if (stopAfterThis) running = false;
        return moves;
    }
    void Refuse(const std::string& why) override { refused.push_back(why); }
    bool ProgramRunning() const override { return running; }

    std::vector<std::string> shown;
    std::vector<int> checkedBefore;
    std::vector<std::string> refused;
    bool running = true;
    bool stopAfterThis = false;

private:
    std::deque<std::vector<TChooserMove>> answers_;
};

class ChooserLoopTest : public RealtopiaFixture {};

TEST_F(ChooserLoopTest, AppliesMovesUntilOkOrCancelCloses) {
    using Kind = TChooserMove::Kind;
    StartEngagedGame();
    TDamRenForm& chooser = App().DamRenForm;
    const int property = Game().State().Selection.front();
    // The game opens the chooser on the property for sale and waits for its pick or Cancel.
    auto open = [this, &chooser] {
        Edit(Game()).SelectionSide = TSelectionSide::ForSale;
        Game().SetSelectedRows(TList::Avail, 1);
        ASSERT_TRUE(Game().Apply(TMove::Of(TMoveKind::DamageOrRenovate)));
        chooser.FormShow();
    };

    open();
    ScriptedChooserFace chosen(
        {{{Kind::Ok}}, {}, {{Kind::Pick, 2}}, {{Kind::Pick, 3}, {Kind::Ok}}});
    EXPECT_TRUE(RunChooser(chooser, chosen));
    EXPECT_EQ(chosen.shown, (std::vector<std::string>{chooser.GroupCaption()}));
    EXPECT_EQ(chosen.refused, (std::vector<std::string>{"OK is disabled"}));
    EXPECT_EQ(chosen.checkedBefore, (std::vector<int>{0, 0, 0, 2}));
    EXPECT_TRUE(Game().State().Property(property).DoneImprovements &
                TGame::ImprovementBit(3, Game().State().DamRenMode));
    EXPECT_GT(Game().State().DamRenAmount, Money());

    EXPECT_EQ(Game().OpenQuestion(), nullptr);  // the pick answered the game

    // An item already done is disabled: refused, and the OK after it is not pressed.
    open();
    ScriptedChooserFace done({{{Kind::Pick, 3}, {Kind::Ok}}, {{Kind::Cancel}}});
    EXPECT_FALSE(RunChooser(chooser, done));
    EXPECT_EQ(done.refused, (std::vector<std::string>{"disabled: already done"}));

    open();
    ScriptedChooserFace cancelled({{{Kind::Pick, 1}}, {{Kind::Cancel}}});
    EXPECT_FALSE(RunChooser(chooser, cancelled));
    EXPECT_TRUE(chooser.Closed());
    EXPECT_EQ(Game().State().DamRenAmount, Money());

    // The program ended while the chooser waited: nothing was chosen.
    chooser.FormShow();
    ScriptedChooserFace ended({{{Kind::Pick, 1}}});
    ended.stopAfterThis = true;
    EXPECT_FALSE(RunChooser(chooser, ended));
    EXPECT_FALSE(chooser.Closed());
}

}  // namespace
