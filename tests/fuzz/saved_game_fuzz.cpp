// libFuzzer target of the saved game's reader. A save that loads must save again to the same
// text (to the same game, for a save of an older version), and then play on under the rules of
// --check; one that is refused must leave the game as it was. Seeds: the saves of
// tests/native/data.
#include "game/saved_game.h"
#include "game_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TryAsTextAndWhole(data, size, [](const std::string& text) {
        // A refused load must leave a game as it was: the initial table's, quick to compare.
        game::ResetGame();
        game::SetStartValues();
        game::SetupTable();
        game::Replay replay{7, {{8, true}}};
        const game::GameSnapshot before = game::GameSnapshot::Take();
        if (game::LoadGame(text, replay).Refused()) {
            fuzz::RequireUnchanged(before);
            if (replay.ticks != 7 || replay.presses.size() != 1)
                std::abort();
            return;
        }
        const std::string saved = game::SaveGame(replay);
        if (saved != text) {
            // An older format: its game must be the one the newer save holds.
            const game::GameSnapshot loaded = game::GameSnapshot::Take();
            game::Replay again;
            if (game::LoadGame(saved, again).Refused() || !(game::GameSnapshot::Take() == loaded) ||
                game::SaveGame(again) != saved)
                std::abort();
            game::Bytes bytes;
            game::FromBase64Url(text, bytes);
            if (bytes[4] == game::SAVE_FORMAT_VERSION && bytes[5] == 0)
                std::abort();
        }
        fuzz::PlayChecked(5);
    });
    return 0;
}
