#include "console/ConsoleApp.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>

#include "console/ConsoleText.h"
#include "console/RecordCommands.h"
#include "console/ReportLines.h"
#include "console/SavedGameCommands.h"
#include "console/ShowText.h"
#include "engine/GameState.h"
#include "frontend/StateJson.h"
#include "ui/Inputs.h"
#include "windows/TRealtopia.h"
#include "windows/Tsplash.h"

using consoletext::ParseInteger;

namespace {

constexpr std::int64_t kMaxTicks = 1'000'000'000;

// The console's own commands of the game window; the window's buttons are the others.
constexpr std::array<const char*, 16> kWindowCommands = {
    "tick", "key",      "type",    "area",  "click", "keysel", "focus", "sponsor",
    "menu", "minimise", "restore", "close", "set",   "save",   "load",  "challenge"};

bool IsWindowCommand(const std::string& word) {
    return std::find(kWindowCommands.begin(), kWindowCommands.end(), word) !=
               kWindowCommands.end() ||
           FindCommand(TCommandKind::Button, word).has_value();
}

// "a|b|c" of a kind's names, key names capitalised as printed on the keys ("Esc|F1").
std::string Choices(TCommandKind kind) {
    std::string choices;
    for (std::string name : CommandNames(kind)) {
        if (kind == TCommandKind::Key && !name.empty())
            name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        choices += (choices.empty() ? "" : "|") + name;
    }
    return choices;
}

// Pounds with up to four decimals and an optional minus sign: "250000", "-5", "0.0001", at
// most TGame::kLargestAmount either way, so that the game's sums cannot overflow.
std::optional<Money> ParsePounds(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    const std::size_t point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
    if (whole.empty() || whole.size() > 14) return std::nullopt;
    if (point != std::string::npos && (fraction.empty() || fraction.size() > 4))
        return std::nullopt;
    const auto pounds = consoletext::ParseUnsigned(whole);
    const auto parts =
        fraction.empty() ? std::optional<std::uint64_t>(0) : consoletext::ParseUnsigned(fraction);
    if (!pounds || !parts) return std::nullopt;
    std::int64_t tenThousandths = static_cast<std::int64_t>(*parts);
    for (std::size_t i = fraction.size(); i < 4; ++i) tenThousandths *= 10;
    const std::int64_t raw = static_cast<std::int64_t>(*pounds) * Money::kScale + tenThousandths;
    if (raw > TGame::kLargestAmount.Raw()) return std::nullopt;
    return Money::FromRaw(negative ? -raw : raw);
}

std::string Rest(const std::vector<std::string>& words, std::size_t from) {
    std::string rest;
    for (std::size_t i = from; i < words.size(); ++i) rest += words[i];
    return rest;
}

}  // namespace

ConsoleApp::ConsoleApp(std::istream& in, std::ostream& out, TPlatform platform, bool debug,
                       std::shared_ptr<ISystemQueries> systemQueries)
    : out_(out), effects_(in, out_), debug_(debug) {
    app_ = std::make_unique<TRealtopia>(effects_, std::move(platform), std::move(systemQueries));
    effects_.Attach(*app_);
}

ConsoleApp::~ConsoleApp() = default;

int ConsoleApp::Run() {
    try {
        out_.Line("splash", app_->Title());
        out_.Line("splash", Tsplash::BuildLabel);
        out_.Line("splash", std::string(Tsplash::Play) + " (play)");
        out_.Line("splash", std::string(Tsplash::NewUser) + " (newuser)");
        std::string line;
        while (effects_.ReadLine(line)) Execute(line);
        effects_.EndOfInput();
    } catch (const ConsoleExit&) {
        // The program has ended; "[exit]" has been written.
    }
    return 0;
}

void ConsoleApp::Execute(const std::string& line) {
    const std::string trimmed = consoletext::Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') return;
    const std::vector<std::string> words = consoletext::Words(trimmed);
    const std::string& command = words.front();

    if (command == "state" || command == "show") {
        if (words.size() != 1) return Refuse(command + " takes no argument");
        return command == "state" ? PrintState() : PrintShow();
    }
    if (command == "report") return PrintReport(words);
    if (!app_->mainform.View().Visible) {
        if (SplashCommand(words)) return;
        if (IsWindowCommand(command))
            return Refuse("not before the game window is shown: " + command);
        return Refuse("unknown command: " + command);
    }
    if (WindowCommand(trimmed, words)) return;
    if (command == "newuser" || command == "link")
        return Refuse("the splash window is no longer shown");
    Refuse("unknown command: " + command);
}

