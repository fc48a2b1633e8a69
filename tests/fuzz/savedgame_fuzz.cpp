// Fuzz target: the saved-game loader on any bytes, and on their payload resealed. What it takes
// must come back as the very same bytes, and play on through the rules for a year without fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Game.h"
#include "engine/SavedGame.h"
#include "support/GameStateAccess.h"
#include "support/NullGameWindow.h"

namespace {

void LoadAndPlay(const std::string& bytes) {
    TSavedGame saved;
    std::string why;
    if (!TSavedGame::FromBytes(bytes, saved, why)) return;
    if (saved.ToBytes() != bytes) __builtin_trap();

    // No program path and no user directory: no customisation file is read and, with the
    // names unknown, the hi-score step stops at its first prompt, so nothing is written.
    NullGameWindow window;
    TPlatform platform;
    platform.Seed = 1;
    platform.Today = [] { return std::string("20260101"); };
    TGame game(window, platform);
    game.InitWorld();
    saved.ApplyTo(game);
    if (TSavedGame::Capture(game, saved.Window).ToBytes() != bytes) __builtin_trap();

    Edit(game).FirstName = "unknown";
    Edit(game).Running = true;
    Edit(game).Paused = false;
    game.BuyOrSell();
    game.MortgageOrRedeem();
    for (int month = 0; month < 13 && game.State().Running; ++month) game.MonthlyTick();
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
