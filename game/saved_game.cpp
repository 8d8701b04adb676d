#include "game/saved_game.h"

#include "game/coins_by_x.h"
#include "game/game.h"
#include "game/game_snapshot.h"
#include "game/links.h"
#include "game/random.h"
#include "game/state_checks.h"

#include <cstring>
#include <memory>
#include <utility>

namespace game {

namespace {

const char MAGIC[] = "VKLM";
constexpr std::size_t MAGIC_BYTES = 4;
// The magic, the format version and the checksum, which every version begins and ends with.
constexpr std::size_t FRAME_BYTES = MAGIC_BYTES + 2 + 4;

// The counters in the order a save holds them. The origin, the lamp square's corners and the
// catcher's height never change after set-up, so a save leaves them out.
int32_t* const COUNTERS[] = {&credit, &coinsOwed, &lotteryRunning, &lampRow, &lampCol,
                             &pusherSpread, &pusherReach, &pusherRetracting, &catcherOffset,
                             &catcherReturning};

bool OnMachine(int slot)
{
    return coinState[slot] == CoinOnPusher || coinState[slot] == CoinOnField;
}

// Two coins on the deck or on the field whose places lie within the link window of play are
// nearly always linked, by the value their places give: a full table holds a million links or
// two, of which usually a few thousand differ from this. So a save keeps only the differences.
int LinkForetold(int lower, int higher)
{
    if (!OnMachine(lower) || coinState[lower] != coinState[higher])
        return LinkNone;
    const int dx = coinX[lower] - coinX[higher];
    const int dy = coinY[lower] - coinY[higher];
    if (dx < -LINK_REACH_PLAY || dx > LINK_REACH_PLAY || dy < -LINK_REACH_PLAY ||
        dy > LINK_REACH_PLAY)
        return LinkNone;
    return dy >= 0 ? LinkLowerAhead : LinkLowerBehind;
}

// The coins of the deck and of the field, each by x; made for one save or load and freed after.
struct MachineByX {
    CoinsByX deck;
    CoinsByX field;

    MachineByX()
    {
        deck.Build(CoinOnPusher, COIN_SLOTS);
        field.Build(CoinOnField, COIN_SLOTS);
    }

