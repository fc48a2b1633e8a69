// Transcript tests of the text front end: a script in, the tagged lines out, run in-process on
// string streams with a fixed seed and a temporary hi-score directory.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "console/ConsoleApp.h"
#include "console/ConsoleArguments.h"
#include "console/ConsoleEffects.h"
#include "console/ConsoleOutput.h"
#include "console/ConsoleText.h"
#include "console/RecordCommands.h"
#include "engine/GameRecord.h"
#include "logic/FakeSystemQueries.h"
#include "support/Files.h"
#include "ui/Utf8.h"
#include "windows/TEULA.h"
#include "windows/TRealtopia.h"

#ifdef REALTOPIA_CONSOLE
#include <sys/wait.h>
#endif

namespace {

// ---------------------------------------------------------------- a small JSON reader

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::int64_t number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const std::string& key) const {
        const auto it = members.find(key);
        if (kind != Kind::Object || it == members.end())
            throw std::runtime_error("no member " + key);
        return it->second;
    }
    const Json& operator[](std::size_t i) const { return items.at(i); }
};

// Parses the whole text as one JSON value; throws at anything malformed.
class JsonReader {
public:
    static Json Parse(const std::string& text) {
        JsonReader reader(text);
        Json value = reader.Value();
        if (reader.pos_ != text.size()) reader.Fail("trailing text");
        return value;
    }

private:
    explicit JsonReader(const std::string& text) : s_(text) {}

    [[noreturn]] void Fail(const std::string& why) const {
        throw std::runtime_error(why + " at " + std::to_string(pos_));
    }
    char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    bool Consume(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }
    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected ") + c);
        ++pos_;
    }
    bool Word(const char* word) {
        const std::string w(word);
        if (s_.compare(pos_, w.size(), w) != 0) return false;
        pos_ += w.size();
        return true;
    }

    Json Value() {
        Json v;
        const char c = Peek();
        if (c == '{') {
            v.kind = Json::Kind::Object;
            ++pos_;
            if (Consume('}')) return v;
            for (;;) {
                const std::string key = String();
                Expect(':');
                if (!v.members.emplace(key, Value()).second) Fail("duplicate key " + key);
                if (Consume('}')) return v;
                Expect(',');
            }
        }
        if (c == '[') {
            v.kind = Json::Kind::Array;
            ++pos_;
            if (Consume(']')) return v;
            for (;;) {
                v.items.push_back(Value());
                if (Consume(']')) return v;
                Expect(',');
            }
        }
        if (c == '"') {
            v.kind = Json::Kind::String;
            v.text = String();
            return v;
        }
        if (Word("true") || Word("false")) {
            v.kind = Json::Kind::Bool;
            v.boolean = s_[pos_ - 1] == 'e' && s_[pos_ - 4] == 't';  // "true", not "false"
            return v;
        }
        if (Word("null")) return v;
        const std::size_t start = pos_;
        if (Peek() == '-') ++pos_;
        while (Peek() >= '0' && Peek() <= '9') ++pos_;
        if (pos_ == start || s_[pos_ - 1] == '-') Fail("bad value");
        v.kind = Json::Kind::Number;
        v.number = std::stoll(s_.substr(start, pos_ - start));
        return v;
    }

    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (pos_ >= s_.size()) Fail("unterminated string");
            const char c = s_[pos_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) Fail("raw control character");
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = s_[pos_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    const unsigned code = std::stoul(s_.substr(pos_, 4), nullptr, 16);
                    pos_ += 4;
                    if (code >= 0x80) Fail("only ASCII escapes expected");
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    Fail("bad escape");
            }
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

