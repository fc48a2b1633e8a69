// Watching a recorded game: the record's moves through the rules and the window, at the pace
// of the main timer, while the player's own commands wait.

#include "ui/Watch.h"

#include <algorithm>

#include "engine/Hisc.h"
#include "engine/Money.h"
#include "ui/Tmainform.h"

struct TWatch {
    TWatch(TGameRecord record, std::unique_ptr<TGame> own)
        : Replay(std::move(record)), Own(std::move(own)) {}

    TReplay Replay;
    std::unique_ptr<TGame> Own;  // the player's own game, back when watching stops
    bool Ended = false;
    // The buttons the game's rules leave alone, as they were before watching.
    bool StartEnabled = true;
    bool EmailEnabled = true;
    bool RulesEnabled = true;
};

namespace {

// A place of the table typed by the player: 1..10, blanks around it allowed.
std::optional<int> PlaceTyped(const std::string& text) {
    int place = 0;
    bool digits = false;
    for (char c : text) {
        if (c == ' ') continue;
        if (c < '0' || c > '9' || place > 10) return std::nullopt;
        place = place * 10 + (c - '0');
        digits = true;
    }
    if (!digits || place < 1 || place > 10) return std::nullopt;
    return place;
}

}  // namespace

void Tmainform::mnu_GameWatchClick() {
    if (game_.GameInProgress()) {
        effects_.ShowInformation(kWatchFinishFirst, {});
        return;
    }
    const std::string path = game_.HiScorePath();
    THiScoreTable table;
    if (FileExists(path)) table.Load(path, TPlatform::SystemToday());
    std::string prompt = kWatchPromptLead;
    bool any = false;
    for (int place = 1; place <= 10; ++place) {
        if (!FileExists(EntryRecordPath(path, table.Record(place)))) continue;
        any = true;
        prompt += '\r';
        prompt += std::to_string(place);
        prompt += ") ";
        prompt += table.FullName(place);
        prompt += "  ";
        AppendPounds(prompt, Money::Pounds(table.Score(place)));
    }
    if (!any) {
        effects_.ShowInformation(kWatchNone, {});
        return;
    }
    effects_.AskInput(kWatchCaption, prompt, {}, IEffects::kInputMaxLength,
                      [this, path, table](bool ok, const std::string& typed) {
                          if (!ok) return;
                          const std::optional<int> place = PlaceTyped(typed);
                          TGameRecord record;
                          std::string why;
                          if (!place || !ReadGameRecord(EntryRecordPath(path, table.Record(*place)),
                                                        record, why)) {
                              effects_.ShowInformation(kWatchNotThatOne, {});
                              return;
                          }
                          WatchRecord(record);
                      });
}

bool Tmainform::WatchRecord(const TGameRecord& record) {
    if (Watching()) StopWatching();
    if (game_.GameInProgress()) {
        effects_.ShowInformation(kWatchFinishFirst, {});
        return false;
    }
    // The game watched is one of its own, which keeps no record and is never saved.
    TPlatform replaying = game_.Platform();
    replaying.KeepRecords = false;
    TGame watched(replaying);
    TReplay replay(record);
    if (!replay.Deal(watched)) {
        effects_.ShowInformation(kWatchRefused + replay.Result().Text(), {});
        return false;
    }
    auto watch = std::make_shared<TWatch>(record, std::make_unique<TGame>(std::move(game_)));
    watch->Replay = std::move(replay);
    game_ = std::move(watched);
    // The deal's own events are the record's first moves; the window starts over as for
    // a new world, and the main timer now keeps the watching pace.
    game_.Events().Clear();
    watch->StartEnabled = view_.Start.Enabled;
    watch->EmailEnabled = view_.Email.Enabled;
    watch->RulesEnabled = view_.Rules.Enabled;
    watch_ = std::move(watch);
    ResetWindow();
    ShowWatching();
    view_.Status = kWatchStatus + EncodeChallenge(record.Code);
    WatchTimerChanged();
    return true;
}

