// The page's entry points into the game, and the page's script behind IWebPage. Built with
// Emscripten only. The window logic asks every box with a callback: the page shows the dialog
// and returns at once, and its answer comes back later through web_dialog_answer, which goes
// on from there. No call into the program waits.

#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/StateJson.h"
#include "ui/Commands.h"
#include "web/WebFrontEnd.h"
#include "windows/TRealtopia.h"

// clang-format off
EM_JS(void, web_open_dialog, (const char* dialog), {
    Module.page.dialog(UTF8ToString(dialog)).then((answer) => Module.page.answer(answer));
});
EM_JS(int, web_play_sound, (const char* name, int wait), {
    return Module.page.playSound(UTF8ToString(name), !!wait);
});
EM_JS(int, web_sound_works, (), { return Module.page.soundWorks() ? 1 : 0; });
EM_JS(int, web_open_url, (const char* url), {
    return Module.page.openUrl(UTF8ToString(url)) ? 1 : 0;
});
EM_JS(int, web_text_width, (const char* text), {
    return Module.page.textWidth(UTF8ToString(text));
});
EM_JS(void, web_ticker_timer, (int enabled, int interval), {
    Module.page.tickerTimer(!!enabled, interval);
});
EM_JS(void, web_main_timer_changed, (), { Module.page.mainTimerChanged(); });
EM_JS(double, web_now, (), { return Module.page.now(); });
// The browser may refuse its storage (private windows, a full quota, disabled cookies): then
// nothing is read and nothing kept.
EM_JS(char*, web_setting_read, (const char* key), {
    try {
        const value = globalThis.localStorage.getItem('realtopia/' + UTF8ToString(key));
        if (value === null) return 0;
        const size = lengthBytesUTF8(value) + 1;
        const copy = _malloc(size);
        stringToUTF8(value, copy, size);
        return copy;
    } catch (e) {
        return 0;
    }
});
EM_JS(void, web_setting_write, (const char* key, const char* value), {
    try {
        globalThis.localStorage.setItem('realtopia/' + UTF8ToString(key), UTF8ToString(value));
    } catch (e) {
    }
});
EM_JS(void, web_announce, (const char* text), { Module.page.announce(UTF8ToString(text)); });
// clang-format on

namespace {

class BrowserPage : public IWebPage {
public:
    std::optional<std::string> OpenDialog(const std::string& dialog) override {
        web_open_dialog(dialog.c_str());
        return std::nullopt;  // the page answers through web_dialog_answer
    }
    IEffects::SoundResult PlaySound(const std::string& name, bool wait) override {
        return static_cast<IEffects::SoundResult>(web_play_sound(name.c_str(), wait ? 1 : 0));
    }
    bool SoundDeviceWorks() override { return web_sound_works() != 0; }
    bool OpenUrl(const std::string& url) override { return web_open_url(url.c_str()) != 0; }
    int TextWidth(const std::string& text) override { return web_text_width(text.c_str()); }
    void TickerTimerChanged(bool enabled, int intervalMs) override {
        web_ticker_timer(enabled ? 1 : 0, intervalMs);
    }
    void MainTimerChanged() override { web_main_timer_changed(); }
    std::int64_t Now() override { return static_cast<std::int64_t>(web_now()); }
    void Announce(const std::string& text) override { web_announce(text.c_str()); }
};

// The Options menu's choices in the page's local storage, under "realtopia/<key>".
class BrowserSettings : public ISettingsStore {
public:
    std::optional<std::string> Read(const std::string& key) override {
        char* value = web_setting_read(key.c_str());
        if (value == nullptr) return std::nullopt;
        std::string text = value;
        std::free(value);
        return text;
    }
    void Write(const std::string& key, const std::string& value) override {
        web_setting_write(key.c_str(), value.c_str());
    }
};

BrowserPage page;
std::unique_ptr<WebFrontEnd> frontEnd;
std::string answer;  // the last text handed to the page

const char* Hand(std::string text) {
    answer = std::move(text);
    return answer.c_str();
}

// {0, 3, 4} or "" → "0,3,4", for the page.
std::string RowsText(const std::vector<int>& rows) {
    std::string text;
    for (int row : rows) text += (text.empty() ? "" : ",") + std::to_string(row);
    return text;
}

// "0,3,4" → {0, 3, 4}.
std::vector<int> Rows(const char* list) {
    std::vector<int> rows;
    std::stringstream in(list != nullptr ? list : "");
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) rows.push_back(std::atoi(item.c_str()));
    return rows;
}

}  // namespace