// ---------------------------------------------------------------- running a script

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        dataDir_ = std::filesystem::temp_directory_path() /
                   ("realtopia-console-test-" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter++));
        std::filesystem::remove_all(dataDir_);
    }
    void TearDown() override { std::filesystem::remove_all(dataDir_); }

    // Runs a script through a new console; returns the output lines.
    std::vector<std::string> Run(const std::string& script, bool debug = false) {
        const TPlatform platform = Platform();
        in_ = std::make_unique<std::istringstream>(script);
        out_ = std::make_unique<std::ostringstream>();
        app_ = std::make_unique<ConsoleApp>(*in_, *out_, platform, debug,
                                            std::make_shared<FakeSystemQueries>());
        status_ = app_->Run();
        std::vector<std::string> lines;
        std::istringstream text(out_->str());
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    TPlatform Platform() const {
        TPlatform platform;
        platform.ProgramPath = (dataDir_ / "bin" / "realtopia-console").string();
        platform.UserDataDirectory = (dataDir_ / "data").string();
        platform.Seed = 1;
        platform.Today = [] { return std::string("20240102"); };
        platform.KeepRecords = keepRecords_;
        return platform;
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    TRealtopia& App() { return app_->App(); }
    TGame& Game() { return App().mainform.Rules(); }

    static std::vector<std::string> Splash() {
        return {"[splash] Realtopia", "[splash] Build: 20001024.0", "[splash] PLAY! (play)",
                "[splash] New User (newuser)"};
    }
    static std::string EulaLine() {
        return "[eula] " + ConsoleOutput::Escape(TEULA::AgreementText("Realtopia"));
    }
    static std::vector<std::string> Concat(std::vector<std::string> a,
                                           const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    static std::vector<std::string> WithTag(const std::vector<std::string>& lines,
                                            const std::string& tag) {
        std::vector<std::string> found;
        for (const std::string& line : lines)
            if (line.rfind("[" + tag + "]", 0) == 0) found.push_back(line);
        return found;
    }
    static Json State(const std::vector<std::string>& lines, std::size_t which = 0) {
        const std::vector<std::string> states = WithTag(lines, "state");
        if (which >= states.size()) throw std::runtime_error("no state line");
        return JsonReader::Parse(states[which].substr(std::string("[state] ").size()));
    }

    std::filesystem::path dataDir_;
    std::unique_ptr<std::istringstream> in_;
    std::unique_ptr<std::ostringstream> out_;
    std::unique_ptr<ConsoleApp> app_;
    int status_ = -1;
    bool keepRecords_ = false;
};

const std::string kEnter = "play\nagree\n";    // splash PLAY!, agreement accepted
const std::string kStart = kEnter + "play\n";  // ... and the game's PLAY button

// ---------------------------------------------------------------- transcripts

TEST_F(ConsoleTest, PlayAgreeStartClickAndBuy) {
    const auto lines = Run(kStart + "click avail 1\nbuysell\n");
    EXPECT_EQ(lines, Concat(Splash(),
                            {EulaLine(), "[sound] CLICK async", "[sound] CLICK async", "[exit]"}));
    EXPECT_EQ(status_, 0);
    EXPECT_TRUE(App().Exited());  // end of input ends the program as ExitProgram does

    // The first London property was bought with the starting cash.
    const TProperty& bought = Game().State().Property(1);
    EXPECT_TRUE(bought.Has(Owned));
    EXPECT_EQ(Game().State().Cash, TGame::kStartingCash - bought.BuyPrice);
    ASSERT_EQ(App().mainform.View().Portfolio.Rows.size(), 1u);
    EXPECT_EQ(App().mainform.View().Portfolio.Rows[0].Text, Tmainform::RowText(bought));
    EXPECT_TRUE(Game().State().Engaged);

    // The agreement keeps its line breaks on one line.
    EXPECT_NE(EulaLine().find("\\r\\r"), std::string::npos);
    EXPECT_EQ(EulaLine().find('\r'), std::string::npos);
}

TEST_F(ConsoleTest, DisagreeEndsTheProgram) {
    const auto lines = Run("play\ndisagree\nstate\n");
    EXPECT_EQ(lines, Concat(Splash(), {EulaLine(), "[exit]"}));
    EXPECT_EQ(status_, 0);
    EXPECT_FALSE(App().mainform.View().Visible);

    // An unfit answer is refused and the next line is read instead.
    const auto again = Run("newuser\nmaybe\n\ndisagree\n");
    EXPECT_EQ(again, Concat(Splash(), {EulaLine(), "[?] answer agree or disagree",
                                       "[?] answer agree or disagree", "[exit]"}));

    // The splash's links leave it shown; closing it ends the program.
    const auto splash = Run("# a comment\n\nlink maker\nlink sponsor\nlink home\nexit\nplay\n");
    EXPECT_EQ(splash, Concat(Splash(),
                             {"[url] https://maker.example.com/", "[url] https://www.example.com/",
                              "[?] link maker or link sponsor", "[exit]"}));
}

TEST_F(ConsoleTest, NewUserRulesWindow) {
    const auto lines = Run("newuser\nagree\ntopic 2\ntopic 3\nback\nback\ntopic 9\nquit\nshow\n");
    EXPECT_EQ(lines,
              Concat(Splash(), {EulaLine(), "[rules] RULES", "[rules] RULES - BUYING and SELLING",
                                "[rules-text] " + ConsoleOutput::Escape(Trulesform::TopicText(2)),
                                "[?] a topic is shown; go back first", "[rules] RULES",
                                "[?] no topic is shown", "[?] the topics are 1 to 4", "[exit]"}));
    EXPECT_FALSE(App().mainform.View().Visible);

    // CLOSE enters the game; the rules window opens again on the topic it was left at.
    const auto entered = Run("newuser\nagree\ntopic 4\nclose\nrules\nclose\nstate\n");
    EXPECT_TRUE(App().mainform.View().Visible);
    const auto rules = WithTag(entered, "rules");
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[1], "[rules] RULES - STRATEGY");
    EXPECT_EQ(rules[2], "[rules] RULES - STRATEGY");
    EXPECT_EQ(WithTag(entered, "rules-text").size(), 2u);
    EXPECT_TRUE(State(entered)["window"]["visible"].boolean);

    // Esc closes the rules as CLOSE does.
    const auto escaped = Run("newuser\nagree\nesc\nstate\n");
    EXPECT_TRUE(State(escaped)["window"]["visible"].boolean);
}

// The same accelerators as the other front ends: Ctrl+1..6 choose an area, Alt and a
// button's underlined letter press it.
TEST_F(ConsoleTest, KeysTakeTheWindowsAccelerators) {
    const auto lines = Run(kStart + "key ctrl+4\nstate\nkey Alt+U\nclose\nkey alt+x\n");
    EXPECT_EQ(State(lines)["currentArea"].number, 4);
    EXPECT_EQ(WithTag(lines, "rules").size(), 1u);
    EXPECT_EQ(WithTag(lines, "exit").size(), 1u);
    EXPECT_TRUE(WithTag(lines, "?").empty());
}

TEST_F(ConsoleTest, StateJsonAtStart) {
    const auto lines = Run("state\n" + kStart + "area 3\nclick avail 2,3\nstate\n");
    const Json before = State(lines, 0);
    EXPECT_EQ(before["cash"].number, 8000000000);
    EXPECT_EQ(before["stage"].number, 1);
    EXPECT_EQ(before["year"].number, 2000);
    EXPECT_EQ(before["month"].number, 1);
    EXPECT_FALSE(before["running"].boolean);
    EXPECT_EQ(before["properties"].items.size(), 120u);
    EXPECT_EQ(before["areas"].items.size(), 6u);
    EXPECT_EQ(before["news"].items.size(), 40u);
    EXPECT_EQ(before["areas"][0]["name"].text, "London");
    EXPECT_EQ(before["properties"][119]["n"].number, 120);
    EXPECT_EQ(before["properties"][0]["buy"].number, Game().State().Property(1).BuyPrice.Raw());
    const Json& window = before["window"];
    EXPECT_FALSE(window["visible"].boolean);
    EXPECT_EQ(window["cashPanel"].text, "Current Cash: \u00A3800,000");
    EXPECT_EQ(window["areaCaption"].text.substr(0, 22), "Current Area: London\r\n");
    EXPECT_EQ(window["areaFrames"][0].text, "red");
    EXPECT_EQ(window["areaFrames"][1].text, "black");
    EXPECT_EQ(window["ticker"]["speed"].text, "medium");
    EXPECT_EQ(window["buttons"]["exit"]["caption"].text, "E&xit Game");
    EXPECT_FALSE(window["buttons"]["mortgage"]["enabled"].boolean);
    EXPECT_FALSE(window["menu"]["quitReplay"]["enabled"].boolean);
    EXPECT_TRUE(window["menu"]["sound"]["checked"].boolean);
    EXPECT_EQ(window["avail"]["rows"].items.size(), 20u);

    const Json after = State(lines, 1);
    EXPECT_TRUE(after["running"].boolean);
    EXPECT_EQ(after["currentArea"].number, 3);
    EXPECT_EQ(after["selectionSide"].number, 1);
    const std::vector<Json>& selection = after["selection"].items;
    ASSERT_EQ(selection.size(), 2u);
    EXPECT_EQ(selection[0].number, 42);
    EXPECT_EQ(selection[1].number, 43);
    EXPECT_EQ(after["buyTotal"].number,
              (Game().State().Property(42).BuyPrice + Game().State().Property(43).BuyPrice).Raw());
    const Json& rows = after["window"]["avail"]["rows"];
    EXPECT_FALSE(rows[0]["selected"].boolean);
    EXPECT_TRUE(rows[1]["selected"].boolean);
    EXPECT_TRUE(rows[2]["selected"].boolean);
    EXPECT_EQ(after["window"]["areaFrames"][2].text, "red");
    EXPECT_EQ(after["window"]["timerInterval"].number, 1500);
    EXPECT_EQ(after["window"]["buttons"]["buySell"]["caption"].text, "Buy (F6)");
}

TEST_F(ConsoleTest, RefusedCommandsChangeNothing) {
    const auto lines =
        Run("buysell\ntick\nfrobnicate\n" + kEnter +
            "buysell\nclick avail 1\nmenu quitreplay\nplay\nfrobnicate 1\nclick avail 99\n"
            "click avail 1,x\nclick avail 0\nclick portfolio 1\nkeysel avail\nkey F3\nkey alt+\n"
            "area 7\nset cash 1\nnewuser\nrestore\nstate\n");
    const std::vector<std::string> refused = WithTag(lines, "?");
    EXPECT_EQ(refused, (std::vector<std::string>{
                           "[?] not before the game window is shown: buysell",
                           "[?] not before the game window is shown: tick",
                           "[?] unknown command: frobnicate",
                           "[?] disabled",
                           "[?] disabled",
                           "[?] disabled",
                           "[?] unknown command: frobnicate",
                           "[?] no such row: 99",
                           "[?] no such row: x",
                           "[?] no such row: 0",
                           "[?] no such row: 1",
                           "[?] keysel avail|portfolio ROWS",
                           "[?] unknown key: F3",
                           "[?] unknown key: alt+",
                           "[?] area 1 to 6",
                           "[?] set needs --debug",
                           "[?] the splash window is no longer shown",
                           "[?] not minimised",
                       }));
    const Json state = State(lines);
    EXPECT_EQ(state["selectionSide"].number, 0);
    EXPECT_TRUE(state["selection"].items.empty());
    EXPECT_EQ(state["cash"].number, 8000000000);
    for (const Json& row : state["window"]["avail"]["rows"].items)
        EXPECT_FALSE(row["selected"].boolean);
}

TEST_F(ConsoleTest, DebugSetChangesOneField) {
    const auto lines = Run(kStart +
                               "set cash 12.5\nset debt 3\nset buy 5 100000.0001\nset sale 5 7\n"
                               "set date 2005 12\nset played 70\nset stage 2\nset cash 1.23456\n"
                               "set buy 121 5\nset date 2005 13\nset sale 5 -0.0001\nstate\n",
                           true);
    EXPECT_EQ(WithTag(lines, "?"),
              (std::vector<std::string>{"[?] bad amount: 1.23456", "[?] no such property: 121",
                                        "[?] set date YEAR MONTH (month 1 to 12)",
                                        "[?] bad price: -0.0001 (0 or more)"}));
    const Json state = State(lines);
    EXPECT_EQ(state["cash"].number, 125000);
    EXPECT_EQ(state["debt"].number, 30000);
    EXPECT_EQ(state["properties"][4]["buy"].number, 1000000001);
    EXPECT_EQ(state["properties"][4]["sale"].number, 70000);
    EXPECT_EQ(state["year"].number, 2005);
    EXPECT_EQ(state["month"].number, 12);
    EXPECT_EQ(state["monthsPlayed"].number, 70);
    EXPECT_EQ(state["stage"].number, 2);
    // No redraw: the panels still show what was drawn before.
    EXPECT_EQ(state["window"]["cashPanel"].text, "Current Cash: \u00A3800,000");
    EXPECT_EQ(state["window"]["stageText"].text, "DEVELOPER");
    EXPECT_NE(state["window"]["avail"]["rows"][4]["text"].text,
              Tmainform::RowText(Game().State().Property(5)));

    // Nothing is set beyond what the game's sums and counters hold, nor beyond what a saved
    // game may hold.
    const auto bounds = Run(kStart +
                                "set cash -1000000000000\nset played 119\nset date 2009 12\n"
                                "set cash 1000000000000.0001\nset debt 99999999999999\n"
                                "set buy 5 -1000000000000.0001\nset played 120\n"
                                "set played 2147483647\nset date 2010 1\nset date 1999 12\n"
                                "set debt -3\nset stage 4\nstate\n",
                            true);
    EXPECT_EQ(WithTag(bounds, "?"),
              (std::vector<std::string>{
                  "[?] bad amount: 1000000000000.0001", "[?] bad amount: 99999999999999",
                  "[?] bad amount: -1000000000000.0001", "[?] bad month count: 120 (0 to 119)",
                  "[?] bad month count: 2147483647 (0 to 119)",
                  "[?] set date: the year runs from 2000 to 2009",
                  "[?] set date: the year runs from 2000 to 2009", "[?] out of range",
                  "[?] stage 1 to 3"}));
    const Json limits = State(bounds);
    EXPECT_EQ(limits["cash"].number, -10'000'000'000'000'000);
    EXPECT_EQ(limits["debt"].number, 0);
    EXPECT_EQ(limits["monthsPlayed"].number, 119);
    EXPECT_EQ(limits["year"].number, 2009);
}

TEST_F(ConsoleTest, WholeGameToAnotherGame) {
    const auto lines = Run(kStart + "click avail 1\nbuysell\ntick 120\nAnn\nSmith\nno\nstate\n");
    const std::vector<std::string> confirms = WithTag(lines, "confirm");
    ASSERT_FALSE(confirms.empty());
    EXPECT_EQ(confirms.back(), "[confirm] Another Game?");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "[confirm] Another Game?");
    EXPECT_EQ(lines.back(), "[exit]");
    EXPECT_TRUE(WithTag(lines, "?").empty());
    EXPECT_EQ(WithTag(lines, "state").size(), 0u);  // nothing is read after the end

    const auto inputs = WithTag(lines, "input");
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0], "[input] High Score Table Input | Enter your first name | unknown");
    EXPECT_EQ(inputs[1], "[input] High Score Table Input | Enter your last name | unknown");
    EXPECT_EQ(Game().State().FirstName, "Ann");
    EXPECT_EQ(Game().State().LastName, "Smith");
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "[sound] GAMEOVER async") != lines.end());
    EXPECT_TRUE(std::filesystem::exists(dataDir_ / "data" / "REALTOPI.DAT"));
    EXPECT_EQ(Game().State().Year, 2010);

    // Yes deals a new game in the same window.
    const auto again = Run(kStart + "tick 120\nyes\nstate\n");
    EXPECT_EQ(WithTag(again, "confirm").back(), "[confirm] Another Game?");
    const Json state = State(again);
    EXPECT_EQ(state["year"].number, 2000);
    EXPECT_FALSE(state["running"].boolean);
    EXPECT_EQ(state["window"]["timerInterval"].number, 3000);
}

