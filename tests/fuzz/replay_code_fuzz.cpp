// libFuzzer target of the replay code's reader. A code that is read must encode again to the
// same text (to the same presses, for a code of an older version), and its first ticks must play
// under the rules of --check; one that is refused must leave the caller's replay as it was.
// Seeds: the codes of tests/native/data.
#include "game/replay.h"
#include "game_fuzz.h"

#include <algorithm>

namespace {

// Only the first ticks of a code play: a code may hold hundreds of millions.
constexpr int64_t TICKS_PLAYED = 30;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TryAsTextAndWhole(data, size, [](const std::string& text) {
        game::Replay replay{7, {{8, true}}};
        if (game::ReadReplayCode(text, replay).Refused()) {
            if (replay.ticks != 7 || replay.presses.size() != 1)
                std::abort();
            return;
        }
        const std::string code = game::ReplayCode(replay);
        if (code != text) {
            // An older version: its presses must be the ones the newer code holds.
            game::Replay again;
            if (game::ReadReplayCode(code, again).Refused() || again.ticks != replay.ticks ||
                game::KeysList(again) != game::KeysList(replay))
                std::abort();
            game::Bytes bytes;
            game::FromBase64Url(text, bytes);
            if (bytes[0] == game::REPLAY_CODE_VERSION)
                std::abort();
        }
        game::Replay first{std::min(replay.ticks, TICKS_PLAYED), {}};
        for (const game::KeyPress& press : replay.presses) {
            if (press.tick <= first.ticks + 1)
                first.presses.push_back(press);
        }
        game::ResetGame();
        game::SetStartValues();
        game::SetupTable();
        InvariantChecker checker;
        game::ReplayPlayer player(first);
        const auto press = [&](const game::KeyPress& key) {
            checker.BeforeKeyPress();
            game::PressArrowKey(key.right);
            checker.AfterKeyPress();
        };
        while (!player.AtEnd()) {
            player.PlayTick(press, [] {
                RecordedCalls().Clear();
                game::GameTick(nullptr);
            });
            if (!checker.AfterTick(RecordedCalls()).empty())
                std::abort();
        }
        player.PlayPressesAfterEnd(press);
        RecordedCalls().Clear();
    });
    return 0;
}