    CoinsByX& Of(int slot) { return coinState[slot] == CoinOnPusher ? deck : field; }
};

// Per pair, in ascending pairs: the gap from the lower slot before, and (the gap from the higher
// slot before, or from the lower slot when that changed) × 4 + the link's value.
void PutLinkDifferences(Bytes& out)
{
    Bytes entries;
    uint32_t count = 0;
    int previousLower = 0;
    int previousHigher = 0;
    const auto put = [&](int lower, int higher, int value) {
        if (lower != previousLower)
            previousHigher = lower;
        PutVarint(entries, static_cast<uint32_t>(lower - previousLower));
        PutVarint(entries, static_cast<uint32_t>(higher - previousHigher) * 4 + value);
        previousLower = lower;
        previousHigher = higher;
        ++count;
    };
    // A row's foretold links as bit rows like the game's own, compared a word at a time.
    const auto byX = std::make_unique<MachineByX>();
    uint64_t foretoldAhead[LINK_WORDS] = {};
    uint64_t foretoldBehind[LINK_WORDS] = {};
    for (int lower = 0; lower < COIN_SLOTS; ++lower) {
        if (OnMachine(lower)) {
            byX->Of(lower).ForEachLaterPartner(lower, LINK_REACH_PLAY, [&](int higher) {
                const int value = LinkForetold(lower, higher);
                if (value != LinkNone) {
                    uint64_t* row = value == LinkLowerAhead ? foretoldAhead : foretoldBehind;
                    row[higher / 64] |= uint64_t{1} << (higher % 64);
                }
            });
        }
        const uint64_t* ahead = FollowerRow(lower);
        const uint64_t* behind = LeaderRow(lower);
        for (int w = lower / 64; w < LINK_WORDS; ++w) {
            uint64_t differ = (ahead[w] ^ foretoldAhead[w]) | (behind[w] ^ foretoldBehind[w]);
            if (w == lower / 64)
                differ &= ~uint64_t{0} << (lower % 64) << 1;
            for (; differ; differ &= differ - 1) {
                const int bit = LowestSetBit(differ);
                const int value = (ahead[w] >> bit) & 1    ? LinkLowerAhead
                                  : (behind[w] >> bit) & 1 ? LinkLowerBehind
                                                           : LinkNone;
                put(lower, w * 64 + bit, value);
            }
            foretoldAhead[w] = 0;
            foretoldBehind[w] = 0;
        }
    }
    PutVarint(out, count);
    out.insert(out.end(), entries.begin(), entries.end());
}

Refusal Damaged(const ByteReader& in)
{
    return Refuse(RefusalDamaged, std::string("the save is damaged: it ") + in.Fault());
}

const char NOT_AS_WRITTEN[] = "the save is damaged: it is not as Vorkelm writes it";

// The coins' places foretell the links; the differences that follow correct them. Coins that lie
// closer than play ever puts them would foretell millions, so they are refused before that work.
Refusal ReadLinkDifferences(ByteReader& in)
{
    const uint32_t count = in.Varint();
    // An entry takes two bytes at least.
    if (!in.Failed() && count > in.Left() / 2)
        return Refuse(RefusalDamaged, "the save is damaged: it ends too soon");
    if (in.Failed())
        return Damaged(in);
    // At most MAX_LINKS stay once the differences have taken some away.
    const int64_t mostForetold = int64_t{MAX_LINKS} + count;
    int64_t foretold = 0;
    {
        const auto byX = std::make_unique<MachineByX>();
        for (CoinsByX* coins : {&byX->deck, &byX->field}) {
            coins->ForEachPairWithin(LINK_REACH_PLAY, [&](int lower, int higher) {
                const int value = LinkForetold(lower, higher);
                if (value != LinkNone && ++foretold <= mostForetold)
                    SetLink(lower, higher, value);
            });
        }
    }
    if (foretold > mostForetold)
        return Refuse(RefusalBeyondPlay, "the save's coins lie so close together that they would "
                                         "hold more than " + std::to_string(MAX_LINKS) + " links");
    int64_t lower = 0;
    int64_t higher = 0;
    for (uint32_t e = 0; e < count; ++e) {
        const uint32_t lowerGap = in.Varint();
        const uint32_t higherGap = in.Varint();
        if (in.Failed())
            return Damaged(in);
        if (lowerGap > 0)
            higher = lower + lowerGap;
        lower += lowerGap;
        higher += higherGap / 4;
        const int value = static_cast<int>(higherGap % 4);
        if (higherGap / 4 == 0 || higher >= COIN_SLOTS || value > LinkLowerAhead)
            return Refuse(RefusalDamaged, "the save is damaged: it names a link outside the coin "
                                          "table or out of order");
        // Only what differs is written, so that a game has one save.
        const int low = static_cast<int>(lower);
        const int high = static_cast<int>(higher);
        if (value == LinkForetold(low, high))
            return Refuse(RefusalDamaged, NOT_AS_WRITTEN);
        SetLink(low, high, value);
    }
    return {};
}

Refusal ReadCoins(ByteReader& in)
{
    const uint32_t count = in.U16();
    int previous = -1;
    for (uint32_t c = 0; c < count && !in.Failed(); ++c) {
        const int slot = static_cast<int>(in.U16());
        const int state = static_cast<int>(in.U8());
        const int speed = static_cast<int>(in.U8());
        const int32_t x = static_cast<int32_t>(in.U32());
        const int32_t y = static_cast<int32_t>(in.U32());
        if (in.Failed())
            break;
        if (slot <= previous || slot >= COIN_SLOTS)
            return Refuse(RefusalDamaged, "the save is damaged: it names coin slot " +
                                              std::to_string(slot) +
                                              ", outside the table or out of order");
        if (state < CoinFalling || state > CoinOnField)
            return Refuse(RefusalDamaged, "the save is damaged: it gives coin slot " +
                                              std::to_string(slot) + " the unknown state " +
                                              std::to_string(state));
        if (state != CoinFalling && speed != 0)
            return Refuse(RefusalDamaged, NOT_AS_WRITTEN);
        coinState[slot] = state;
        coinSpeed[slot] = speed;
        coinX[slot] = x;
        coinY[slot] = y;
        previous = slot;
    }
    return in.Failed() ? Damaged(in) : Refusal{};
}

Refusal BrokenRule()
{
    const std::string broken = FirstBrokenStateInvariant();
    if (broken.empty())
        return {};
    return Refuse(RefusalBeyondPlay, "the saved game is none that play reaches: " + broken);
}

// The magic, the checksum and the version, before anything of the game is touched.
Refusal ReadFrame(const Bytes& bytes, uint32_t& version)
{
    if (bytes.size() < FRAME_BYTES || std::memcmp(bytes.data(), MAGIC, MAGIC_BYTES) != 0)
        return Refuse(RefusalNotOurs, "this is not a saved game of Vorkelm");
    // The checksum first: a save of a later version keeps it where this one has it.
    if (!ChecksumHolds(bytes))
        return Refuse(RefusalDamaged, "the save is damaged: its checksum does not match");
    version = bytes[MAGIC_BYTES] | uint32_t{bytes[MAGIC_BYTES + 1]} << 8;
    if (version == 0)
        return Refuse(RefusalDamaged, "the save is damaged: it has no format version");
    return FormatRefusal(version, SAVE_FORMAT_VERSION, "the save");
}

// Reads the game after the frame into the state, which a fresh process's set-up values hold.
Refusal ReadGame(const Bytes& bytes, uint32_t version, Replay& replay)
{
    ByteReader in(bytes.data() + MAGIC_BYTES + 2, bytes.size() - FRAME_BYTES);
    const uint32_t rules = version >= 2 ? in.U16() : 1;
    if (in.Failed())
        return Damaged(in);
    Refusal refusal = RulesRefusal(rules, "the save");
    if (refusal.Refused())
        return refusal;
    SetRandomState(in.U32());
    for (int32_t* counter : COUNTERS)
        *counter = static_cast<int32_t>(in.U32());
    refusal = ReadCoins(in);
    // Places are checked before the links are foretold from them, and the links after.
    if (!refusal.Refused())
        refusal = BrokenRule();
    if (!refusal.Refused())
        refusal = ReadLinkDifferences(in);
    if (!refusal.Refused())
        refusal = ReadPresses(in, replay, "the save's list of presses");
    if (!refusal.Refused() && in.Left() != 0)
        refusal = Refuse(RefusalDamaged, "the save is damaged: it has bytes past its end");
    if (!refusal.Refused())
        refusal = BrokenRule();
    return refusal;
}

} // namespace

std::string SaveGame(const Replay& replay)
{
    Bytes bytes(MAGIC, MAGIC + MAGIC_BYTES);
    PutU16(bytes, SAVE_FORMAT_VERSION);
    PutU16(bytes, RULES_VERSION);
    PutU32(bytes, RandomState());
    for (const int32_t* counter : COUNTERS)
        PutU32(bytes, static_cast<uint32_t>(*counter));
    PutU16(bytes, static_cast<uint32_t>(CoinsOnTable()));
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] == CoinFree)
            continue;
        PutU16(bytes, static_cast<uint32_t>(slot));
        bytes.push_back(static_cast<uint8_t>(coinState[slot]));
        // Only a falling coin's speed means anything; the fall keeps it below 256.
        bytes.push_back(static_cast<uint8_t>(coinState[slot] == CoinFalling ? coinSpeed[slot] : 0));
        PutU32(bytes, static_cast<uint32_t>(coinX[slot]));
        PutU32(bytes, static_cast<uint32_t>(coinY[slot]));
    }
    PutLinkDifferences(bytes);
    PutPresses(bytes, replay);
    PutChecksum(bytes);
    return Base64Url(bytes);
}

Refusal LoadGame(const std::string& text, Replay& replay)
{
    if (text.size() > SAVE_MAX_LENGTH)
        return Refuse(RefusalTooLong, "the save is longer than " +
                                          std::to_string(SAVE_MAX_LENGTH) + " characters");
    Bytes bytes;
    if (!FromBase64Url(text, bytes))
        return Refuse(RefusalNotOurs, "the save is not base64url text");
    uint32_t version = 0;
    Refusal refusal = ReadFrame(bytes, version);
    if (refusal.Refused())
        return refusal;

    const GameSnapshot before = GameSnapshot::Take();
    ResetGame();
    SetStartValues();
    Replay read;
    refusal = ReadGame(bytes, version, read);
    if (refusal.Refused()) {
        before.Restore();
        return refusal;
    }
    replay = std::move(read);
    return {};
}

} // namespace game