TEST_F(ConsoleTest, NothingPrintedCanActOnTheTerminal) {
    // A command of control characters and broken UTF-8, echoed in its refusal, and a hi-score
    // name that would set the terminal's title.
    const std::string title = "\x1B]0;pwned\x07";
    const auto lines = Run("\x1B[2J\x9B\xFF\xC3(\x7F\x01\n" + kStart +
                           "click avail 1\nbuysell\ntick 120\n" + title + "\nSmith\nno\n");
    for (const std::string& line : lines) {
        for (std::size_t i = 0; i < line.size();) {
            const utf8::TCharacter c = utf8::Decode(line, i);
            ASSERT_TRUE(c.Valid && !utf8::IsControl(c.CodePoint)) << line;
            i += c.Length;
        }
    }
    EXPECT_EQ(WithTag(lines, "?").front(),
              "[?] unknown command: \\x1B[2J\uFFFD\uFFFD\uFFFD(\\x7F\\x01");
    const auto table = WithTag(lines, "info");
    ASSERT_GE(table.size(), 3u);
    EXPECT_NE(table[table.size() - 1].find("1)\\t \\x1B]0;pwned\\x07 Smith\\t\\t"),
              std::string::npos)
        << table.back();
}

TEST_F(ConsoleTest, OverlongLinesAreRefusedAndSkipped) {
    // 64 KiB is taken, as a command (a comment) and as an answer; a byte more is refused, the
    // whole line skipped, and the next line read in its place.
    const std::string longest = "#" + std::string(64 * 1024 - 1, 'x') + "\r";
    const std::string longer = std::string(64 * 1024 + 1, 'y');
    const std::string name(64 * 1024, 'n');
    const auto lines = Run(longest + "\n" + longer + "\nstate\n" + kEnter + "email\n" + longer +
                           "\n" + name + "\n!cancel\n");
    EXPECT_EQ(WithTag(lines, "?"), (std::vector<std::string>{"[?] line longer than 65536 bytes",
                                                             "[?] line longer than 65536 bytes"}));
    EXPECT_EQ(WithTag(lines, "state").size(), 1u);
    const auto inputs = WithTag(lines, "input");
    // The refused line answered nothing: the name answered the first box, !cancel the second.
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0], "[input] Email to a friend | Type in your Name | Type your name here");
    EXPECT_EQ(inputs[1].find("Type in your Name"), std::string::npos);
}

