// Saved games and replay codes: what is saved plays on exactly as the game it came from, what
// version 1.0 wrote still loads, and whatever is damaged, foreign, newer or beyond play is refused
// with its kind and leaves the game as it was.
#include "game/encoding.h"
#include "game/game_snapshot.h"
#include "game/random.h"
#include "game/saved_game.h"
#include "game/state_dump.h"
#include "test_support.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace game;

namespace {

const std::string DATA = VORKELM_SOURCE_DIR "/tests/native/data/";

// A file of the data folder, without the newline it ends with.
std::string Data(const std::string& name)
{
    std::ifstream in(DATA + name, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

void Press(const KeyPress& press)
{
    PressArrowKey(press.right);
}

void Tick()
{
    RecordedCalls().Clear();
    GameTick(nullptr);
}

// Plays `ticks` ticks with `presses` presses (alternating keys) before each.
Replay Play(int ticks, int presses, int startCredit)
{
    ResetGame();
    SetStartValues();
    SetupTable();
    credit = startCredit;
    Replay replay{ticks, {}};
    for (int tick = 1; tick <= ticks; ++tick) {
        for (int p = 0; p < presses; ++p)
            replay.presses.push_back(KeyPress{tick, p % 2 == 0});
    }
    ReplayPlayer player(replay);
    while (!player.AtEnd())
        player.PlayTick(Press, Tick);
    return replay;
}

// The dump and random state after `more` ticks with a press before each.
std::string PlayOn(int more)
{
    for (int t = 0; t < more; ++t) {
        DropPlayerCoin(RightLaneX());
        Tick();
    }
    return StateDump(0) + std::to_string(RandomState());
}

// A save's or a code's bytes edited by `edit`, with its checksum made to match again.
template <typename Edit>
std::string Edited(const std::string& text, Edit edit)
{
    Bytes bytes;
    FromBase64Url(text, bytes);
    edit(bytes);
    bytes.resize(bytes.size() - 4);
    PutChecksum(bytes);
    return Base64Url(bytes);
}

// A code of any version and rules, its checksum whole.
std::string Code(int version, int rules, const Replay& replay)
{
    Bytes bytes{static_cast<uint8_t>(version)};
    if (rules >= 0)
        PutVarint(bytes, static_cast<uint32_t>(rules));
    PutPresses(bytes, replay);
    PutChecksum(bytes);
    return Base64Url(bytes);
}

// Where the save of Play(40, 1, 0) holds what the fault cases edit.
constexpr std::size_t FORMAT_AT = 4, RULES_AT = 6, RANDOM_AT = 8, COINS_AT = 52;
constexpr std::size_t FIRST_COIN_AT = COINS_AT + 2, COIN_BYTES = 12;

struct Fault {
    std::string text;
    RefusalKind kind;
    const char* reason;
};

} // namespace

using SavedGame = FreshGame;

TEST_F(SavedGame, ALoadedGamePlaysOnExactlyAsTheOneSavedAndSavesAgainTheSame)
{
    struct Case {
        const char* table;
        int ticks, presses, credit;
        std::size_t mostBytes;
    };
    // The full table holds about a million links, almost all foretold by the coins' places.
    for (const Case& c : {Case{"initial", 0, 0, 0, 4000}, Case{"heavy play", 2000, 4, 1000, 60000},
                          Case{"full", 12, 1000, 999999999, 256 * 1024}}) {
        const Replay played = Play(c.ticks, c.presses, c.credit);
        const std::string dump = StateDump(c.ticks);
        const std::string save = SaveGame(played);
        EXPECT_LT(save.size() * 3 / 4, c.mostBytes) << c.table;
        const std::string after = PlayOn(30);

        Replay loaded;
        ResetGame();
        ASSERT_EQ("", LoadGame(save, loaded).detail) << c.table;
        EXPECT_EQ(dump, StateDump(c.ticks)) << c.table;
        EXPECT_EQ(save, SaveGame(loaded)) << c.table;
        EXPECT_EQ(KeysList(played), KeysList(loaded)) << c.table;
        EXPECT_EQ(played.ticks, loaded.ticks) << c.table;
        EXPECT_EQ(after, PlayOn(30)) << c.table;
    }
}

TEST_F(SavedGame, WhatVersionOneWroteLoadsAndSavesAgainAsTheSameGame)
{
    for (const char* name : {"initial", "keys-held", "presses-waiting", "lottery-running",
                             "prize-owed", "full-table"}) {
        const std::string v1 = std::string("v1/") + name;
        Replay replay;
        ASSERT_EQ("", LoadGame(Data(v1 + ".save"), replay).detail) << name;
        const std::string dump = StateDump(replay.ticks);
        if (std::string(name) != "full-table") {
            EXPECT_EQ(Data(v1 + ".dump") + "\n", dump) << name;
        }
        const std::string resaved = SaveGame(replay);
        Replay again;
        ResetGame();
        ASSERT_EQ("", LoadGame(resaved, again).detail) << name;
        EXPECT_EQ(dump, StateDump(again.ticks)) << name;

        const std::string code = Data(v1 + ".code");
        if (code.empty())
            continue; // games played on a credit no page starts with have no code
        Replay coded;
        ASSERT_EQ("", ReadReplayCode(code, coded).detail) << name;
        EXPECT_EQ(KeysList(replay), KeysList(coded)) << name;
        EXPECT_EQ(replay.ticks, coded.ticks) << name;
        Replay recoded;
        ASSERT_EQ("", ReadReplayCode(ReplayCode(coded), recoded).detail) << name;
        EXPECT_EQ(KeysList(coded), KeysList(recoded)) << name;
    }
}

TEST_F(SavedGame, AFaultySaveIsRefusedWithItsKindAndLeavesTheGameAsItWas)
{
    const std::string save = SaveGame(Play(40, 1, 0));
    const auto coinByte = [](std::size_t offset, uint8_t value) {
        return [=](Bytes& b) { b[FIRST_COIN_AT + offset] = value; };
    };
    const Fault faults[] = {
        {"garbage!", RefusalNotOurs, "not base64url"},
        {"Z2FyYmFnZSBhbmQgbW9yZQ", RefusalNotOurs, "not a saved game"},
        {std::string(SAVE_MAX_LENGTH + 1, 'A'), RefusalTooLong, "longer than 10000000"},
        {save.substr(0, save.size() / 2 / 4 * 4), RefusalDamaged, "checksum"},
        {Edited(save, [](Bytes& b) { b[FORMAT_AT] = 3; }), RefusalNewer, "newer Vorkelm (format 3"},
        {Edited(save, [](Bytes& b) { b[FORMAT_AT] = 0; }), RefusalDamaged, "no format version"},
        {Edited(save, [](Bytes& b) { b[RULES_AT] = 2; }), RefusalNewer, "rules 2, of a newer"},
        {Edited(save, [](Bytes& b) { b[RULES_AT] = 0; }), RefusalOtherRules, "rules 0;"},
        {Edited(save, [](Bytes& b) { b[FIRST_COIN_AT] = 0x88, b[FIRST_COIN_AT + 1] = 0x13; }),
         RefusalDamaged, "slot 5000"},
        {Edited(save, coinByte(2, 4)), RefusalDamaged, "unknown state 4"},
        // The first coin lies on the field, where a speed means nothing and is written as 0.
        {Edited(save, coinByte(3, 1)), RefusalDamaged, "not as Vorkelm writes it"},
        {Edited(save, coinByte(11, 0x7F)), RefusalBeyondPlay, "where its state can hold it: slot 0"},
        {Edited(save, [](Bytes& b) { b.insert(b.end() - 4, 0); }), RefusalDamaged, "past its end"},
    };
    Replay mine = Play(25, 1, 0);
    const GameSnapshot before = GameSnapshot::Take();
    for (const Fault& fault : faults) {
        Replay replay = mine;
        const Refusal refusal = LoadGame(fault.text, replay);
        EXPECT_EQ(fault.kind, refusal.kind) << fault.reason << ": " << refusal.detail;
        EXPECT_NE(std::string::npos, refusal.detail.find(fault.reason)) << refusal.detail;
        EXPECT_EQ("", FirstDifference(before, GameSnapshot::Take())) << fault.reason;
        EXPECT_EQ(KeysList(mine), KeysList(replay)) << fault.reason;
        EXPECT_EQ(mine.ticks, replay.ticks) << fault.reason;
    }
    // Another random state is a game the save could hold.
    Replay replay;
    EXPECT_EQ("", LoadGame(Edited(save, [](Bytes& b) { b[RANDOM_AT] ^= 1; }), replay).detail);
}

TEST_F(SavedGame, OnlyTheLinksThatDifferFromTheirPlacesAreWritten)
{
    const Replay replay = Play(40, 1, 0);
    const std::string save = SaveGame(replay);
    Bytes bytes;
    FromBase64Url(save, bytes);
    const std::size_t linksAt = FIRST_COIN_AT + COIN_BYTES * (bytes[COINS_AT] | bytes[COINS_AT + 1] << 8);
    // Past the count and the first entry's lower slot, its second varint begins with its link's
    // value in its low two bits.
    ByteReader in(bytes.data() + linksAt, bytes.size() - linksAt);
    ASSERT_GT(in.Varint(), 0u);
    in.Varint();
    const std::size_t valueAt = bytes.size() - in.Left();
    const int written = bytes[valueAt] & 3;
    // Of the two other values one is what the places foretell, which is never written; the other
    // is another game.
    int refused = 0;
    for (int value = 0; value <= 2; ++value) {
        if (value == written)
            continue;
        Replay loaded;
        const Refusal refusal = LoadGame(
            Edited(save, [&](Bytes& b) { b[valueAt] = static_cast<uint8_t>((b[valueAt] & ~3) | value); }),
            loaded);
        refused += refusal.Refused();
        if (refusal.Refused()) {
            EXPECT_NE(std::string::npos, refusal.detail.find("not as Vorkelm writes it"));
        }
    }
    EXPECT_EQ(1, refused);
}

// The crafted saves of the data folder, each made here from a real game: what they hold loads in
// no game, and is refused before it costs anything. The replay runner's test loads them too.
TEST_F(SavedGame, CraftedSavesAreRefusedAndAreTheOnesInTheDataFolder)
{
    struct Crafted {
        const char* name;
        const char* reason;
        void (*craft)(Replay&);
    };
    const Crafted crafted[] = {
        {"credit-int32-max", "credit lies in 0..999999999", [](Replay&) { credit = INT32_MAX; }},
        {"owed-int32-max", "coinsOwed lies in", [](Replay&) { coinsOwed = INT32_MAX; }},
        {"ticks-int32-max", "counts 2147483647 ticks", [](Replay& r) { r.ticks = INT32_MAX; }},
        {"deck-coin-far-right", "where its state can hold it",
         [](Replay&) {
             for (int slot = 0; slot < COIN_SLOTS; ++slot) {
                 if (coinState[slot] == CoinOnPusher) {
                     coinX[slot] = 1000000;
                     return;
                 }
             }
         }},
        // Every slot a field coin at one place, all linked: 12.5 million links.
        {"coins-at-one-place", "more than 5000000 links",
         [](Replay&) {
             ClearAllLinks();
             for (int slot = 0; slot < COIN_SLOTS; ++slot)
                 PlaceCoin(slot, CoinOnField, 200, 300);
             LinkPass(CoinOnField, COIN_SLOTS, LINK_REACH_PLAY);
         }},
    };
    for (const Crafted& c : crafted) {
        Replay replay = Play(40, 1, 0);
        c.craft(replay);
        const std::string save = SaveGame(replay);
        const std::string file = std::string("crafted/") + c.name + ".save";
        if (std::getenv("VORKELM_WRITE_DATA"))
            std::ofstream(DATA + file, std::ios::binary) << save << '\n';
        EXPECT_EQ(save, Data(file)) << file << " is not what this test crafts; "
                                    << "VORKELM_WRITE_DATA=1 writes it anew";

        Replay mine = Play(3, 1, 0);
        const GameSnapshot before = GameSnapshot::Take();
        const Refusal refusal = LoadGame(save, mine);
        EXPECT_EQ(RefusalBeyondPlay, refusal.kind) << c.name << ": " << refusal.detail;
        EXPECT_NE(std::string::npos, refusal.detail.find(c.reason)) << refusal.detail;
        EXPECT_EQ("", FirstDifference(before, GameSnapshot::Take())) << c.name;
        EXPECT_EQ(3, mine.ticks) << c.name;
    }
}

TEST_F(SavedGame, ReplayCodesCarryTheirPressesAndRefuseWhatTheyCannotHold)
{
    Replay replay{10000, {}};
    for (int p = 0; p < 2000; ++p)
        replay.presses.push_back(KeyPress{1 + p * 5, p % 3 == 0});
    const std::string code = ReplayCode(replay);
    EXPECT_LT(code.size(), 4000u);
    Replay read;
    ASSERT_EQ("", ReadReplayCode(code, read).detail);
    EXPECT_EQ(KeysList(replay), KeysList(read));
    EXPECT_EQ(code, ReplayCode(read));

    std::string damaged = code;
    damaged[code.size() / 2] = damaged[code.size() / 2] == 'A' ? 'B' : 'A';
    const Replay pastItsEnd{3, {{2, true}, {4, false}, {5, true}}};
    const Replay short_{5, {{5, true}, {5, false}}};
    const Fault faults[] = {
        {damaged, RefusalDamaged, "damaged"},
        {code.substr(0, code.size() - 8), RefusalDamaged, "damaged"},
        {std::string(REPLAY_CODE_MAX_LENGTH + 1, 'A'), RefusalTooLong, "longer than"},
        {Code(3, 1, short_), RefusalNewer, "newer Vorkelm (format 3"},
        {Code(2, 2, short_), RefusalNewer, "rules 2, of a newer"},
        {Code(2, 0, short_), RefusalOtherRules, "rules 0;"},
        {Code(0, 1, short_), RefusalNotOurs, "no version"},
        {Code(2, 1, pastItsEnd), RefusalBeyondPlay, "press at tick 5, past its end (3 ticks"},
        // 2^31 - 1 ticks: "to the end" would run for days.
        {"Af____8HAAd8HLY", RefusalBeyondPlay, "2147483647 ticks"},
        {Edited(Code(2, 1, short_), [](Bytes& b) { b.insert(b.end() - 4, 0); }), RefusalDamaged,
         "past its presses"},
        {"AQ%UC", RefusalNotOurs, "not base64url"},
        {"", RefusalNotOurs, "empty"},
        {"garbagee", RefusalNotOurs, "not a replay code"},
    };
    for (const Fault& fault : faults) {
        Replay kept = replay;
        const Refusal refusal = ReadReplayCode(fault.text, kept);
        EXPECT_EQ(fault.kind, refusal.kind) << fault.reason << ": " << refusal.detail;
        EXPECT_NE(std::string::npos, refusal.detail.find(fault.reason)) << refusal.detail;
        EXPECT_EQ(KeysList(replay), KeysList(kept)) << fault.reason;
    }
    // Version 1 carries no rules version and keeps being read.
    ASSERT_EQ("", ReadReplayCode(Code(1, -1, short_), read).detail);
    EXPECT_EQ("5:R,5:L", KeysList(read));
}

TEST(Encoding, ReadsOnlyWhatItsWritersWrite)
{
    struct Case {
        Bytes bytes;
        uint32_t value; // read as a varint
        const char* fault;
    };
    const Case cases[] = {
        {{0x05}, 5, nullptr},
        {{0x80, 0x01}, 128, nullptr},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0x0F}, 0xFFFFFFFFu, nullptr},
        {{0x80}, 0, "ends too soon"},
        {{0x85, 0x00}, 0, "not as Vorkelm writes it"},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0x10}, 0, "not as Vorkelm writes it"},
    };
    for (const Case& c : cases) {
        ByteReader in(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(c.value, in.Varint());
        EXPECT_EQ(c.fault != nullptr, in.Failed());
        if (c.fault) {
            EXPECT_NE(std::string::npos, std::string(in.Fault()).find(c.fault));
        }
    }
    // One text for each byte string: the bits past the last byte are zero.
    Bytes bytes;
    EXPECT_TRUE(FromBase64Url("AA", bytes));
    EXPECT_FALSE(FromBase64Url("AB", bytes));
    EXPECT_TRUE(FromBase64Url("AAA", bytes));
    EXPECT_FALSE(FromBase64Url("AAB", bytes));
    EXPECT_FALSE(FromBase64Url("AAAAA", bytes));
}

TEST(ReplayPlayer, PressesGoBeforeTheirTickAndThoseAfterTheLastTickAtTheEnd)
{
    struct Case {
        Replay replay;
        const char* played;
    };
    const Case cases[] = {
        {{3, {{1, true}, {1, false}, {3, true}, {4, false}}}, "R L 1 2 R 3 L"},
        {{0, {{1, true}}}, "R"},
        {{2, {}}, "1 2"},
    };
    for (const Case& c : cases) {
        std::string played;
        const auto note = [&](const std::string& what) {
            played += (played.empty() ? "" : " ") + what;
        };
        ReplayPlayer player(c.replay);
        const auto press = [&](const KeyPress& p) { note(p.right ? "R" : "L"); };
        player.PlayPressesAfterEnd(press);
        while (!player.AtEnd()) {
            player.PlayPressesAfterEnd(press); // nothing before the end
            player.PlayTick(press, [&] { note(std::to_string(player.Played() + 1)); });
        }
        player.PlayPressesAfterEnd(press);
        EXPECT_EQ(c.played, played) << KeysList(c.replay);
        EXPECT_EQ(c.replay.ticks, player.Played());
    }
}