bool ConsoleApp::SplashCommand(const std::vector<std::string>& words) {
    const std::string& command = words.front();
    if (command == "play" || command == "newuser" || command == "exit") {
        if (words.size() != 1) {
            Refuse(command + " takes no argument");
            return true;
        }
        if (command == "play")
            app_->cmd_playClick();
        else if (command == "newuser")
            app_->cmd_NewUserClick();
        else
            app_->ExitProgram();  // the splash is the main window: closing it ends the program
        return true;
    }
    if (command == "link") {
        if (words.size() == 2 && words[1] == "maker")
            app_->lbl_brightworkClick();
        else if (words.size() == 2 && words[1] == "sponsor")
            app_->lbllink_CareerlyClick();
        else
            Refuse("link maker or link sponsor");
        return true;
    }
    return false;
}

bool ConsoleApp::WindowCommand(const std::string& line, const std::vector<std::string>& words) {
    const std::string& command = words.front();
    Tmainform& form = app_->mainform;
    auto noArgument = [&] {
        if (words.size() == 1) return true;
        Refuse(command + " takes no argument");
        return false;
    };

    if (command == "tick") {
        Tick(words);
    } else if (command == "key") {
        Key(words);
    } else if (command == "type") {
        Type(line);
    } else if (command == "area") {
        Area(words);
    } else if (command == "click" || command == "keysel") {
        SelectRows(words, command == "click");
    } else if (command == "focus") {
        Focus(words);
    } else if (const auto button =
                   FindCommand(TCommandKind::Button, command == "play" ? "start" : command)) {
        if (noArgument()) Invoke(*button);
    } else if (command == "sponsor") {
        if (noArgument()) Invoke(TCommand::Sponsor);
    } else if (command == "menu") {
        Menu(words);
    } else if (command == "minimise" || command == "restore") {
        if (noArgument()) Resize(command == "minimise");
    } else if (command == "close") {
        if (noArgument()) form.CloseRequested();
    } else if (command == "set") {
        Set(words);
    } else if (command == "save") {
        SaveCommand(form, out_, line);
    } else if (command == "load") {
        LoadCommand(form, out_, line);
    } else if (command == "challenge") {
        ChallengeCommand(form, out_, line);
    } else {
        return false;
    }
    return true;
}

void ConsoleApp::Tick(const std::vector<std::string>& words) {
    std::int64_t count = 1;
    if (words.size() > 2) return Refuse("tick [N]");
    if (words.size() == 2) {
        const auto n = ParseInteger(words[1], 0, kMaxTicks);
        if (!n) return Refuse("tick needs a count from 0 to " + std::to_string(kMaxTicks));
        count = *n;
    }
    Tmainform& form = app_->mainform;
    // Each event is delivered only while the timer runs; a stopped timer delivers no more.
    for (std::int64_t i = 0; i < count && form.View().TimerEnabled; ++i) form.TimerFired();
}

void ConsoleApp::Key(const std::vector<std::string>& words) {
    if (words.size() != 2) return Refuse("key " + Choices(TCommandKind::Key));
    const std::optional<TKeyEvent> key = KeyEventNamed(words[1]);
    if (!key || (key->Key == TKey::Other && key->Letter == 0))
        return Refuse("unknown key: " + words[1]);
    // Pressed and released in the main window.
    app_->mainform.KeyPress(*key);
    app_->mainform.KeyRelease(*key);
}

void ConsoleApp::Type(const std::string& line) {
    const std::size_t blank = line.find_first_of(" \t");
    if (blank == std::string::npos) return Refuse("type needs text");
    for (const std::string& character : consoletext::Characters(line.substr(blank + 1)))
        app_->mainform.KeyPress(TKeyEvent{TKey::Other, character});
}

void ConsoleApp::Area(const std::vector<std::string>& words) {
    const auto area = words.size() == 2 ? ParseInteger(words[1], 1, kAreaCount) : std::nullopt;
    if (!area) return Refuse("area 1 to 6");
    Invoke(AreaCommand(static_cast<int>(*area)));
}

void ConsoleApp::Invoke(TCommand command) {
    if (!app_->mainform.Invoke(command)) Refuse("disabled");
}