TEST_F(ConsoleTest, TickRunsOnlyWhileTheTimerDoes) {
    const auto lines = Run(kStart +
                           "tick 3\nstate\nstart\ntick 5\nstate\nminimise\nstate\n"
                           "restore\ntick\nstate\n");
    EXPECT_EQ(State(lines, 0)["month"].number, 4);
    EXPECT_EQ(State(lines, 0)["window"]["caption"].text, "Realtopia - April, 2000");
    EXPECT_TRUE(State(lines, 1)["paused"].boolean);
    EXPECT_EQ(State(lines, 1)["month"].number, 4);  // paused: no events delivered
    EXPECT_TRUE(State(lines, 2)["window"]["minimised"].boolean);
    EXPECT_EQ(State(lines, 3)["month"].number, 5);  // restoring resumes the paused game
}

TEST_F(ConsoleTest, InputBoxAnswers) {
    // Cancel gives the default text back, which stops the e-mail command at once.
    const auto cancelled = Run(kEnter + "email\n!cancel\nstate\n");
    EXPECT_EQ(WithTag(cancelled, "input"),
              (std::vector<std::string>{
                  "[input] Email to a friend | Type in your Name | Type your name here"}));
    EXPECT_TRUE(WithTag(cancelled, "url").empty());
    EXPECT_EQ(WithTag(cancelled, "state").size(), 1u);

    // A long answer is cut to 255 characters, not bytes.
    std::string name;
    for (int i = 0; i < 300; ++i) name += "\u00E9";
    const auto sent = Run(kEnter + "email\n" + name + "\nme@example.org\nf@example.org\nhi\n");
    const auto urls = WithTag(sent, "url");
    ASSERT_EQ(urls.size(), 1u);
    std::size_t count = 0;
    for (std::size_t at = urls[0].find("%C3%A9"); at != std::string::npos;
         at = urls[0].find("%C3%A9", at + 1))
        ++count;
    EXPECT_EQ(count, 255u);

    // The end of input while a box waits ends the program.
    const auto ended = Run(kEnter + "email\n");
    EXPECT_EQ(ended.back(), "[exit]");
    EXPECT_TRUE(App().Exited());
}

