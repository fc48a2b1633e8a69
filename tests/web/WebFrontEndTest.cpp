#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/SavedGame.h"
#include "engine/World.h"
#include "frontend/JsonWriter.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"
#include "support/TempPlatform.h"
#include "ui/MarketReport.h"
#include "web/SplashTexts.h"
#include "web/WebDialog.h"
#include "web/WebFrontEnd.h"
#include "windows/TRealtopia.h"

namespace {

// A page that answers each dialog at once from a queue and keeps what it was shown. With
// `later` set it answers nothing itself, as the browser's page: the test answers.
class ScriptedPage : public IWebPage {
public:
    std::deque<std::string> answers;
    std::vector<std::string> dialogs;
    std::vector<std::string> sounds;
    std::vector<std::string> announced;
    bool tickerRunning = false;
    bool later = false;

    std::optional<std::string> OpenDialog(const std::string& dialog) override {
        dialogs.push_back(dialog);
        if (later) return std::nullopt;
        if (answers.empty()) return "ok";
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    IEffects::SoundResult PlaySound(const std::string& name, bool) override {
        sounds.push_back(name);
        return IEffects::SoundResult::Played;
    }
    bool SoundDeviceWorks() override { return true; }
    bool OpenUrl(const std::string&) override { return true; }
    int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * 9; }
    void TickerTimerChanged(bool enabled, int) override { tickerRunning = enabled; }
    void MainTimerChanged() override {}
    std::int64_t Now() override { return 0; }
    void Announce(const std::string& text) override { announced.push_back(text); }
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class WebFrontEndTest : public ::testing::Test {
protected:
    TempPlatform temp_;
    ScriptedPage page_;
    WebFrontEnd web_{page_, temp_.Platform()};

    void EnterGame() {
        page_.answers.push_back("agree");
        ASSERT_TRUE(web_.Splash("play"));
        ASSERT_EQ(web_.CurrentScreen(), WebFrontEnd::Screen::Main);
    }
};

TEST(WebKeys, DomKeyNamesBecomeTheWindowsKeys) {
    EXPECT_EQ(WebFrontEnd::KeyEventOf("Escape", 0, false).Key, TKey::Esc);
    EXPECT_EQ(WebFrontEnd::KeyEventOf("F6", 0, false).Key, TKey::F6);
    EXPECT_EQ(WebFrontEnd::KeyEventOf("F12", 0, false).Key, TKey::F12);
    EXPECT_EQ(WebFrontEnd::KeyEventOf("Enter", 0, false).Key, TKey::Enter);
    const TKeyEvent typed = WebFrontEnd::KeyEventOf("\u00A3", kShift, true);
    EXPECT_EQ(typed.Key, TKey::Other);
    EXPECT_EQ(typed.Text, "\u00A3");
    EXPECT_TRUE(typed.AutoRepeat);
    // With Ctrl a letter types nothing; a named key that is not the window's types nothing.
    EXPECT_EQ(WebFrontEnd::KeyEventOf("a", kControl, false).Text, "");
    EXPECT_EQ(WebFrontEnd::KeyEventOf("ArrowDown", 0, false).Text, "");
    EXPECT_EQ(WebFrontEnd::KeyEventOf("F3", 0, false).Key, TKey::Other);
}

TEST(WebControls, ControlNamesAreTheCommandSurfacesNames) {
    EXPECT_EQ(WebFrontEnd::ControlCommand("button:buysell"), TCommand::BuySell);
    EXPECT_EQ(WebFrontEnd::ControlCommand("picture:area4"), TCommand::Area4);
    EXPECT_EQ(WebFrontEnd::ControlCommand("menu:report"), TCommand::MenuMarketReport);
    EXPECT_EQ(WebFrontEnd::ControlCommand("key:f9"), TCommand::KeyF9);
    EXPECT_FALSE(WebFrontEnd::ControlCommand("button:nothing").has_value());
    EXPECT_FALSE(WebFrontEnd::ControlCommand("buysell").has_value());
}

TEST(WebDialogJson, ButtonsLoseTheirMarkAndKeepTheirAccelerator) {
    const TWebDialog::Button button = TWebDialog::MakeButton("I &AGREE", "agree");
    EXPECT_EQ(button.Label, "I AGREE");
    EXPECT_EQ(button.Accelerator, 'a');
    TWebDialog dialog;
    dialog.Kind = "message";
    dialog.Text = "Line \"one\"\nline two";
    dialog.Buttons = {button};
    dialog.EscapeAnswer = "disagree";
    const std::string json = dialog.Json();
    EXPECT_TRUE(Contains(json, R"("text":"Line \"one\"\nline two")")) << json;
    EXPECT_TRUE(Contains(json, R"("label":"I AGREE","answer":"agree")")) << json;
    EXPECT_TRUE(Contains(json, R"("accelerator":"a")")) << json;
    EXPECT_TRUE(Contains(json, R"("escape":"disagree")")) << json;
}

TEST_F(WebFrontEndTest, AcceptingTheAgreementShowsTheMainWindow) {
    EXPECT_EQ(web_.CurrentScreen(), WebFrontEnd::Screen::Splash);
    EnterGame();
    ASSERT_EQ(page_.dialogs.size(), 1u);
    EXPECT_TRUE(Contains(page_.dialogs[0], R"("kind":"agreement")"));
    EXPECT_TRUE(Contains(page_.dialogs[0], R"("escape":"disagree")"));
    const std::string view = web_.ViewJson();
    EXPECT_TRUE(Contains(view, R"("screen":"main")"));
    EXPECT_TRUE(Contains(view, "\"cash\":\"Current Cash: \u00A3800,000\"")) << view;
}

TEST_F(WebFrontEndTest, AnnouncementsReachThePagesLiveRegionAndTheAgreementIsTitled) {
    EnterGame();
    EXPECT_TRUE(Contains(page_.dialogs[0], R"("caption":"User Agreement")")) << page_.dialogs[0];
    // What the window logic announces (a fine, as its window opens) reaches the page.
    TGame& game = web_.App().mainform.Rules();
    const std::string fine = SellTooOften(game);
    ASSERT_EQ(OpenKind(game), TQuestionKind::Police);
    page_.answers.push_back("close");
    web_.App().mainform.ApplyGameEvents();  // the police window the game waits for
    EXPECT_EQ(page_.announced, std::vector<std::string>{fine});
}

TEST_F(WebFrontEndTest, DecliningTheAgreementEndsTheProgram) {
    page_.answers.push_back("disagree");
    web_.Splash("play");
    EXPECT_EQ(web_.CurrentScreen(), WebFrontEnd::Screen::Ended);
    EXPECT_FALSE(page_.tickerRunning);
    // Nothing reaches the game any more.
    EXPECT_FALSE(web_.Invoke("button", "start"));
}

TEST_F(WebFrontEndTest, TheWindowsKeysAreKeptFromTheBrowserAndEscStartsTheGame) {
    EnterGame();
    EXPECT_FALSE(web_.App().mainform.Game().State().Running);
    EXPECT_TRUE(web_.KeyDown("Escape", 0, false, ""));
    web_.KeyUp("Escape", 0);
    EXPECT_TRUE(web_.App().mainform.Game().State().Running);
    EXPECT_TRUE(web_.KeyDown("F6", 0, false, ""));
    EXPECT_FALSE(web_.KeyDown("ArrowDown", 0, false, ""));
}

// The page keeps no key list: the view carries the window's keys, its accelerators and the
// menus with their keys.
TEST_F(WebFrontEndTest, TheViewCarriesTheKeysAcceleratorsAndMenus) {
    EnterGame();
    const std::string view = web_.ViewJson();
    EXPECT_TRUE(Contains(view, R"({"key":"Escape","name":"Esc","window":true,"list":false})"))
        << view;
    EXPECT_TRUE(Contains(view, R"({"key":"Tab","name":"Tab","window":false,"list":true})"));
    EXPECT_TRUE(Contains(view, R"({"key":"x","alt":true,"ctrl":false,"name":"Alt+X"})"));
    EXPECT_TRUE(
        Contains(view, R"({"key":"p","alt":true,"ctrl":false,"name":"Alt+P","focus":"avail"})"));
    EXPECT_TRUE(Contains(view, R"({"key":"6","alt":false,"ctrl":true,"name":"Ctrl+6"})"));
    EXPECT_TRUE(Contains(view, R"("text":"Medium")"));
    EXPECT_TRUE(Contains(view, R"("control":"menu:rules","key":"F1")"));

    // Ctrl+3 and Enter on a focused area picture choose the area; Alt+U opens the rules,
    // where Esc closes as CLOSE does.
    EXPECT_TRUE(web_.KeyDown("3", kControl, false, ""));
    EXPECT_EQ(web_.App().mainform.Game().State().CurrentArea, 3);
    EXPECT_TRUE(web_.KeyDown("Enter", 0, false, "picture:area5"));
    EXPECT_EQ(web_.App().mainform.Game().State().CurrentArea, 5);
    page_.dialogs.clear();
    page_.answers.push_back("esc");
    EXPECT_TRUE(web_.KeyDown("u", kAlt, false, ""));
    ASSERT_EQ(page_.dialogs.size(), 1u);  // closed by Esc
    EXPECT_TRUE(Contains(page_.dialogs[0], R"("escape":"esc")")) << page_.dialogs[0];
}

TEST_F(WebFrontEndTest, ClockEventsRunMonthsOnlyWhileTheClockRuns) {
    EnterGame();
    web_.Invoke("button", "start");
    const int month = web_.App().mainform.Game().State().Month;
    web_.TimerFired();
    EXPECT_EQ(web_.App().mainform.Game().State().Month, month + 1);
    web_.Invoke("button", "start");  // pauses
    ASSERT_FALSE(web_.App().mainform.View().TimerEnabled);
    web_.TimerFired();
    EXPECT_EQ(web_.App().mainform.Game().State().Month, month + 1);
}

TEST_F(WebFrontEndTest, TheChooserTakesAnItemThenOk) {
    EnterGame();
    web_.Invoke("button", "start");
    ASSERT_TRUE(web_.ListMouseUp("avail", {0}));
    const int property = web_.App().mainform.Game().State().Selection.front();
    page_.answers = {"item 1", "ok"};
    page_.dialogs.clear();
    ASSERT_TRUE(web_.Invoke("button", "damren"));
    ASSERT_GE(page_.dialogs.size(), 2u);
    EXPECT_TRUE(Contains(page_.dialogs[0], R"("kind":"chooser")"));
    // OK is enabled only once an item is checked.
    EXPECT_TRUE(Contains(page_.dialogs[0], R"("label":"OK","answer":"ok","enabled":false)"));
    EXPECT_TRUE(Contains(page_.dialogs[1], R"("label":"OK","answer":"ok","enabled":true)"));
    EXPECT_GT(web_.App().mainform.Game().State().Property(property).DamageCount, 0);
}

TEST_F(WebFrontEndTest, RulesOpenATopicAndGoBack) {
    EnterGame();
    page_.answers = {"topic 2", "back", "close"};
    page_.dialogs.clear();
    ASSERT_TRUE(web_.Invoke("button", "rules"));
    ASSERT_EQ(page_.dialogs.size(), 3u);
    EXPECT_TRUE(Contains(page_.dialogs[0], R"("answer":"topic 2")"));
    EXPECT_TRUE(Contains(page_.dialogs[1], R"("answer":"back")"));
    EXPECT_FALSE(web_.App().rulesform.TopicVisible());
}

TEST_F(WebFrontEndTest, AnInputBoxAnswerIsCutToItsLength) {
    std::vector<std::string> typed;
    auto keep = [&typed](bool ok, const std::string& text) {
        typed.push_back((ok ? "ok " : "cancel ") + text);
    };
    page_.answers = {"ok\n" + std::string(300, 'x'), "cancel"};
    web_.AskInput("Caption", "Prompt", "unknown", 10, keep);
    web_.AskInput("Caption", "Prompt", "default", 10, keep);
    EXPECT_EQ(typed, (std::vector<std::string>{"ok " + std::string(10, 'x'), "cancel default"}));
}

// The browser's page answers a dialog later, from a click: until then the game takes nothing
// from the page, and a dialog opened as an answer's consequence comes before one that waited.
TEST_F(WebFrontEndTest, ADialogIsAnsweredLaterAndTheNextFollowsInTurn) {
    page_.later = true;
    ASSERT_TRUE(web_.Splash("play"));
    ASSERT_EQ(page_.dialogs.size(), 1u);
    EXPECT_TRUE(web_.DialogOpen());
    EXPECT_EQ(web_.CurrentScreen(), WebFrontEnd::Screen::Splash);
    EXPECT_FALSE(web_.Splash("play"));
    ASSERT_TRUE(web_.DialogAnswer("agree"));
    EXPECT_FALSE(web_.DialogOpen());
    EXPECT_EQ(web_.CurrentScreen(), WebFrontEnd::Screen::Main);
    EXPECT_FALSE(web_.DialogAnswer("ok"));  // none is shown

    std::vector<std::string> order;
    web_.ShowInformation("one", [&] {
        order.push_back("one");
        web_.ShowInformation("three", [&] { order.push_back("three"); });
    });
    web_.ShowInformation("two", [&] { order.push_back("two"); });
    EXPECT_FALSE(web_.Invoke("button", "start"));
    EXPECT_EQ(page_.dialogs.size(), 2u);  // "two" waits for "one"
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(web_.DialogAnswer("ok"));
    EXPECT_EQ(order, (std::vector<std::string>{"one", "three", "two"}));
    ASSERT_EQ(page_.dialogs.size(), 4u);
    EXPECT_TRUE(Contains(page_.dialogs[2], R"("text":"three")")) << page_.dialogs[2];
    EXPECT_TRUE(web_.Invoke("button", "start"));
}

TEST_F(WebFrontEndTest, TheTickerStepsMoveItsStrip) {
    EnterGame();
    EXPECT_TRUE(page_.tickerRunning);
    const unsigned before = web_.StripRevision();
    web_.TickerStep();
    EXPECT_GT(web_.StripRevision(), before);
    EXPECT_TRUE(Contains(web_.TickerJson(), R"("strip":[{)"));
}

TEST_F(WebFrontEndTest, TheListsRowsAnswerClicksTapsAndKeysFromTheWindowsSelection) {
    EnterGame();
    web_.Invoke("button", "start");
    EXPECT_EQ(web_.ListPress("avail", 2, 0, false), std::vector<int>({2}));
    ASSERT_TRUE(web_.ListMouseUp("avail", {2}));
    EXPECT_EQ(web_.ListPress("avail", 4, kControl, false), std::vector<int>({2, 4}));
    ASSERT_TRUE(web_.ListMouseUp("avail", {2, 4}));
    // A tap is a plain click until "select several" is on, then a Ctrl+click.
    EXPECT_EQ(web_.ListPress("avail", 0, kControl, true), std::vector<int>({0}));
    EXPECT_TRUE(
        Contains(web_.ViewJson(), R"("selectSeveral":{"on":false,"text":"Select several")"));
    web_.ToggleSelectSeveral();
    EXPECT_EQ(web_.ListPress("avail", 0, 0, true), std::vector<int>({0, 2, 4}));
    EXPECT_TRUE(Contains(web_.ViewJson(), R"("selectSeveral":{"on":true,"text":"Select several")"));
    // Keys start from the rows the window shows selected, at the row last pressed.
    ASSERT_TRUE(web_.ListMouseUp("avail", {0, 2, 4}));
    EXPECT_EQ(web_.ListMove("avail", "ArrowDown", kShift), std::vector<int>({0, 1}));
    EXPECT_EQ(web_.ListMove("avail", "ArrowDown", 0), std::vector<int>({2}));
    EXPECT_FALSE(web_.ListMove("avail", "F6", 0).has_value());
    EXPECT_FALSE(web_.ListMove("nowhere", "ArrowDown", 0).has_value());
    // A row's name apart from its price.
    const std::string view = web_.ViewJson();
    EXPECT_TRUE(Contains(view, R"(","price":" ()")) << view.substr(0, 2000);
}

TEST_F(WebFrontEndTest, TheMarketReportCarriesBothChartsAndTheLog) {
    EnterGame();
    web_.Invoke("button", "start");
    for (int i = 0; i < 20; ++i) web_.TimerFired();
    page_.dialogs.clear();
    page_.answers = {"close"};
    ASSERT_TRUE(web_.Invoke("key", "f9"));
    ASSERT_EQ(page_.dialogs.size(), 1u);
    const std::string& report = page_.dialogs[0];
    EXPECT_TRUE(Contains(report, R"("kind":"report")"));
    const TMarketReport expected(web_.App().mainform.Game());
    EXPECT_TRUE(Contains(report, "\"title\":" + TJsonWriter::Quote(expected.Prices().Title)));
    EXPECT_TRUE(Contains(report, "\"title\":" + TJsonWriter::Quote(expected.Worth().Title)));
    EXPECT_TRUE(Contains(report, R"("hasCurrent":true)"));
    EXPECT_TRUE(Contains(report, "\"colour\":" + std::to_string(TMarketReport::kAreaColours[0])));
    // The series are there month by month: two corners a month for each of the six areas.
    const std::size_t points = report.find("\"points\":[");
    ASSERT_NE(points, std::string::npos);
    const std::string first = report.substr(points, report.find(']', points) - points);
    EXPECT_EQ(static_cast<std::size_t>(std::count(first.begin(), first.end(), ',')) + 1,
              expected.Prices().Series[0].Points.size() * 2);
}

}  // namespace

// A tab may be discarded without a word: the game is kept after each move that changes it,
// Exit Game keeps it too, and the next visit offers it.
TEST_F(WebFrontEndTest, TheGameIsKeptAfterEachMoveAndOnExitAndOfferedAgain) {
    EnterGame();
    const std::string path = web_.App().mainform.Game().SavedGamePath();
    EXPECT_FALSE(web_.KeepGame());  // before PLAY there is no game to keep
    ASSERT_TRUE(web_.KeyDown("Escape", 0, false, ""));
    web_.KeyUp("Escape", 0);
    EXPECT_TRUE(web_.KeepGame());
    TSavedGame saved;
    std::string why;
    ASSERT_EQ(ReadSavedGame(path, saved, why), TSavedGameRead::Read) << why;
    EXPECT_EQ(saved.State.Cash, web_.App().mainform.Game().State().Cash);
    EXPECT_FALSE(web_.KeepGame());  // nothing changed, nothing written
    web_.TimerFired();
    EXPECT_TRUE(web_.KeepGame());

    // Exit Game ends the program and keeps the game as it then is.
    web_.TimerFired();
    ASSERT_TRUE(web_.Invoke("button", "exit"));
    EXPECT_EQ(web_.CurrentScreen(), WebFrontEnd::Screen::Ended);
    ASSERT_EQ(ReadSavedGame(path, saved, why), TSavedGameRead::Read) << why;
    EXPECT_EQ(saved.State.Month, web_.App().mainform.Game().State().Month);
    EXPECT_EQ(saved.State.Cash, web_.App().mainform.Game().State().Cash);

    ScriptedPage nextPage;
    WebFrontEnd next{nextPage, temp_.Platform()};
    nextPage.answers = {"agree", "yes"};
    ASSERT_TRUE(next.Splash("play"));
    ASSERT_EQ(nextPage.dialogs.size(), 2u);
    EXPECT_TRUE(Contains(nextPage.dialogs[1], "Continue your game")) << nextPage.dialogs[1];
    EXPECT_EQ(next.App().mainform.Game().State().Month, saved.State.Month);
    EXPECT_TRUE(next.App().mainform.Game().State().Paused);
}

// The kept file is the game's own: when the game ends it goes, as a resumed game's does.
TEST_F(WebFrontEndTest, AKeptGameIsRemovedWhenItEnds) {
    EnterGame();
    ASSERT_TRUE(web_.KeyDown("Escape", 0, false, ""));
    web_.KeyUp("Escape", 0);
    ASSERT_TRUE(web_.KeepGame());
    const std::string path = web_.App().mainform.Game().SavedGamePath();
    web_.App().mainform.Rules().EndGame();
    TSavedGame saved;
    std::string why;
    EXPECT_EQ(ReadSavedGame(path, saved, why), TSavedGameRead::Missing);
    EXPECT_FALSE(web_.KeepGame());
}

// The build writes the splash's texts into the page, so the splash is its first frame: every
// text has its empty element in index.html, and the view's splash says the same.
TEST_F(WebFrontEndTest, ThePagesSplashCarriesEveryTextOfTheViewsSplash) {
    std::ifstream file(std::string(REALTOPIA_SOURCE_DIR) + "/web/index.html");
    std::stringstream html;
    html << file.rdbuf();
    const std::string page = WithSplashTexts(html.str(), SplashTexts(kApplicationTitle));
    const std::string view = web_.ViewJson();
    for (const TSplashText& text : SplashTexts(web_.App().Title())) {
        const std::size_t at = page.find("id=\"" + text.Id + "\"");
        ASSERT_NE(at, std::string::npos) << text.Id;
        const std::size_t tagEnd = page.find('>', at);
        EXPECT_EQ(page.compare(tagEnd + 1, text.Text.size() + 2, text.Text + "</"), 0) << text.Id;
        if (!text.Hint.empty()) {
            EXPECT_TRUE(Contains(page.substr(at, tagEnd - at), " title=\"" + text.Hint + "\""))
                << text.Id;
        }
        EXPECT_TRUE(Contains(view, "\"" + text.Key + "\":\"" + text.Text + "\"")) << text.Key;
    }
    // Markup in a text is written as text.
    EXPECT_EQ(WithSplashTexts("<b id=\"splash_play\"></b>", {{"play", "splash_play", "<&>", "\""}}),
              "<b id=\"splash_play\" title=\"&quot;\">&lt;&amp;&gt;</b>");
}

// A game kept now and then (as the page does, a few times a second) and played to its end is
// not offered again.
TEST_F(WebFrontEndTest, AGamePlayedToItsEndIsNotKept) {
    EnterGame();
    ASSERT_TRUE(web_.KeyDown("Escape", 0, false, ""));
    web_.KeyUp("Escape", 0);
    const std::string path = web_.App().mainform.Game().SavedGamePath();
    for (int month = 0; month < 200 && web_.CurrentScreen() == WebFrontEnd::Screen::Main; ++month) {
        web_.TimerFired();
        if (month % 10 == 9) web_.KeepGame();
    }
    EXPECT_EQ(web_.CurrentScreen(), WebFrontEnd::Screen::Ended);
    TSavedGame saved;
    std::string why;
    EXPECT_EQ(ReadSavedGame(path, saved, why), TSavedGameRead::Missing)
        << saved.State.Month << "/" << saved.State.Year;
}
