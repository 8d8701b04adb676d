#include "game/replay.h"

namespace game {

void PutPresses(Bytes& out, const Replay& replay)
{
    PutVarint(out, static_cast<uint32_t>(replay.ticks));
    PutVarint(out, static_cast<uint32_t>(replay.presses.size()));
    int32_t previous = 1;
    for (const KeyPress& press : replay.presses) {
        PutVarint(out, static_cast<uint32_t>(press.tick - previous) * 2 + (press.right ? 1 : 0));
        previous = press.tick;
    }
}

std::string ReadPresses(ByteReader& in, Replay& replay, const std::string& what)
{
    const uint32_t ticks = in.Varint();
    const uint32_t count = in.Varint();
    // Every press takes a byte at least, so a count beyond the bytes left is damage.
    if (in.Failed() || count > in.Left())
        return what + " is truncated";
    if (ticks > INT32_MAX)
        return what + " names more ticks than the game counts";
    replay.ticks = static_cast<int32_t>(ticks);
    replay.presses.clear();
    replay.presses.reserve(count);
    int64_t tick = 1;
    for (uint32_t p = 0; p < count; ++p) {
        const uint32_t value = in.Varint();
        if (in.Failed())
            return what + " is truncated";
        tick += value / 2;
        if (tick > int64_t{replay.ticks} + 1)
            return what + " names a press at tick " + std::to_string(tick) + ", past its end (" +
                   std::to_string(replay.ticks) + " ticks, and presses waiting for the next)";
        replay.presses.push_back(KeyPress{static_cast<int32_t>(tick), (value & 1) != 0});
    }
    return "";
}

std::string ReplayCode(const Replay& replay)
{
    Bytes bytes{REPLAY_CODE_VERSION};
    PutPresses(bytes, replay);
    PutChecksum(bytes);
    return Base64Url(bytes);
}

std::string ReadReplayCode(const std::string& code, Replay& replay)
{
    if (code.size() > REPLAY_CODE_MAX_LENGTH)
        return "the replay code is longer than " + std::to_string(REPLAY_CODE_MAX_LENGTH) +
               " characters";
    Bytes bytes;
    if (!FromBase64Url(code, bytes))
        return "the replay code is not base64url text";
    if (bytes.empty())
        return "the replay code is empty";
    if (bytes[0] != REPLAY_CODE_VERSION)
        return "the replay code is of version " + std::to_string(bytes[0]) +
               "; this Vorkelm reads version " + std::to_string(REPLAY_CODE_VERSION);
    if (!ChecksumHolds(bytes))
        return "the replay code is damaged: its checksum does not match";
    ByteReader in(bytes.data() + 1, bytes.size() - 5);
    const std::string wrong = ReadPresses(in, replay, "the replay code");
    if (!wrong.empty())
        return wrong;
    if (in.Left() != 0)
        return "the replay code has bytes past its presses";
    return "";
}

std::string KeysList(const Replay& replay)
{
    std::string keys;
    keys.reserve(replay.presses.size() * 9);
    for (const KeyPress& press : replay.presses) {
        if (!keys.empty())
            keys += ',';
        keys += std::to_string(press.tick);
        keys += press.right ? ":R" : ":L";
    }
    return keys;
}

} // namespace game