TEST_F(ConsoleTest, ChooserAboutKeysAndCheat) {
    const auto lines = Run(kStart +
                           "click avail 1\ndamren\n9\ncancel\nmenu about\nkey F12\n"
                           "click avail 1\nbuysell\ntype wadofcash\nstate\nclose\n");
    const auto chooser = WithTag(lines, "chooser");
    ASSERT_EQ(chooser.size(), 1u);
    EXPECT_EQ(chooser[0], "[chooser] Damage " + Game().State().Property(1).Name);
    const auto items = WithTag(lines, "item");
    ASSERT_EQ(items.size(), 8u);
    for (std::size_t k = 0; k < items.size(); ++k)
        EXPECT_EQ(items[k].rfind("[item] " + std::to_string(k + 1) + " ", 0), 0u) << items[k];
    EXPECT_EQ(WithTag(lines, "?"), (std::vector<std::string>{"[?] answer 1 to 8 or cancel"}));

    EXPECT_EQ(
        WithTag(lines, "about"),
        (std::vector<std::string>{"[about] Product: The Realtopia Game",
                                  "[about] Version: 20001024.0", "[about] Host: Linux 6.1.0",
                                  "[about] Feel free to email this game to all your friends"}));
    EXPECT_EQ(WithTag(lines, "info"),
              (std::vector<std::string>{"[info] Programmer: programmer@example.com"}));

    // The cheat phrase, typed while playing after the first purchase, pays once.
    const auto sounds = WithTag(lines, "sound");
    EXPECT_TRUE(std::find(sounds.begin(), sounds.end(), "[sound] MEEPMEEP wait") != sounds.end());
    const Json state = State(lines);
    EXPECT_TRUE(state["cheatUsed"].boolean);
    EXPECT_EQ(
        state["cash"].number,
        (TGame::kStartingCash - Game().State().Property(1).BuyPrice + TGame::kCheatBonus).Raw());
    EXPECT_EQ(lines.back(), "[exit]");  // the close box
}

