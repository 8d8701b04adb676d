// Saved games and replay codes: what is saved plays on exactly as the game it came from, and
// whatever is damaged, foreign or out of range is refused with its reason and loads nothing.
#include "game/encoding.h"
#include "game/random.h"
#include "game/saved_game.h"
#include "game/state_dump.h"
#include "test_support.h"

using namespace game;

namespace {

// Plays `ticks` ticks with `presses` presses (alternating keys) before each, recording them.
Replay Play(int ticks, int presses, int startCredit)
{
    ResetGame();
    SetStartValues();
    SetupTable();
    credit = startCredit;
    Replay replay;
    for (int tick = 1; tick <= ticks; ++tick) {
        for (int p = 0; p < presses; ++p) {
            replay.presses.push_back(KeyPress{tick, p % 2 == 0});
            DropPlayerCoin(p % 2 == 0 ? RightLaneX() : LeftLaneX());
        }
        RecordedCalls().Clear();
        GameTick(nullptr);
    }
    replay.ticks = ticks;
    return replay;
}

// The dump and random state after `more` ticks with a press before each.
std::string PlayOn(int more)
{
    for (int t = 0; t < more; ++t) {
        DropPlayerCoin(RightLaneX());
        RecordedCalls().Clear();
        GameTick(nullptr);
    }
    return StateDump(0) + std::to_string(RandomState());
}

// A save's bytes edited by `edit`, with its checksum made to match again.
template <typename Edit>
std::string Edited(const std::string& save, Edit edit)
{
    Bytes bytes;
    FromBase64Url(save, bytes);
    edit(bytes);
    bytes.resize(bytes.size() - 4);
    PutChecksum(bytes);
    return Base64Url(bytes);
}

} // namespace

using SavedGame = FreshGame;

TEST_F(SavedGame, ALoadedGamePlaysOnExactlyAsTheOneSaved)
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
        ASSERT_EQ("", LoadGame(save, loaded)) << c.table;
        EXPECT_EQ(dump, StateDump(c.ticks)) << c.table;
        EXPECT_EQ(KeysList(played), KeysList(loaded)) << c.table;
        EXPECT_EQ(played.ticks, loaded.ticks) << c.table;
        EXPECT_EQ(after, PlayOn(30)) << c.table;
    }
}

TEST_F(SavedGame, AFaultySaveIsRefusedWithItsReasonAndLeavesAFreshState)
{
    const std::string save = SaveGame(Play(40, 1, 0));
    // Bytes 52 and 53 hold the first coin's slot, 54 its state, 56 to 63 its place.
    const std::pair<std::string, const char*> faults[] = {
        {"garbage!", "not base64url"},
        {"Z2FyYmFnZSBhbmQgbW9yZQ", "not a saved game"},
        {save.substr(0, save.size() / 2 / 4 * 4), "checksum"},
        {Edited(save, [](Bytes& b) { b[4] = 2; }), "newer Vorkelm (format 2"},
        {Edited(save, [](Bytes& b) { b[52] = 0x88; b[53] = 0x13; }), "slot 5000"},
        {Edited(save, [](Bytes& b) { b[54] = 4; }), "unknown state 4"},
        {Edited(save, [](Bytes& b) { b[61] = 0x7F; }), "where its state can hold it: slot 0"},
        {Edited(save, [](Bytes& b) { b[6] ^= 1; }), ""},
        {Edited(save, [](Bytes& b) { b.insert(b.end() - 4, 0); }), "past its end"},
    };
    for (const auto& [text, reason] : faults) {
        Replay replay;
        const std::string wrong = LoadGame(text, replay);
        if (*reason == '\0') {
            // Another random state is a game the save could hold.
            EXPECT_EQ("", wrong);
            continue;
        }
        EXPECT_NE(std::string::npos, wrong.find(reason)) << wrong;
        EXPECT_EQ(0, CountState(CoinOnPusher) + CountState(CoinOnField));
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
    ASSERT_EQ("", ReadReplayCode(code, read));
    EXPECT_EQ(KeysList(replay), KeysList(read));

    std::string damaged = code;
    damaged[code.size() / 2] = damaged[code.size() / 2] == 'A' ? 'B' : 'A';
    Replay pastItsEnd{3, {{2, true}, {4, false}, {5, true}}};
    Bytes pastBytes{REPLAY_CODE_VERSION};
    PutPresses(pastBytes, pastItsEnd);
    PutChecksum(pastBytes);
    Bytes otherVersion;
    FromBase64Url(code, otherVersion);
    otherVersion[0] = 2;
    const std::pair<std::string, const char*> faults[] = {
        {damaged, "checksum"},
        {std::string(REPLAY_CODE_MAX_LENGTH + 1, 'A'), "longer than"},
        {Base64Url(otherVersion), "version 2"},
        {Base64Url(pastBytes), "press at tick 5, past its end (3 ticks"},
        {"AQ%UC", "not base64url"},
        {"", "empty"},
    };
    for (const auto& [text, reason] : faults)
        EXPECT_NE(std::string::npos, ReadReplayCode(text, read).find(reason)) << reason;
}
