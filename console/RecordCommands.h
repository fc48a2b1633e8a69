#pragma once

#include <ostream>
#include <string>

#include "engine/Platform.h"

class ConsoleOutput;
class Tmainform;

// `realtopia-console replay FILE`: plays the record in FILE and prints its final state, or why
// it does not replay. The exit status: 0 when it replayed, 1 otherwise.
int ReplayRecordFile(const std::string& path, const TPlatform& platform, std::ostream& out);
// `realtopia-console verify`: replays the record of every entry of the hi-score table and says,
// per entry, "verified", "customised market", "does not replay: …" or "no record". The exit
// status: 0 when every entry with a record was verified, 1 otherwise.
int VerifyHiScores(const TPlatform& platform, std::ostream& out);

// The `challenge` command: the code of the game being played, or (`challenge CODE`) the
// market of a friend's code dealt as a new game, or (`challenge RESULT`) a friend's result
// taken as "Play a Challenge…" takes it; then what is known of that market: the result to send
// back once it has ended, the friend's figure, one's own earlier figure.
void ChallengeCommand(Tmainform& form, ConsoleOutput& out, const std::string& line);