extern "C" {

// Creates the program: `seed` fixes every new game's random numbers (empty: the clock).
EMSCRIPTEN_KEEPALIVE void web_start(const char* seed) {
    TPlatform platform;
    platform.ProgramPath = "/realtopia/REALTOPIA";
    platform.UserDataDirectory = "/realtopia/data";
    platform.KeepRecords = true;
    if (seed != nullptr && *seed != '\0') platform.Seed = std::strtoull(seed, nullptr, 10);
    frontEnd = std::make_unique<WebFrontEnd>(page, std::move(platform), nullptr,
                                             std::make_shared<BrowserSettings>());
}

// The page's ?challenge=CODE: the code's market dealt as Game > Play a Challenge… does.
EMSCRIPTEN_KEEPALIVE int web_play_challenge(const char* code) {
    return frontEnd->App().mainform.PlayChallenge(code != nullptr ? code : "") !=
                   TChallengeDeal::NotACode
               ? 1
               : 0;
}

EMSCRIPTEN_KEEPALIVE int web_splash(const char* control) {
    return frontEnd->Splash(control) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int web_invoke(const char* kind, const char* name) {
    return frontEnd->Invoke(kind, name) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int web_key_down(const char* key, int modifiers, int repeat,
                                      const char* focused) {
    return frontEnd->KeyDown(key, static_cast<unsigned>(modifiers), repeat != 0, focused) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void web_key_up(const char* key, int modifiers) {
    frontEnd->KeyUp(key, static_cast<unsigned>(modifiers));
}

// `event` is "mouseup", "keyup" or "focus" (with `reason`).
EMSCRIPTEN_KEEPALIVE int web_list(const char* event, const char* list, const char* reason,
                                  const char* rows) {
    const std::string what = event;
    if (what == "mouseup") return frontEnd->ListMouseUp(list, Rows(rows)) ? 1 : 0;
    if (what == "keyup") return frontEnd->ListKeyUp(list, Rows(rows)) ? 1 : 0;
    if (what == "focus") return frontEnd->ListFocusIn(list, reason, Rows(rows)) ? 1 : 0;
    return 0;
}

// A press on a row of a list (`tap` 1 for a touch): the rows to show selected.
EMSCRIPTEN_KEEPALIVE const char* web_list_press(const char* list, int row, int modifiers, int tap) {
    return Hand(
        RowsText(frontEnd->ListPress(list, row, static_cast<unsigned>(modifiers), tap != 0)));
}

// A key in a list: the row the keys are then at and the rows to show selected ("4;1,2,3,4"),
// or "-" when the key does not move in a list.
EMSCRIPTEN_KEEPALIVE const char* web_list_move(const char* list, const char* key, int modifiers) {
    const auto rows = frontEnd->ListMove(list, key, static_cast<unsigned>(modifiers));
    if (!rows) return Hand("-");
    const std::string current = std::to_string(frontEnd->ListCurrentRow(list)) + ";";
    return Hand(current + RowsText(*rows));
}

// An arrow key on area picture `area` (1..6), by the browser's key name ("ArrowLeft" …): the
// area it leads to, or 0 for another key.
EMSCRIPTEN_KEEPALIVE int web_area_arrow(int area, const char* key) {
    const std::string name = key;
    if (name == "ArrowLeft") return AreaAfterArrow(area, TArrow::Left);
    if (name == "ArrowRight") return AreaAfterArrow(area, TArrow::Right);
    if (name == "ArrowUp") return AreaAfterArrow(area, TArrow::Up);
    if (name == "ArrowDown") return AreaAfterArrow(area, TArrow::Down);
    return 0;
}

EMSCRIPTEN_KEEPALIVE void web_select_several() {
    frontEnd->ToggleSelectSeveral();
}

EMSCRIPTEN_KEEPALIVE void web_pointer_over(const char* control) {
    frontEnd->PointerOver(control);
}

EMSCRIPTEN_KEEPALIVE void web_pointer_hint(const char* hint) {
    frontEnd->PointerOverHint(hint);
}

EMSCRIPTEN_KEEPALIVE void web_timer_fired() {
    frontEnd->TimerFired();
}

EMSCRIPTEN_KEEPALIVE void web_ticker_step() {
    frontEnd->TickerStep();
}

EMSCRIPTEN_KEEPALIVE int web_window_state(int minimised) {
    return frontEnd->WindowStateChanged(minimised != 0) ? 1 : 0;
}

// The answer to the dialog the page shows.
EMSCRIPTEN_KEEPALIVE int web_dialog_answer(const char* text) {
    return frontEnd->DialogAnswer(text != nullptr ? text : "") ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int web_keep_game() {
    return frontEnd->KeepGame() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* web_view() {
    return Hand(frontEnd->ViewJson());
}

EMSCRIPTEN_KEEPALIVE const char* web_ticker() {
    return Hand(frontEnd->TickerJson());
}

EMSCRIPTEN_KEEPALIVE unsigned web_ticker_revision() {
    return frontEnd->StripRevision();
}

// The game and the window as realtopia-console's `state` prints them.
EMSCRIPTEN_KEEPALIVE const char* web_state() {
    return Hand(StateJson::Write(frontEnd->App()));
}

}  // extern "C"
