// vorkelm-sim: replays the game natively. It lays out the table, runs N ticks with the given key
// presses between them (or the ticks and presses of a replay code, or continues a saved game),
// and prints what the game asked of the platform and where it ended up.
//
//   vorkelm-sim --ticks N [--keys T:R,T:L,...] [--hold K] [--credit C] [--dump] [--trace]
//               [--check]
//   vorkelm-sim --replay CODE|- [--dump] [--trace] [--check]
//   vorkelm-sim --load FILE|- [--ticks N] [--dump] [--trace] [--check]
#include "canvas/canvas_record.h"
#include "game/game.h"
#include "game/replay.h"
#include "game/saved_game.h"
#include "game/state_checks.h"
#include "game/state_dump.h"
#include "tools/invariants.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The longest replay, twice the long soak: the heaviest tick (a full table, --check and --trace)
// takes about 5 ms, so no run takes more than about 20 minutes, or 40 under the sanitizers.
constexpr long MAX_TICKS = 200000;
// Counts of nine digits at most: the game's own limit for its credit.
constexpr long MAX_COUNT = game::COUNT_LIMIT;

using game::KeyPress;

struct Options {
    // The game to play: its ticks and presses, or, with --load, a saved game's and N more ticks.
    game::Replay game;
    bool ticksGiven = false;
    std::string load;
    long hold = 0;
    long credit = 0;
    bool dump = false;
    bool trace = false;
    bool check = false;
};

void PrintUsage(std::FILE* to)
{
    std::fprintf(to,
                 "usage: vorkelm-sim --ticks N [--keys T:R,T:L,...] [--hold K] [--credit C]"
                 " [--dump] [--trace] [--check]\n"
                 "       vorkelm-sim --replay CODE|- [--dump] [--trace] [--check]\n"
                 "       vorkelm-sim --load FILE|- [--ticks N] [--dump] [--trace] [--check]\n"
                 "       vorkelm-sim --help\n"
                 "  --ticks N   run N ticks (0 <= N <= %ld) after laying out the table\n"
                 "  --keys LIST key presses: T:R (Right) or T:L (Left), delivered before tick T\n"
                 "              (1 <= T <= N); several for one T in list order\n"
                 "  --hold K    before every tick, K presses alternating Right and Left, as a\n"
                 "              player holding both keys (after the --keys of that tick)\n"
                 "  --credit C  start with C coins of credit instead of none (a rig for soaks)\n"
                 "  --replay CODE  the ticks and presses of a replay code (the part after\n"
                 "              #replay= of a shared link), instead of --ticks and --keys;\n"
                 "              - reads it from standard input\n"
                 "  --load FILE continue the saved game in FILE (- for standard input), as the\n"
                 "              page keeps it, for N more ticks (none without --ticks)\n"
                 "  --dump      print the game state after the last tick\n"
                 "  --trace     print every platform call of every tick\n"
                 "  --check     check the game's invariants after every tick; on the first broken\n"
                 "              one print it and exit 1; at the end print what the run did\n"
                 "A replay code or a save that cannot be used exits 2 with the reason.\n"
                 "A failed write of the output prints why and exits 1.\n",
                 MAX_TICKS);
}

[[noreturn]] void Usage(const std::string& why)
{
    std::fprintf(stderr, "vorkelm-sim: %s\n", why.c_str());
    PrintUsage(stderr);
    std::exit(2);
}

bool ParseCount(const std::string& text, long& value)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

// An option's count, or the usage with the range it takes.
long CountOption(const std::string& option, const std::string& text, long most)
{
    long value = 0;
    if (!ParseCount(text, value) || value > most)
        Usage(option + " takes a whole number from 0 to " + std::to_string(most));
    return value;
}

// Output lost to a full disk must not end as success.
void ExitIfOutputFailed()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return;
    std::fprintf(stderr, "vorkelm-sim: writing the output failed: %s\n", std::strerror(errno));
    std::exit(1);
}

[[noreturn]] void Refused(const std::string& option, const std::string& why)
{
    std::fprintf(stderr, "vorkelm-sim: %s: %s\n", option.c_str(), why.c_str());
    std::exit(2);
}