// ---------------------------------------------------------------- helpers of the front end

TEST(ConsoleTextTest, EscapingSplittingAndParsing) {
    EXPECT_EQ(ConsoleOutput::Escape("a\\b\r\n\tc"), "a\\\\b\\r\\n\\tc");
    // Other control characters (C0, DEL, C1) by their code points; bytes that are not UTF-8
    // (a stray continuation byte, an invalid lead, a surrogate, a cut sequence) as U+FFFD.
    const std::string odd("\x00\x1B\x7F\xC2\x9B\u20AC\x80\xC0\xAF\xED\xA0\x80\xE2\x82", 16);
    std::string replaced;
    for (int i = 0; i < 8; ++i) replaced += "\uFFFD";
    EXPECT_EQ(ConsoleOutput::Escape(odd), "\\x00\\x1B\\x7F\\x9B\u20AC" + replaced);
    EXPECT_EQ(consoletext::Characters("a\u00A3\u20AC"),
              (std::vector<std::string>{"a", "\u00A3", "\u20AC"}));
    EXPECT_EQ(consoletext::Characters("\xC3"), (std::vector<std::string>{"\xC3"}));
    EXPECT_EQ(utf8::FirstCharacters("\u00A3\u00A3\u00A3", 2), "\u00A3\u00A3");
    EXPECT_EQ(consoletext::ParseInteger("12", 1, 12), 12);
    EXPECT_FALSE(consoletext::ParseInteger("13", 1, 12));
    EXPECT_FALSE(consoletext::ParseInteger("1x", 1, 12));
    EXPECT_FALSE(consoletext::ParseUnsigned("18446744073709551616"));
    EXPECT_EQ(consoletext::ParseUnsigned("18446744073709551615"), UINT64_MAX);

    std::ostringstream out;
    ConsoleOutput(out).Line("exit", "");
    ConsoleOutput(out).Line("info", "two\rlines");
    EXPECT_EQ(out.str(), "[exit]\n[info] two\\rlines\n");
}

TEST(ConsoleArgumentsTest, Parse) {
    ConsoleArguments a;
    std::string error;
    ASSERT_TRUE(ConsoleArguments::Parse({"noini", "--seed", "42", "--debug"}, a, error));
    EXPECT_TRUE(a.NoIni);
    EXPECT_EQ(a.Seed, 42u);
    EXPECT_TRUE(a.Debug);
    ASSERT_TRUE(ConsoleArguments::Parse({}, a, error));
    EXPECT_FALSE(a.Seed.has_value());
    EXPECT_FALSE(a.Debug);
    ASSERT_TRUE(ConsoleArguments::Parse({"--version"}, a, error));
    EXPECT_EQ(a.What, ConsoleArguments::Action::Version);
    EXPECT_NE(ConsoleArguments::Usage().find("Build: 20001024.0"), std::string::npos);

    ASSERT_TRUE(ConsoleArguments::Parse({"noini", "replay", "a game.rec"}, a, error));
    EXPECT_EQ(a.What, ConsoleArguments::Action::Replay);
    EXPECT_EQ(a.ReplayPath, "a game.rec");
    ASSERT_TRUE(ConsoleArguments::Parse({"verify"}, a, error));
    EXPECT_EQ(a.What, ConsoleArguments::Action::Verify);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--seed"},
                                                {"replay"},
                                                {"verify", "replay", "x"},
                                                {"--seed", "-1"},
                                                {"--seed", "x"},
                                                {"--debug", "noini"},
                                                {"--fast"}}) {
        EXPECT_FALSE(ConsoleArguments::Parse(bad, a, error)) << bad.front();
        EXPECT_FALSE(error.empty());
    }
}

#ifdef REALTOPIA_CONSOLE
TEST(ConsoleProgramTest, ExitStatus) {
    const std::string program = REALTOPIA_CONSOLE;
    auto status = [](const std::string& command) {
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status(program + " --bogus </dev/null >/dev/null 2>&1"), 2);
    EXPECT_EQ(status(program + " --version </dev/null >/dev/null 2>&1"), 0);
    EXPECT_EQ(status("printf 'play\\ndisagree\\n' | XDG_DATA_HOME=/nonexistent-realtopia " +
                     program + " noini --seed 3 >/dev/null 2>&1"),
              0);
}
#endif

