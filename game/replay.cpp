#include "game/replay.h"

#include <utility>

namespace game {

namespace {

// The shortest code: the version, the ticks, the count of presses and the checksum.
constexpr std::size_t SHORTEST_CODE_BYTES = 7;

} // namespace

void PutPresses(Bytes& out, const Replay& replay)
{
    PutVarint(out, static_cast<uint32_t>(replay.ticks));
    PutVarint(out, static_cast<uint32_t>(replay.presses.size()));
    int64_t previous = 1;
    for (const KeyPress& press : replay.presses) {
        PutVarint(out, static_cast<uint32_t>(press.tick - previous) * 2 + (press.right ? 1 : 0));
        previous = press.tick;
    }
}

Refusal ReadPresses(ByteReader& in, Replay& replay, const std::string& what)
{
    const uint32_t ticks = in.Varint();
    const uint32_t count = in.Varint();
    // Every press takes a byte at least, so a count beyond the bytes left is damage.
    if (!in.Failed() && count > in.Left())
        return Refuse(RefusalDamaged, what + " is damaged: it ends too soon");
    if (in.Failed())
        return Refuse(RefusalDamaged, what + " is damaged: it " + in.Fault());
    if (ticks > GAME_TICKS_LIMIT)
        return Refuse(RefusalBeyondPlay, what + " counts " + std::to_string(ticks) +
                                             " ticks; no game runs more than " +
                                             std::to_string(GAME_TICKS_LIMIT));
    replay.ticks = ticks;
    replay.presses.clear();
    replay.presses.reserve(count);
    int64_t tick = 1;
    for (uint32_t p = 0; p < count; ++p) {
        const uint32_t value = in.Varint();
        if (in.Failed())
            return Refuse(RefusalDamaged, what + " is damaged: it " + in.Fault());
        tick += value / 2;
        if (tick > replay.ticks + 1)
            return Refuse(RefusalBeyondPlay,
                          what + " names a press at tick " + std::to_string(tick) +
                              ", past its end (" + std::to_string(replay.ticks) +
                              " ticks, and presses waiting for the next)");
        replay.presses.push_back(KeyPress{tick, (value & 1) != 0});
    }
    return {};
}

Refusal RulesRefusal(uint32_t rules, const std::string& what)
{
    const std::string played = what + " was played under rules " + std::to_string(rules);
    const std::string here = "; this Vorkelm plays rules " + std::to_string(RULES_VERSION);
    if (rules > RULES_VERSION)
        return Refuse(RefusalNewer, played + ", of a newer Vorkelm" + here);
    if (rules != RULES_VERSION)
        return Refuse(RefusalOtherRules, played + here + " only");
    return {};
}

Refusal FormatRefusal(uint32_t format, uint32_t newest, const std::string& what)
{
    if (format > newest)
        return Refuse(RefusalNewer, what + " was made by a newer Vorkelm (format " +
                                        std::to_string(format) + "; this one reads up to " +
                                        std::to_string(newest) + ")");
    return {};
}

std::string ReplayCode(const Replay& replay)
{
    Bytes bytes{REPLAY_CODE_VERSION};
    PutVarint(bytes, RULES_VERSION);
    PutPresses(bytes, replay);
    PutChecksum(bytes);
    return Base64Url(bytes);
}

Refusal ReadReplayCode(const std::string& code, Replay& replay)
{
    if (code.size() > REPLAY_CODE_MAX_LENGTH)
        return Refuse(RefusalTooLong, "the replay code is longer than " +
                                          std::to_string(REPLAY_CODE_MAX_LENGTH) + " characters");
    Bytes bytes;
    if (!FromBase64Url(code, bytes))
        return Refuse(RefusalNotOurs, "the replay code is not base64url text");
    if (bytes.empty())
        return Refuse(RefusalNotOurs, "the replay code is empty");
    // The checksum first: a code of a later version keeps it, garbage almost never has it.
    const uint32_t version = bytes[0];
    const bool known = version >= 1 && version <= REPLAY_CODE_VERSION;
    if (bytes.size() < SHORTEST_CODE_BYTES || !ChecksumHolds(bytes)) {
        return known ? Refuse(RefusalDamaged,
                              "the replay code is damaged: it is cut short or its checksum does "
                              "not match")
                     : Refuse(RefusalNotOurs, "this is not a replay code of Vorkelm");
    }
    if (version == 0)
        return Refuse(RefusalNotOurs, "this is not a replay code of Vorkelm: it has no version");
    Refusal refusal = FormatRefusal(version, REPLAY_CODE_VERSION, "the replay code");
    if (refusal.Refused())
        return refusal;
    ByteReader in(bytes.data() + 1, bytes.size() - 5);
    const uint32_t rules = version >= 2 ? in.Varint() : 1;
    if (in.Failed())
        return Refuse(RefusalDamaged, std::string("the replay code is damaged: it ") + in.Fault());
    refusal = RulesRefusal(rules, "the replay code");
    if (refusal.Refused())
        return refusal;
    Replay read;
    refusal = ReadPresses(in, read, "the replay code");
    if (refusal.Refused())
        return refusal;
    if (in.Left() != 0)
        return Refuse(RefusalDamaged, "the replay code is damaged: it has bytes past its presses");
    replay = std::move(read);
    return {};
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