void ConsoleApp::SelectRows(const std::vector<std::string>& words, bool byMouse) {
    const std::string usage = words.front() + " avail|portfolio ROWS";
    if (words.size() < 3 || (words[1] != "avail" && words[1] != "portfolio")) return Refuse(usage);
    Tmainform& form = app_->mainform;
    const bool avail = words[1] == "avail";
    const TListView& list = avail ? form.View().Avail : form.View().Portfolio;

    // Row numbers are 1-based positions; "-" selects nothing.
    std::vector<int> rows;
    const std::string rowList = Rest(words, 2);
    if (rowList != "-") {
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = rowList.find(',', start);
            const std::string item = rowList.substr(start, comma - start);
            const auto row = ParseInteger(item, 1, static_cast<std::int64_t>(list.Rows.size()));
            if (!row) return Refuse("no such row: " + (item.empty() ? rowList : item));
            rows.push_back(static_cast<int>(*row) - 1);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    const auto which = avail ? TList::Avail : TList::Portfolio;
    const bool taken = byMouse ? form.ListMouseUp(which, rows) : form.ListKeyUp(which, rows);
    if (!taken) Refuse("disabled");
}

void ConsoleApp::Focus(const std::vector<std::string>& words) {
    if (words.size() != 2 || (words[1] != "avail" && words[1] != "portfolio"))
        return Refuse("focus avail|portfolio");
    Tmainform& form = app_->mainform;
    const auto which = words[1] == "avail" ? TList::Avail : TList::Portfolio;
    const TListView& list = which == TList::Avail ? form.View().Avail : form.View().Portfolio;
    std::vector<int> rows;
    for (std::size_t i = 0; i < list.Rows.size(); ++i)
        if (list.Rows[i].Selected) rows.push_back(static_cast<int>(i));
    // The player brings the focus with Tab.
    if (!form.ListFocusIn(which, TFocusReason::Tab, rows)) Refuse("disabled");
}

void ConsoleApp::Menu(const std::vector<std::string>& words) {
    const std::string usage = "menu " + Choices(TCommandKind::Menu);
    if (words.size() != 2) return Refuse(usage);
    const auto item = FindCommand(TCommandKind::Menu, words[1]);
    if (!item) return Refuse(usage);
    Invoke(*item);
}

void ConsoleApp::Resize(bool minimise) {
    // The window reports a change of its state only; asking for the state it is in does
    // nothing.
    if (!app_->mainform.WindowStateChanged(minimise))
        Refuse(minimise ? "already minimised" : "not minimised");
}

void ConsoleApp::Set(const std::vector<std::string>& words) {
    if (!debug_) return Refuse("set needs --debug");
    TGameDebug game = app_->mainform.Debug();
    const std::string field = words.size() > 1 ? words[1] : std::string();
    // The ranges the saved game keeps to, from the fields' lines.
    const TField year = FieldNamed("year");
    const TField played = FieldNamed("monthsPlayed");
    const TField stages = FieldNamed("stage");
    bool set = false;

    if ((field == "cash" || field == "debt") && words.size() == 3) {
        const auto amount = ParsePounds(words[2]);
        if (!amount) return Refuse("bad amount: " + words[2]);
        set = field == "cash" ? game.SetCash(*amount) : game.SetDebt(*amount);
    } else if ((field == "buy" || field == "sale") && words.size() == 4) {
        const auto n = ParseInteger(words[2], 1, kPropertyCount);
        if (!n) return Refuse("no such property: " + words[2]);
        const auto amount = ParsePounds(words[3]);
        if (!amount) return Refuse("bad amount: " + words[3]);
        // The game keeps every price at £0 or more; one below would pay the buyer.
        if (*amount < Money()) return Refuse("bad price: " + words[3] + " (0 or more)");
        const int property = static_cast<int>(*n);
        set = field == "buy" ? game.SetBuyPrice(property, *amount)
                             : game.SetSaleValue(property, *amount);
    } else if (field == "date" && words.size() == 4) {
        const auto y = ParseInteger(words[2], year.Low, year.High);
        const auto month = ParseInteger(words[3], 1, 12);
        if (!month) return Refuse("set date YEAR MONTH (month 1 to 12)");
        if (!y)
            return Refuse("set date: the year runs from " + std::to_string(year.Low) + " to " +
                          std::to_string(year.High));
        set = game.SetDate(*y, *month);
    } else if (field == "played" && words.size() == 3) {
        const auto months = ParseInteger(words[2], played.Low, played.High);
        if (!months)
            return Refuse("bad month count: " + words[2] + " (" + std::to_string(played.Low) +
                          " to " + std::to_string(played.High) + ")");
        set = game.SetMonthsPlayed(*months);
    } else if (field == "stage" && words.size() == 3) {
        const auto stage = ParseInteger(words[2], stages.Low, stages.High);
        if (!stage)
            return Refuse("stage " + std::to_string(stages.Low) + " to " +
                          std::to_string(stages.High));
        set = game.SetStage(*stage);
    } else {
        return Refuse("set cash|debt P, set buy|sale N P, set date Y M, set played M, set stage S");
    }
    if (!set) Refuse("out of range");
}

void ConsoleApp::PrintState() {
    out_.RawLine("state", StateJson::Write(*app_));
}

void ConsoleApp::PrintShow() {
    for (const std::string& line : ShowText::Lines(*app_)) out_.Line("show", line);
}

// The Market Report: the news log, then the series; the game is only read.
void ConsoleApp::PrintReport(const std::vector<std::string>& words) {
    if (words.size() != 1) return Refuse("report takes no argument");
    ::PrintReport(out_, app_->mainform.Game());
}