TEST_F(ConsoleTest, ReportPrintsTheNewsLogAndTheSeries) {
    const auto lines = Run("report\n" + kStart + "tick 16\nreport\nreport x\n");
    const std::vector<std::string> reports = WithTag(lines, "report");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(WithTag(lines, "?"), std::vector<std::string>{"[?] report takes no argument"});

    // Before the game window: nothing played, nothing to tell.
    const Json empty = JsonReader::Parse(reports[0].substr(std::string("[report] ").size()));
    EXPECT_TRUE(empty["months"].items.empty());
    EXPECT_TRUE(empty["headlines"].items.empty());
    EXPECT_TRUE(empty["events"].items.empty());
    ASSERT_EQ(empty["areas"].items.size(), 6u);
    EXPECT_EQ(empty["areas"][5].text, "New York");

    // Sixteen months on: two headlines (September 2000 and May 2001), one trend.
    const Json report = JsonReader::Parse(reports[1].substr(std::string("[report] ").size()));
    const Json& headlines = report["headlines"];
    ASSERT_EQ(headlines.items.size(), 2u);
    EXPECT_TRUE(headlines[0]["landed"].boolean);
    EXPECT_FALSE(headlines[1]["landed"].boolean);
    EXPECT_EQ(headlines[1]["n"].number, Game().State().PendingNews);
    EXPECT_EQ(headlines[1]["year"].number, 2001);
    EXPECT_EQ(headlines[1]["month"].number, 5);
    const std::string first = Game().State().NewsItems[headlines[0]["n"].number - 1].Headline;
    const std::string second = Game().State().NewsItems[headlines[1]["n"].number - 1].Headline;
    EXPECT_EQ(headlines[0]["headline"].text, first);
    ASSERT_EQ(report["trends"].items.size(), 1u);
    EXPECT_EQ(report["trends"][0]["year"].number, 2000);
    EXPECT_EQ(report["trends"][0]["area"].number, 1);
    const std::string result = report["trends"][0]["result"].text;
    EXPECT_EQ(WithTag(lines, "news"),
              (std::vector<std::string>{
                  "[news] September 2000 | " + first + " | landed in May 2001",
                  "[news] December 2000 | Yearly trend in London: " + result,
                  "[news] May 2001 | " + second + " | lands with the next headline"}));

    // One month a line from January 2000, the month in progress last, as the game stands.
    const Json& months = report["months"];
    ASSERT_EQ(months.items.size(), 17u);
    EXPECT_EQ(months[0]["year"].number, 2000);
    EXPECT_EQ(months[0]["month"].number, 1);
    EXPECT_FALSE(months[0]["current"].boolean);
    const Json& now = months[16];
    EXPECT_TRUE(now["current"].boolean);
    EXPECT_EQ(now["month"].number, 5);
    EXPECT_EQ(now["netWorth"].number, Game().NetWorth().Raw());
    ASSERT_EQ(now["prices"].items.size(), 6u);
    Money london;
    for (int p = 1; p <= 20; ++p) london += Game().State().Property(p).BuyPrice;
    EXPECT_EQ(now["prices"][0].number, london.MulDiv(1, 20).Raw());
}

TEST_F(ConsoleTest, SaveAndLoadCommands) {
    std::filesystem::create_directories(dataDir_);
    const std::string path = (dataDir_ / "game one.sav").string();
    const std::string bad = (dataDir_ / "bad.sav").string();
    const auto saving =
        Run("save " + path + "\n" + kEnter + "save " + path + "\nsave\nload\nload " + bad + "\n" +
            "load " + dataDir_.string() + "\nplay\nclick avail 1\nbuysell\ntick 14\nsave " + path +
            "\nsave " + path + "/x\nstate\n");
    EXPECT_EQ(WithTag(saving, "?"),
              (std::vector<std::string>{
                  "[?] not before the game window is shown: save", "[?] no game in progress",
                  "[?] save PATH", "[?] load PATH", "[?] cannot load " + bad + ": no such file",
                  "[?] cannot load " + dataDir_.string() + ": not a regular file",
                  "[?] cannot save " + path + "/x: Not a directory"}));
    EXPECT_EQ(WithTag(saving, "saved"), (std::vector<std::string>{"[saved] " + path}));
    const Json left = State(saving);

    // A new program shows the saved game paused, and Play goes on with it.
    const auto loading = Run(kEnter + "load " + path + "\nstate\nstart\ntick 2\nstate\n");
    EXPECT_TRUE(WithTag(loading, "?").empty());
    EXPECT_EQ(WithTag(loading, "loaded"), (std::vector<std::string>{"[loaded] " + path}));
    const Json shown = State(loading, 0);
    EXPECT_TRUE(shown["paused"].boolean);
    EXPECT_EQ(shown["window"]["buttons"]["start"]["caption"].text, "Play (Esc)");
    for (const char* key : {"cash", "month", "year", "monthsPlayed", "pendingNews"})
        EXPECT_EQ(shown[key].number, left[key].number) << key;
    EXPECT_EQ(shown["window"]["portfolio"]["rows"][0]["text"].text,
              left["window"]["portfolio"]["rows"][0]["text"].text);
    EXPECT_EQ(State(loading, 1)["monthsPlayed"].number, left["monthsPlayed"].number + 2);

    // A damaged file is refused and left where it is; the game goes on untouched.
    std::string bytes = ReadAll(path);
    bytes.back() = static_cast<char>(bytes.back() ^ 1);
    WriteAll(bad, bytes);
    const auto refused = Run(kStart + "tick\nload " + bad + "\nstate\n");
    EXPECT_EQ(WithTag(refused, "?"),
              (std::vector<std::string>{"[?] cannot load " + bad + ": checksum does not match"}));
    EXPECT_EQ(State(refused)["monthsPlayed"].number, 1);
    EXPECT_EQ(ReadAll(bad), bytes);
}

}  // namespace

