#pragma once

// What the two game targets share: how an input reaches a decoder, and the play that follows an
// accepted one. Any fault calls std::abort, which libFuzzer reports with the input.
#include "canvas/canvas_record.h"
#include "game/encoding.h"
#include "game/game.h"
#include "game/game_snapshot.h"
#include "tools/invariants.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz {

// The checksum guards everything behind it, so a mutated input would almost never get past it:
// each input is tried as it stands, and then with its checksum made to match, over its decoded
// bytes when it is base64url text (as the seeds, real saves and codes, are) or over its own.
template <typename Try>
void TryAsTextAndWhole(const std::uint8_t* data, std::size_t size, Try tryText)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    tryText(text);
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    game::Bytes bytes;
    if (!game::FromBase64Url(text, bytes))
        bytes.assign(data, data + size);
    if (bytes.size() >= 4)
        bytes.resize(bytes.size() - 4);
    game::PutChecksum(bytes);
    tryText(game::Base64Url(bytes));
}

// A refusal leaves the game as it was.
inline void RequireUnchanged(const game::GameSnapshot& before)
{
    if (!(before == game::GameSnapshot::Take()))
        std::abort();
}

// A few ticks of the game as it stands, a press before each, under the replay runner's --check.
inline void PlayChecked(int ticks)
{
    InvariantChecker checker;
    for (int tick = 0; tick < ticks; ++tick) {
        checker.BeforeKeyPress();
        game::PressArrowKey(tick % 2 == 0);
        checker.AfterKeyPress();
        RecordedCalls().Clear();
        game::GameTick(nullptr);
        if (!checker.AfterTick(RecordedCalls()).empty())
            std::abort();
    }
    RecordedCalls().Clear();
}

} // namespace fuzz
