#include "console/RecordCommands.h"

#include "console/ConsoleOutput.h"
#include "console/ConsoleText.h"
#include "engine/Game.h"
#include "engine/Hisc.h"
#include "frontend/StateJson.h"
#include "ui/Tmainform.h"

namespace {

// A platform that replays: the program's customisation file, and no file written.
TPlatform ReplayPlatform(const TPlatform& platform) {
    TPlatform replay = platform;
    replay.KeepRecords = false;
    return replay;
}

}  // namespace

int ReplayRecordFile(const std::string& path, const TPlatform& platform, std::ostream& stream) {
    ConsoleOutput out(stream);
    TGameRecord record;
    std::string why;
    if (!ReadGameRecord(path, record, why)) {
        out.Line("replay", "cannot replay " + path + ": " + why);
        return 1;
    }
    TGame game(ReplayPlatform(platform));
    const TReplayResult result = ReplayRecord(record, game);
    if (result.Verdict != TReplayVerdict::Replayed) {
        out.Line("replay", result.Text());
        return 1;
    }
    out.Line("replay",
             EncodeChallenge(record.Code) + " | " + std::to_string(record.Moves.size()) + " moves");
    out.RawLine("state", StateJson::WriteGame(game.State()));
    return 0;
}

int VerifyHiScores(const TPlatform& platform, std::ostream& stream) {
    ConsoleOutput out(stream);
    TGame places(ReplayPlatform(platform));
    places.InitWorld();  // finds the table as a game does
    const std::string path = places.HiScorePath();
    THiScoreTable table;
    if (!FileExists(path) || !table.Load(path, TPlatform::SystemToday())) {
        out.Line("verify", "no hi-score table at " + path);
        return 1;
    }
    bool allVerified = true;
    for (int place = 1; place <= 10; ++place) {
        const THiRecord& entry = table.Record(place);
        const TReplayResult result = VerifyEntry(path, entry, platform);
        const bool none = result.MoveNumber == 0 && result.Why == "no record";
        const std::string verdict = none ? result.Why : result.Text();
        allVerified = allVerified && (none || result.Verdict == TReplayVerdict::Replayed);
        out.Line("verify", std::to_string(place) + " | " + entry.FullName + " | " +
                               std::to_string(entry.Score) + " | " + verdict);
    }
    return allVerified ? 0 : 1;
}

void ChallengeCommand(Tmainform& form, ConsoleOutput& out, const std::string& line) {
    const std::vector<std::string> words = consoletext::Words(consoletext::Trim(line));
    std::string code;
    for (std::size_t i = 1; i < words.size(); ++i) code += words[i];
    TChallenge challenge = form.Game().Challenge();
    if (!code.empty()) {
        const TChallengeDeal deal = form.PlayChallenge(code);
        if (deal == TChallengeDeal::NotACode) return;
        // A result compared or noted names its own market, whatever is being played.
        TChallengeResult result;
        if (DecodeChallengeResult(code, result)) challenge = result.Code;
        if (deal == TChallengeDeal::Dealt || deal == TChallengeDeal::DealtAsBuiltIn)
            challenge = form.Game().Challenge();
    }
    out.Line("challenge", EncodeChallenge(challenge));
    // What is known of that market: the result to send back, the friend's and one's own
    // earlier figures.
    const TChallengePlay& play = form.ChallengePlay();
    if (play.Ended && play.Ended->Code == challenge)
        out.Line("challenge-result", EncodeChallengeResult(*play.Ended));
    if (play.Playing == challenge) {
        if (play.Friend) out.Line("challenge-friend", std::to_string(*play.Friend));
        if (play.Earlier) out.Line("challenge-earlier", std::to_string(*play.Earlier));
    }
}