TEST_F(ConsoleTest, TheEndOfAChallengeAndAFriendsResult) {
    const std::string code = EncodeChallenge({99, 0});
    const std::string theirs = EncodeChallengeResult({{99, 0}, 1234567});
    // A friend's result pasted first deals the market; its end sets both figures side by side.
    const auto lines = Run(kEnter + "challenge " + theirs + "\nplay\nclick avail 1\nbuysell\n" +
                           "tick 120\nAnn\nSmith\nyes\nchallenge\nchallenge " + theirs + "\n");
    const auto codes = WithTag(lines, "challenge");
    ASSERT_EQ(codes.size(), 3u);
    EXPECT_EQ(codes[0], "[challenge] " + code);
    EXPECT_NE(codes[1], "[challenge] " + code);  // the next game, dealt afresh
    EXPECT_EQ(codes[2], "[challenge] " + code);  // the result compared names its market
    EXPECT_EQ(WithTag(lines, "challenge-friend").front(), "[challenge-friend] 1234567");
    const auto results = WithTag(lines, "challenge-result");
    ASSERT_EQ(results.size(), 1u);
    TChallengeResult mine;
    ASSERT_TRUE(
        DecodeChallengeResult(results[0].substr(std::string("[challenge-result] ").size()), mine));
    EXPECT_EQ(mine.Code, (TChallenge{99, 0}));
    bool endBox = false;
    for (const std::string& line : WithTag(lines, "info"))
        endBox = endBox || (line.find("Send your friend your result:") != std::string::npos &&
                            line.find(EncodeChallengeResult(mine)) != std::string::npos &&
                            line.find("Your friend's: \u00A31,234,567") != std::string::npos);
    EXPECT_TRUE(endBox);
    EXPECT_EQ(WithTag(lines, "info").back().rfind("[info] The challenge " + code, 0), 0u);
}

TEST_F(ConsoleTest, ChallengeCodesReplaysAndVerifiedScores) {
    // The code of the game, a typo refused, and a friend's market dealt.
    const std::string friends = EncodeChallenge({99, 0});
    std::string typo = friends;
    typo[1] = typo[1] == 'Q' ? 'R' : 'Q';
    const auto lines =
        Run(kEnter + "challenge\nchallenge " + typo + "\nchallenge " + friends + "\nstate\n");
    const auto codes = WithTag(lines, "challenge");
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], "[challenge] " + EncodeChallenge({1, 0}));
    EXPECT_EQ(codes[1], "[challenge] " + friends);
    EXPECT_EQ(WithTag(lines, "error"),
              std::vector<std::string>{
                  "[error] Play a Challenge | That is not a Realtopia challenge code."});
    EXPECT_EQ(Game().Challenge().Seed, 99u);
    TGame dealt(Platform());
    EXPECT_TRUE(dealt.DealChallenge({99, 0}));
    EXPECT_EQ(State(lines)["properties"][0]["buy"].number,
              static_cast<double>(dealt.State().Property(1).BuyPrice.Raw()));

    // A whole game to the hi-score table keeps its record beside the table.
    keepRecords_ = true;
    Run(kStart + "click avail 1\nbuysell\ntick 120\nAnn\nSmith\nno\n");
    std::string recordPath;
    for (const auto& item : std::filesystem::directory_iterator(dataDir_ / "data"))
        if (item.path().extension() == ".REC") recordPath = item.path().string();
    ASSERT_FALSE(recordPath.empty());
    EXPECT_FALSE(std::filesystem::exists(dataDir_ / "data" / "REALTOPI.REC"));

    std::ostringstream replayed;
    EXPECT_EQ(ReplayRecordFile(recordPath, Platform(), replayed), 0);
    const auto replay = Lines(replayed.str());
    ASSERT_EQ(replay.size(), 2u);
    EXPECT_EQ(replay[0].rfind("[replay] " + EncodeChallenge({1, 0}) + " | ", 0), 0u);
    EXPECT_EQ(State(replay)["year"].number, 2010);
    EXPECT_FALSE(State(replay).members.contains("window"));

    std::ostringstream verified;
    EXPECT_EQ(VerifyHiScores(Platform(), verified), 0);
    const auto verdicts = Lines(verified.str());
    ASSERT_EQ(verdicts.size(), 10u);
    int ann = 0;
    for (const std::string& line : verdicts) {
        if (line.find("Ann") == std::string::npos) {
            EXPECT_TRUE(line.ends_with(" | no record")) << line;
            continue;
        }
        ++ann;
        EXPECT_TRUE(line.ends_with(" | verified")) << line;
    }
    EXPECT_EQ(ann, 1);

    // An edited record: the bought property is another one.
    std::string text = ReadAll(recordPath);
    const std::size_t select = text.find(" Select ");
    ASSERT_NE(select, std::string::npos);
    const std::size_t list = text.find(" p=", select);
    text.replace(list, 4, " p=2");
    WriteAll(recordPath, text);
    std::ostringstream edited;
    EXPECT_EQ(VerifyHiScores(Platform(), edited), 1);
    EXPECT_NE(edited.str().find(" | does not replay: "), std::string::npos) << edited.str();
    std::ostringstream refused;
    EXPECT_EQ(ReplayRecordFile(recordPath, Platform(), refused), 1);
    EXPECT_EQ(refused.str().rfind("[replay] does not replay: move ", 0), 0u) << refused.str();
}
