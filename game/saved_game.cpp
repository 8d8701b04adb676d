#include "game/saved_game.h"

#include "game/coins_by_x.h"
#include "game/game.h"
#include "game/links.h"
#include "game/random.h"
#include "game/state_checks.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace game {

namespace {

const char MAGIC[] = "VKLM";

// The counters in the order a save holds them. The origin, the lamp square's corners and the
// catcher's height never change after set-up, so a save leaves them out.
int32_t* const COUNTERS[] = {&credit, &coinsOwed, &lotteryRunning, &lampRow, &lampCol,
                             &pusherSpread, &pusherReach, &pusherRetracting, &catcherOffset,
                             &catcherReturning};

struct Link {
    int higher;
    int value;
};

// Two coins on the deck or on the field whose places lie within the link window of play are
// nearly always linked, by the value their places give: a full table holds a million links, of
// which a few thousand differ from this. So a save keeps only the differences. Calls
// row(lower, links, count) for every slot in ascending order with the links its places foretell
// towards higher slots, ascending.
template <typename Row>
void ForEachForetoldRow(Row row)
{
    static CoinsByX byX;
    static std::vector<int> rowStart(COIN_SLOTS + 1);
    static std::vector<Link> links;
    // Two walks over the pairs within reach: one counts each row's links, one places them.
    const auto walk = [](auto visit) {
        for (int state : {CoinOnPusher, CoinOnField}) {
            byX.Build(state, COIN_SLOTS);
            byX.ForEachPairWithin(LINK_REACH_PLAY, [&](int lower, int higher) {
                const int dy = coinY[lower] - coinY[higher];
                if (-LINK_REACH_PLAY <= dy && dy <= LINK_REACH_PLAY)
                    visit(lower, higher, dy >= 0 ? LinkLowerAhead : LinkLowerBehind);
            });
        }
    };
    std::fill(rowStart.begin(), rowStart.end(), 0);
    walk([](int lower, int, int) { ++rowStart[lower + 1]; });
    for (int slot = 0; slot < COIN_SLOTS; ++slot)
        rowStart[slot + 1] += rowStart[slot];
    links.resize(static_cast<std::size_t>(rowStart[COIN_SLOTS]));
    static std::vector<int> filled;
    filled.assign(rowStart.begin(), rowStart.end() - 1);
    walk([](int lower, int higher, int value) { links[filled[lower]++] = Link{higher, value}; });
    for (int lower = 0; lower < COIN_SLOTS; ++lower) {
        row(lower, links.data() + rowStart[lower],
            static_cast<std::size_t>(rowStart[lower + 1] - rowStart[lower]));
    }
}

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
    static uint64_t foretoldAhead[LINK_WORDS];
    static uint64_t foretoldBehind[LINK_WORDS];
    ForEachForetoldRow([&](int lower, const Link* foretold, std::size_t foretoldCount) {
        for (std::size_t f = 0; f < foretoldCount; ++f) {
            uint64_t* row = foretold[f].value == LinkLowerAhead ? foretoldAhead : foretoldBehind;
            row[foretold[f].higher / 64] |= uint64_t{1} << (foretold[f].higher % 64);
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
        }
        for (std::size_t f = 0; f < foretoldCount; ++f) {
            foretoldAhead[foretold[f].higher / 64] = 0;
            foretoldBehind[foretold[f].higher / 64] = 0;
        }
    });
    PutVarint(out, count);
    out.insert(out.end(), entries.begin(), entries.end());
}

std::string ReadLinkDifferences(ByteReader& in)
{
    ForEachForetoldRow([](int lower, const Link* foretold, std::size_t count) {
        for (std::size_t f = 0; f < count; ++f)
            SetLink(lower, foretold[f].higher, foretold[f].value);
    });
    const uint32_t count = in.Varint();
    int64_t lower = 0;
    int64_t higher = 0;
    for (uint32_t e = 0; e < count && !in.Failed(); ++e) {
        const uint32_t lowerGap = in.Varint();
        const uint32_t higherGap = in.Varint();
        if (in.Failed())
            break;
        if (lowerGap > 0)
            higher = lower + lowerGap;
        lower += lowerGap;
        higher += higherGap / 4;
        const int value = static_cast<int>(higherGap % 4);
        if (higherGap / 4 == 0 || higher >= COIN_SLOTS || value > LinkLowerAhead)
            return "the save names a link outside the coin table";
        SetLink(static_cast<int>(lower), static_cast<int>(higher), value);
    }
    return in.Failed() ? "the save is truncated" : "";
}

std::string ReadCoins(ByteReader& in)
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
            return "the save names coin slot " + std::to_string(slot) +
                   ", outside the table or out of order";
        if (state < CoinFalling || state > CoinOnField)
            return "the save gives coin slot " + std::to_string(slot) + " the unknown state " +
                   std::to_string(state);
        coinState[slot] = state;
        coinSpeed[slot] = speed;
        coinX[slot] = x;
        coinY[slot] = y;
        previous = slot;
    }
    return in.Failed() ? "the save is truncated" : "";
}

std::string ReadGame(const Bytes& bytes, Replay& replay)
{
    if (bytes.size() < 10 || std::memcmp(bytes.data(), MAGIC, 4) != 0)
        return "this is not a saved game of Vorkelm";
    ByteReader in(bytes.data() + 4, bytes.size() - 8);
    const uint32_t version = in.U16();
    if (version > SAVE_FORMAT_VERSION)
        return "the save was made by a newer Vorkelm (format " + std::to_string(version) +
               "; this one reads up to " + std::to_string(SAVE_FORMAT_VERSION) + ")";
    if (version == 0)
        return "the save has no format version";
    if (!ChecksumHolds(bytes))
        return "the save is damaged: its checksum does not match";

    SetRandomState(in.U32());
    for (int32_t* counter : COUNTERS)
        *counter = static_cast<int32_t>(in.U32());
    std::string wrong = ReadCoins(in);
    if (!wrong.empty())
        return wrong;
    // Places are checked before the links are foretold from them, and the links after.
    wrong = FirstBrokenStateInvariant();
    if (!wrong.empty())
        return "the saved state breaks a rule of play: " + wrong;
    wrong = ReadLinkDifferences(in);
    if (!wrong.empty())
        return wrong;
    wrong = ReadPresses(in, replay, "the save's list of presses");
    if (!wrong.empty())
        return wrong;
    if (in.Left() != 0)
        return "the save has bytes past its end";
    wrong = FirstBrokenStateInvariant();
    if (!wrong.empty())
        return "the saved state breaks a rule of play: " + wrong;
    return "";
}

} // namespace

std::string SaveGame(const Replay& replay)
{
    Bytes bytes(MAGIC, MAGIC + 4);
    PutU16(bytes, SAVE_FORMAT_VERSION);
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

std::string LoadGame(const std::string& text, Replay& replay)
{
    ResetGame();
    SetStartValues();
    Bytes bytes;
    std::string wrong;
    if (!FromBase64Url(text, bytes))
        wrong = "the save is not base64url text";
    else
        wrong = ReadGame(bytes, replay);
    if (!wrong.empty())
        ResetGame();
    return wrong;
}

} // namespace game