// The text of a FILE option, - for standard input, without the one newline a file ends with.
std::string ReadText(const std::string& option, const std::string& file)
{
    std::string text;
    if (file == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad())
            Refused(option, "reading standard input failed");
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            Refused(option, "cannot read " + file + ": " + std::strerror(errno));
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad())
            Refused(option, "reading " + file + " failed");
    }
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

// A replay code stands for --ticks and --keys; a bad one is named and refused like a bad option.
void ReadReplay(const std::string& code, Options& options)
{
    const game::Refusal refusal = game::ReadReplayCode(code, options.game);
    if (refusal.Refused())
        Refused("--replay", refusal.detail);
    if (options.game.ticks > MAX_TICKS)
        Refused("--replay", "the code holds " + std::to_string(options.game.ticks) +
                                " ticks; at most " + std::to_string(MAX_TICKS) + " run");
}

void ParseKeys(const std::string& list, std::vector<KeyPress>& keys)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos
                                                                                : comma - start);
        const std::size_t colon = item.find(':');
        long tick = 0;
        if (colon == std::string::npos || !ParseCount(item.substr(0, colon), tick))
            Usage("malformed key press '" + item + "'");
        const std::string key = item.substr(colon + 1);
        if (key != "R" && key != "L")
            Usage("malformed key press '" + item + "'");
        keys.push_back(KeyPress{static_cast<int32_t>(tick), key == "R"});
        if (comma == std::string::npos)
            return;
        start = comma + 1;
    }
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    bool keysGiven = false;
    std::string replayCode;
    bool replayGiven = false;
    bool loadGiven = false;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        if (arg == "--help") {
            PrintUsage(stdout);
            ExitIfOutputFailed();
            std::exit(0);
        } else if (arg == "--dump") {
            options.dump = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--check") {
            options.check = true;
        } else if (arg == "--ticks" || arg == "--keys" || arg == "--hold" || arg == "--credit" ||
                   arg == "--replay" || arg == "--load") {
            if (a + 1 >= argc)
                Usage(arg + " needs a value");
            const std::string value = argv[++a];
            if (arg == "--ticks") {
                options.ticksGiven = true;
                options.game.ticks = CountOption(arg, value, MAX_TICKS);
            } else if (arg == "--hold") {
                options.hold = CountOption(arg, value, MAX_COUNT);
            } else if (arg == "--credit") {
                options.credit = CountOption(arg, value, MAX_COUNT);
            } else if (arg == "--replay") {
                replayGiven = true;
                replayCode = value;
            } else if (arg == "--load") {
                loadGiven = true;
                options.load = value;
            } else {
                keysGiven = true;
                ParseKeys(value, options.game.presses);
            }
        } else {
            Usage("unknown option '" + arg + "'");
        }
    }
    if (replayGiven && loadGiven)
        Usage("--replay and --load each name the whole game: give one of them");
    if (replayGiven) {
        if (options.ticksGiven || keysGiven || options.hold > 0 || options.credit > 0)
            Usage("--replay plays its code's own game: leave out --ticks, --keys, --hold and "
                  "--credit");
        ReadReplay(replayCode == "-" ? ReadText("--replay", "-") : replayCode, options);
        return options;
    }
    if (loadGiven) {
        if (keysGiven || options.hold > 0 || options.credit > 0)
            Usage("--load continues the save's own game: leave out --keys, --hold and --credit");
        return options;
    }
    if (!options.ticksGiven)
        Usage("--ticks is required");
    if (keysGiven) {
        for (const KeyPress& press : options.game.presses) {
            if (press.tick < 1 || press.tick > options.game.ticks)
                Usage("a key press tick must lie from 1 to the number of ticks");
        }
        // Presses of one tick keep their list order.
        std::stable_sort(options.game.presses.begin(), options.game.presses.end(),
                         [](const KeyPress& a, const KeyPress& b) { return a.tick < b.tick; });
    }
    return options;
}

// Text bytes as they are for printable ASCII, \xHH for every other byte.
void PrintEscaped(const char* text)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p >= 0x20 && *p < 0x7F && *p != '\\')
            std::putchar(*p);
        else
            std::printf("\\x%02X", *p);
    }
}

