// vorkelm-sim: replays the game natively. It lays out the table, runs N ticks with the given key
// presses between them (or the ticks and presses of a replay code), and prints what the game
// asked of the platform and where it ended up.
//
//   vorkelm-sim --ticks N [--keys T:R,T:L,...] [--hold K] [--credit C] [--dump] [--trace]
//               [--check]
//   vorkelm-sim --replay CODE [--dump] [--trace] [--check]
#include "canvas/canvas_record.h"
#include "game/game.h"
#include "game/replay.h"
#include "game/state_dump.h"
#include "tools/invariants.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The longest replay, twice the long soak: the heaviest tick (a full table, --check and --trace)
// takes about 5 ms, so no run takes more than about 20 minutes, or 40 under the sanitizers.
constexpr long MAX_TICKS = 200000;
// Counts of nine digits at most, so that they fit the game's int.
constexpr long MAX_COUNT = 999999999;

using game::KeyPress;

struct Options {
    long ticks = -1;
    std::vector<KeyPress> keys;
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
                 "       vorkelm-sim --replay CODE [--dump] [--trace] [--check]\n"
                 "       vorkelm-sim --help\n"
                 "  --ticks N   run N ticks (0 <= N <= %ld) after laying out the table\n"
                 "  --keys LIST key presses: T:R (Right) or T:L (Left), delivered before tick T\n"
                 "              (1 <= T <= N); several for one T in list order\n"
                 "  --hold K    before every tick, K presses alternating Right and Left, as a\n"
                 "              player holding both keys (after the --keys of that tick)\n"
                 "  --credit C  start with C coins of credit instead of none (a rig for soaks)\n"
                 "  --replay CODE  the ticks and presses of a replay code (the part after\n"
                 "              #replay= of a shared link), instead of --ticks and --keys\n"
                 "  --dump      print the game state after the last tick\n"
                 "  --trace     print every platform call of every tick\n"
                 "  --check     check the game's invariants after every tick; on the first broken\n"
                 "              one print it and exit 1; at the end print what the run did\n"
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

// A replay code stands for --ticks and --keys; a bad one is named and refused like a bad option.
void ReadReplay(const std::string& code, Options& options)
{
    game::Replay replay;
    const std::string wrong = game::ReadReplayCode(code, replay);
    if (!wrong.empty()) {
        std::fprintf(stderr, "vorkelm-sim: --replay: %s\n", wrong.c_str());
        std::exit(2);
    }
    if (replay.ticks > MAX_TICKS) {
        std::fprintf(stderr, "vorkelm-sim: --replay: the code holds %ld ticks; at most %ld run\n",
                     static_cast<long>(replay.ticks), MAX_TICKS);
        std::exit(2);
    }
    options.ticks = replay.ticks;
    options.keys = replay.presses;
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
                   arg == "--replay") {
            if (a + 1 >= argc)
                Usage(arg + " needs a value");
            const std::string value = argv[++a];
            if (arg == "--ticks") {
                options.ticks = CountOption(arg, value, MAX_TICKS);
            } else if (arg == "--hold") {
                options.hold = CountOption(arg, value, MAX_COUNT);
            } else if (arg == "--credit") {
                options.credit = CountOption(arg, value, MAX_COUNT);
            } else if (arg == "--replay") {
                replayGiven = true;
                replayCode = value;
            } else {
                keysGiven = true;
                ParseKeys(value, options.keys);
            }
        } else {
            Usage("unknown option '" + arg + "'");
        }
    }
    if (replayGiven) {
        if (options.ticks >= 0 || keysGiven || options.hold > 0 || options.credit > 0)
            Usage("--replay plays its code's own game: leave out --ticks, --keys, --hold and "
                  "--credit");
        ReadReplay(replayCode, options);
        return options;
    }
    if (options.ticks < 0)
        Usage("--ticks is required");
    if (keysGiven) {
        for (const KeyPress& press : options.keys) {
            if (press.tick < 1 || press.tick > options.ticks)
                Usage("a key press tick must lie from 1 to the number of ticks");
        }
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

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);

    game::SetStartValues();
    game::SetupTable();
    game::credit = static_cast<int>(options.credit);
    CallLog& calls = RecordedCalls();
    calls.Clear();

    // Presses of one tick keep their list order.
    std::vector<KeyPress> keys = options.keys;
    std::stable_sort(keys.begin(), keys.end(),
                     [](const KeyPress& a, const KeyPress& b) { return a.tick < b.tick; });
    InvariantChecker checker;
    int mostCoins = game::CoinsOnTable();
    // Whether the press took a credit and dropped a coin.
    auto press = [&](bool right) {
        checker.BeforeKeyPress();
        const int creditBefore = game::credit;
        game::DropPlayerCoin(right ? game::RightLaneX() : game::LeftLaneX());
        checker.AfterKeyPress();
        return game::credit < creditBefore;
    };

    std::size_t nextKey = 0;
    for (long tick = 1; tick <= options.ticks; ++tick) {
        for (; nextKey < keys.size() && keys[nextKey].tick == tick; ++nextKey)
            press(keys[nextKey].right);
        // A press that drops nothing (no credit, or every slot taken) leaves the game as it was,
        // so the rest of the held presses of this tick would drop nothing either: skipping them
        // keeps a large --hold on a full table from searching all slots for every press.
        for (long k = 0; k < options.hold; ++k) {
            if (!press(k % 2 == 0))
                break;
        }
        game::GameTick(nullptr);
        if (options.trace) {
            std::printf("tick %ld\n", tick);
            for (const RecordedCall& call : calls.Calls())
                PrintCall(call);
            ExitIfOutputFailed();
        }
        if (options.check) {
            const std::string broken = checker.AfterTick(calls);
            if (!broken.empty()) {
                std::printf("tick %ld: invariant broken: %s\n", tick, broken.c_str());
                return 1;
            }
            mostCoins = std::max(mostCoins, game::CoinsOnTable());
        }
        calls.Clear();
    }
    // A replay's presses after its last tick wait for the next; the game as it stands has them.
    for (; nextKey < keys.size(); ++nextKey)
        press(keys[nextKey].right);
    if (options.dump)
        std::fputs(game::StateDump(options.ticks).c_str(), stdout);
    if (options.check) {
        std::printf("check: %ld ticks, invariants held; paid out %lld, caught %lld, lotteries %lld, "
                    "dropped %lld, released %lld, most coins in play %d\n",
                    options.ticks, checker.PaidOut(), checker.Caught(), checker.Lotteries(),
                    checker.Dropped(), checker.Released(), mostCoins);
    }
    ExitIfOutputFailed();
    return 0;
}
