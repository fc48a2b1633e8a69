// Fuzz target: the saved-game loader on any bytes, and on their payload resealed. What it takes
// must come back as the very same bytes, and play on through the rules for a year without fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Game.h"
#include "engine/SavedGame.h"
#include "support/Answers.h"
#include "support/GameStateAccess.h"

namespace {

void LoadAndPlay(const std::string& bytes) {
    TSavedGame saved;
    std::string why;
    if (!TSavedGame::FromBytes(bytes, saved, why)) return;
    // A file of the current format comes back byte for byte; an older one as the same game.
    const std::string image = saved.ToBytes();
    if (bytes[8] == static_cast<char>(TSavedGame::kFormatVersion) && image != bytes)
        __builtin_trap();

    // No program path and no user directory: no customisation file is read and, with the
    // names unknown, the hi-score step stops at its first prompt, so nothing is written.
    TPlatform platform;
    platform.Seed = 1;
    platform.Today = [] { return std::string("20260101"); };
    TGame game(platform);
    game.InitWorld();
    saved.ApplyTo(game);
    if (TSavedGame::Capture(game, saved.Window).ToBytes() != image) __builtin_trap();

    // A question the game was saved at is answered first, as a player who declines.
    Edit(game).FirstName = "unknown";
    DeclineQuestions(game);
    Edit(game).Running = true;
    Edit(game).Paused = false;
    for (TMoveKind move : {TMoveKind::BuyOrSell, TMoveKind::MortgageOrRedeem}) {
        if (!game.Apply(TMove::Of(move))) __builtin_trap();
        DeclineQuestions(game);
    }
    for (int month = 0; month < 13 && game.State().Running; ++month) {
        game.Apply(TMove::Of(TMoveKind::Tick));
        DeclineQuestions(game);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    LoadAndPlay(bytes);
    // The payload again under a header that fits it, so that changes to the payload reach the
    // field checks instead of stopping at the checksum.
    if (bytes.size() >= TSavedGame::kHeaderSize)
        LoadAndPlay(TSavedGame::Seal(bytes.substr(TSavedGame::kHeaderSize)));
    return 0;
}