void PrintCall(const RecordedCall& call)
{
    const int* a = call.args;
    const int* s = call.style;
    switch (call.kind) {
    case CallKind::ClearBlack:
        std::printf("clear\n");
        break;
    case CallKind::Sprite:
        std::printf("sprite %s %s %d %d %d %d\n", call.Name(), call.mask, a[0], a[1], a[2], a[3]);
        break;
    case CallKind::Text:
        std::printf("text %d %d %d %d %d %d ", a[0], a[1], s[0], s[1], s[2], s[3]);
        PrintEscaped(call.Name());
        std::putchar('\n');
        break;
    case CallKind::Line:
        std::printf("line %d %d %d %d %d %d %d %d\n", a[0], a[1], a[2], a[3], s[0], s[1], s[2], s[3]);
        break;
    case CallKind::Sound:
        std::printf("sound %s\n", call.Name());
        break;
    case CallKind::Repaint:
        std::printf("repaint\n");
        break;
    default:
        // The game makes no other call; name it rather than hide it.
        std::printf("other %d\n", static_cast<int>(call.kind));
        break;
    }
}

// Lays out the table, or continues the saved game; returns the game to play from there and the
// ticks before it.
game::ReplayPlayer StartGame(const Options& options, int64_t& ticksBefore)
{
    ticksBefore = 0;
    if (options.load.empty()) {
        game::SetStartValues();
        game::SetupTable();
        game::credit = static_cast<int>(options.credit);
        return game::ReplayPlayer(options.game);
    }
    game::Replay saved;
    const game::Refusal refusal = game::LoadGame(ReadText("--load", options.load), saved);
    if (refusal.Refused())
        Refused("--load", refusal.detail);
    if (saved.ticks + options.game.ticks > game::GAME_TICKS_LIMIT)
        Refused("--load", "the game would run past " + std::to_string(game::GAME_TICKS_LIMIT) +
                              " ticks, which no game counts");
    ticksBefore = saved.ticks;
    // The save's presses have all reached the game, those waiting for the next tick too.
    return game::ReplayPlayer(game::Replay{options.game.ticks, {}});
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);

    int64_t ticksBefore = 0;
    game::ReplayPlayer player = StartGame(options, ticksBefore);
    CallLog& calls = RecordedCalls();
    calls.Clear();

    InvariantChecker checker;
    int mostCoins = game::CoinsOnTable();
    // Whether the press took a credit and dropped a coin.
    auto press = [&](bool right) {
        checker.BeforeKeyPress();
        const int creditBefore = game::credit;
        game::PressArrowKey(right);
        checker.AfterKeyPress();
        return game::credit < creditBefore;
    };
    const auto pressKey = [&](const KeyPress& key) { press(key.right); };

    while (!player.AtEnd()) {
        player.PlayTick(pressKey, [&] {
            // A press that drops nothing (no credit, or every slot taken) leaves the game as it
            // was, so the rest of the held presses of this tick would drop nothing either:
            // skipping them keeps a large --hold on a full table from searching all slots for
            // every press.
            for (long k = 0; k < options.hold; ++k) {
                if (!press(k % 2 == 0))
                    break;
            }
            game::GameTick(nullptr);
        });
        const long long tick = ticksBefore + player.Played();
        if (options.trace) {
            std::printf("tick %lld\n", tick);
            for (const RecordedCall& call : calls.Calls())
                PrintCall(call);
            ExitIfOutputFailed();
        }
        if (options.check) {
            const std::string broken = checker.AfterTick(calls);
            if (!broken.empty()) {
                std::printf("tick %lld: invariant broken: %s\n", tick, broken.c_str());
                return 1;
            }
            mostCoins = std::max(mostCoins, game::CoinsOnTable());
        }
        calls.Clear();
    }
    player.PlayPressesAfterEnd(pressKey);
    if (options.dump)
        std::fputs(game::StateDump(ticksBefore + player.Played()).c_str(), stdout);
    if (options.check) {
        std::printf("check: %lld ticks, invariants held; paid out %lld, caught %lld, lotteries "
                    "%lld, dropped %lld, released %lld, most coins in play %d\n",
                    static_cast<long long>(player.Played()), checker.PaidOut(), checker.Caught(),
                    checker.Lotteries(), checker.Dropped(), checker.Released(), mostCoins);
    }
    ExitIfOutputFailed();
    return 0;
}