void Tmainform::ShowSelected(const TMove& move) {
    // The rows the player selected, as they were: a selection names its properties.
    if (move.Kind != TMoveKind::Select || move.Side == TSelectionSide::None) return;
    TListView& list = ListOf(move.Side == TSelectionSide::ForSale ? List::Avail : List::Portfolio);
    for (TListRow& row : list.Rows)
        row.Selected = std::find(move.Properties.begin(), move.Properties.end(), row.Property) !=
                       move.Properties.end();
    ++view_.ListsRevision;
}

bool Tmainform::WatchStep() {
    if (!watch_ || watch_->Ended) return false;
    TReplay& replay = watch_->Replay;
    // One month at a time: the moves up to the next tick of the clock, and that tick.
    bool month = false;
    while (!replay.AtEnd() && (!month || watchSpeed_ == TWatchSpeed::Instant)) {
        month = replay.NextKind() == TMoveKind::Tick;
        const bool applied = replay.Step(game_);
        TakeGameEvents();
        if (applied) ShowSelected(replay.Record().Moves[replay.Result().MoveNumber - 1].Move);
        if (!applied) {
            watch_->Ended = true;
            WatchTimerChanged();
            effects_.ShowInformation(kWatchRefused + replay.Result().Text(), {});
            return false;
        }
    }
    ShowWatching();
    if (replay.AtEnd()) {
        watch_->Ended = true;
        replay.Finish(game_);
        view_.Status = kWatchEnded;
    }
    WatchTimerChanged();
    return !watch_->Ended;
}

void Tmainform::StopWatching() {
    if (!watch_) return;
    const std::shared_ptr<TWatch> watch = std::move(watch_);
    game_ = std::move(*watch->Own);
    // A new world of one's own, as "Another Game?" deals it; the clock as it then stands.
    SoundDeviceWorks();
    game_.InitWorld();
    view_.TimerGeneration = clock_.Generation() + 1;
    ApplyGameEvents();
    ResetWindow();
    view_.Start.Enabled = watch->StartEnabled;
    view_.Email.Enabled = watch->EmailEnabled;
    view_.Rules.Enabled = watch->RulesEnabled;
    ClockChanged();
}

void Tmainform::ShowWatching() {
    // The player's controls show that they do nothing now; Exit stays.
    for (TButtonView* button :
         {&view_.Start, &view_.BuySell, &view_.DamRen, &view_.Mortgage, &view_.Email, &view_.Rules})
        button->Enabled = false;
    view_.Avail.Enabled = false;
    view_.Portfolio.Enabled = false;
}

void Tmainform::SetWatchSpeed(TWatchSpeed speed) {
    watchSpeed_ = speed;
    if (Watching()) WatchTimerChanged();
}

void Tmainform::WatchTimerChanged() {
    if (!watch_) return;
    view_.TimerEnabled = !watch_->Ended;
    view_.TimerInterval = clock_.Interval();
    view_.TimerDue = WatchInterval(watchSpeed_, clock_.Interval());
    ++view_.TimerGeneration;
    effects_.MainTimerChanged();
}

std::optional<bool> Tmainform::WatchEnabled(TCommand command) const {
    switch (command) {
        case TCommand::MenuWatch:
            return !Watching();
        case TCommand::MenuStopWatching:
            return Watching();
        case TCommand::MenuWatchNormal:
        case TCommand::MenuWatchFast:
        case TCommand::MenuWatchInstant:
        case TCommand::MenuExit:
        case TCommand::Exit:
        case TCommand::MenuAbout:
        case TCommand::MenuFast:
        case TCommand::MenuMedium:
        case TCommand::MenuSlow:
            return Watching() ? std::optional<bool>(true) : std::nullopt;
        default:
            return Watching() ? std::optional<bool>(false) : std::nullopt;
    }
}
