// The browser shell: the page's window, its 200 ms tick, the arrow keys, the menu commands and
// the About box, the saved game and the playing back of shared replays. The page's modules show
// and hide the elements and keep the save; what happens to the game is decided here, as the
// Windows window procedure decides it.
#include "app/shell.h"
#include "canvas/canvas_web.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "game/state_dump.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>
#include <string>

namespace {

// How long the first tick waits for the page's pictures, so that the first frame is whole even on
// a slow link; a server that sends nothing for this long gets a game without them.
constexpr double PICTURE_WAIT_MS = 60000;
constexpr double PICTURE_POLL_MS = 20;

// The page's canvas elements stand for the two windows.
char g_mainWindow[] = "client";
char g_aboutWindow[] = "about-band";

// A replay's jump to its end runs ticks in slices of this long, so the page stays responsive.
constexpr double JUMP_SLICE_MS = 40;

// The longest replay the page plays back: about 23 days of play without a pause, which a jump
// runs through in minutes. A longer code is refused at once rather than keeping the page busy
// for hours; vorkelm-sim plays any code.
constexpr int64_t REPLAY_TICKS_LIMIT = 10000000;

double g_pictureDeadline = 0;
// The game's ticks and every press that reached it since its first tick, across reloads.
game::Replay g_game;
long g_gameTimer = 0;
long g_bandTimer = 0;
bool g_aboutOpen = false;
bool g_ended = false;
// While another tab plays the kept game, this page holds its own still: no ticks, no presses.
bool g_held = false;
// The game timer runs, or would but for the hold.
bool g_ticking = false;

// While a shared replay plays back: its ticks and presses, and how many ticks each timer tick
// runs.
game::ReplayPlayer g_replay;
bool g_replaying = false;
int g_replaySpeed = 1;
bool g_jumping = false;
long g_jumpTimeout = 0;

// The text the page last handed over (vorkelm_text_buffer), and what the module found wrong with
// the last one it refused.
std::string g_textIn;
game::Refusal g_refusal;

// What the game tells the page: each call is a function of the page's bridge
// (web/vorkelm-bridge.js), which the loader hands the module as Module.page.
// Before the first tick: the page continues a saved game or starts a shared replay.
EM_JS(void, PageStarting, (), { Module.page.starting(); });
// The game runs and takes the page's commands.
EM_JS(void, PageStarted, (), { Module.page.started(); });
// The loading screen stays until the game shows something: its first frame, or the message of a
// game ended before it. A continued game's tick count says nothing about that. Telling the page
// again changes nothing.
EM_JS(void, PageShown, (), { Module.page.shown(); });
// A frame was shown: the credit or a replay's place may have changed.
EM_JS(void, PageTicked, (), { Module.page.ticked(); });
EM_JS(void, PageAbout, (int open), { Module.page.about(open); });
EM_JS(void, PageEnded, (), { Module.page.ended(); });
EM_JS(void, PagePlaying, (), { Module.page.playing(); });

// The ticks a replay runs between the frames it shows are neither seen nor heard.
void HideTicks(bool hidden)
{
    PauseDrawing(hidden);
    SilenceSound(hidden);
}

// A game stops at the most ticks a game counts, years after any player would have.
void Tick()
{
    if (g_game.ticks >= game::GAME_TICKS_LIMIT)
        return;
    game::GameTick(g_mainWindow);
    ++g_game.ticks;
}

bool ReplayAtEnd()
{
    return g_replay.AtEnd();
}

// A replay's press reaches the game as the key's did, and becomes the viewer's game's too.
void ReplayPress(const game::KeyPress& press)
{
    g_game.presses.push_back(press);
    game::PressArrowKey(press.right);
}

void ReplayTick()
{
    g_replay.PlayTick(ReplayPress, Tick);
    g_replay.PlayPressesAfterEnd(ReplayPress);
}

// Runs up to `count` ticks of the replay, drawing and sounding only the last.
void ReplayTicks(int count)
{
    HideTicks(true);
    for (; count > 1 && g_replay.Ticks() - g_replay.Played() > 1; --count)
        ReplayTick();
    HideTicks(false);
    if (!ReplayAtEnd())
        ReplayTick();
}

void OnTimer(void*)
{
    if (!g_replaying)
        Tick();
    else if (!g_jumping)
        ReplayTicks(g_replaySpeed);
    PageTicked();
}

// A jump runs as many ticks as fit in a slice and shows the last, so the page stays responsive
// and the table is seen racing to the end.
void JumpSlice(void*)
{
    const double sliceEnd = emscripten_get_now() + JUMP_SLICE_MS;
    HideTicks(true);
    while (g_replaying && !g_ended && g_replay.Ticks() - g_replay.Played() > 1 &&
           emscripten_get_now() < sliceEnd)
        ReplayTick();
    HideTicks(false);
    if (g_replaying && !g_ended && !ReplayAtEnd())
        ReplayTick();
    g_jumping = g_replaying && !g_ended && !ReplayAtEnd();
    if (g_jumping)
        g_jumpTimeout = emscripten_set_timeout(JumpSlice, 0, nullptr);
    PageTicked();
}

void StopJump()
{
    g_jumping = false;
    emscripten_clear_timeout(g_jumpTimeout);
}

// One game timer at most, however a new game, the picture wait and a hold meet.
void StartGameTimer()
{
    emscripten_clear_interval(g_gameTimer);
    g_ticking = true;
    if (!g_held)
        g_gameTimer = emscripten_set_interval(OnTimer, game::GAME_TICK_MS, nullptr);
}

// The game's timer starts once the pictures have arrived or failed, so the first frame is whole.
// That frame is drawn at once: the loading screen has been shown long enough.
void StartWhenPicturesArrive(void*)
{
    if (PicturesLoading() > 0 && emscripten_get_now() < g_pictureDeadline) {
        emscripten_set_timeout(StartWhenPicturesArrive, PICTURE_POLL_MS, nullptr);
        return;
    }
    if (!g_ended) {
        StartGameTimer();
        OnTimer(nullptr);
        PageShown();
    }
}

void OnBandTimer(void*)
{
    g_aboutCanvas.ClearBlack();
    g_aboutCanvas.RequestRepaint(g_aboutWindow);
}

// A press between ticks T-1 and T counts before tick T, as the replay runner delivers it. A
// replay plays its own presses.
void DropCoin(bool right)
{
    if (g_aboutOpen || g_ended || g_replaying || g_held)
        return;
    g_game.presses.push_back(game::KeyPress{g_game.ticks + 1, right});
    game::PressArrowKey(right);
}

// The page shows only the client area's corner of the game's canvas, so only that much is kept
// here: a tick clears and shows a sixth of the pixels it would, and the same ones reach the screen.
void SetUpMainCanvas()
{
    g_mainCanvas.Setup(g_mainWindow, CLIENT_WIDTH, CLIENT_HEIGHT);
}

// The table of a fresh page, with no ticks and no presses yet.
void SetUpNewGame()
{
    game::ResetGame();
    game::SetStartValues();
    game::SetupTable();
    g_game = game::Replay{};
    g_replaying = false;
    StopJump();
}

void OpenAbout()
{
    if (g_aboutOpen || g_ended)
        return;
    g_aboutOpen = true;
    g_aboutCanvas.Setup(g_aboutWindow, ABOUT_CANVAS_WIDTH, ABOUT_CANVAS_HEIGHT);
    g_bandTimer = emscripten_set_interval(OnBandTimer, ABOUT_BAND_REDRAW_MS, nullptr);
    PageAbout(1);
}

void CloseAbout()
{
    if (!g_aboutOpen)
        return;
    g_aboutOpen = false;
    emscripten_clear_interval(g_bandTimer);
    PageAbout(0);
}

// As closing the window ends the process: no more ticks, until the page asks for a new game.
void Exit()
{
    CloseAbout();
    g_ended = true;
    g_ticking = false;
    emscripten_clear_interval(g_gameTimer);
    PageEnded();
    PageShown();
}

bool Is(const char* a, const char* b)
{
    return std::strcmp(a, b) == 0;
}

// Every key-down counts, auto-repeat included. The page takes the menus' keys and the About
// accelerators before they come here (web/vorkelm-menus.js); other keys are left to the browser.
EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* event, void*)
{
    if (g_ended)
        return EM_FALSE;
    if (g_aboutOpen) {
        // The dialog has the keys: Enter is OK, Esc is Cancel, the arrows drop nothing.
        if (Is(event->key, "Enter") || Is(event->key, "Escape")) {
            CloseAbout();
            return EM_TRUE;
        }
        return Is(event->key, "ArrowLeft") || Is(event->key, "ArrowRight");
    }
    if (Is(event->key, "ArrowRight") || Is(event->key, "ArrowLeft")) {
        DropCoin(Is(event->key, "ArrowRight"));
        return EM_TRUE;
    }
    return EM_FALSE;
}

} // namespace

// What the page's menu, dialog and touch buttons call, and what window.vorkelm reads.
extern "C" {

// While the About box is open only its own commands count: the window behind a modal dialog
// takes no input.
EMSCRIPTEN_KEEPALIVE void vorkelm_command(int command)
{
    if (g_aboutOpen && command != DIALOG_OK && command != DIALOG_CANCEL)
        return;
    if (command == IDM_ABOUT)
        OpenAbout();
    else if (command == IDM_EXIT)
        Exit();
    else if (command == DIALOG_OK || command == DIALOG_CANCEL)
        CloseAbout();
}

// The page names its pictures before the game starts.
EMSCRIPTEN_KEEPALIVE void vorkelm_preload(const char* pictureFile)
{
    PreloadPicture(pictureFile);
}

EMSCRIPTEN_KEEPALIVE void vorkelm_press(int right)
{
    DropCoin(right != 0);
}

// A fresh game, exactly as the page's load starts one: what a new process would be.
EMSCRIPTEN_KEEPALIVE void vorkelm_new_game()
{
    CloseAbout();
    SetUpNewGame();
    SetUpMainCanvas();
    g_ended = false;
    StartGameTimer();
    PagePlaying();
}

// Holds the game still while another tab plays it, or lets it go on.
EMSCRIPTEN_KEEPALIVE void vorkelm_hold(int held)
{
    g_held = held != 0;
    if (g_held)
        emscripten_clear_interval(g_gameTimer);
    else if (g_ticking)
        StartGameTimer();
}

// After the end, the game that ended goes on exactly where it stood, as if it had never stopped.
EMSCRIPTEN_KEEPALIVE void vorkelm_continue()
{
    if (!g_ended)
        return;
    g_ended = false;
    StartGameTimer();
    PagePlaying();
}

// What the page announces to screen readers.
EMSCRIPTEN_KEEPALIVE int vorkelm_credit()
{
    return game::credit;
}

// A JavaScript number holds every tick count exactly.
EMSCRIPTEN_KEEPALIVE double vorkelm_ticks()
{
    return static_cast<double>(g_game.ticks);
}

EMSCRIPTEN_KEEPALIVE const char* vorkelm_keys()
{
    static std::string keys;
    keys = game::KeysList(g_game);
    return keys.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* vorkelm_dump()
{
    static std::string dump;
    dump = game::StateDump(g_game.ticks);
    return dump.c_str();
}

// Texts from the page (a save, a replay code) come through this buffer: the page writes
// `length` characters at the address returned, then calls the function that reads them.
EMSCRIPTEN_KEEPALIVE char* vorkelm_text_buffer(int length)
{
    g_textIn.assign(static_cast<std::size_t>(length < 0 ? 0 : length), '\0');
    return g_textIn.data();
}

// The game as it stands, as text to keep.
EMSCRIPTEN_KEEPALIVE const char* vorkelm_save()
{
    static std::string save;
    save = game::SaveGame(g_game);
    return save.c_str();
}

// Continues the saved game in the text buffer; returns "" or what is wrong with it (in English;
// vorkelm_refusal_kind says which kind of fault), and then the game goes on as it was.
EMSCRIPTEN_KEEPALIVE const char* vorkelm_load()
{
    g_refusal = game::LoadGame(g_textIn, g_game);
    if (!g_refusal.Refused())
        g_replaying = false;
    return g_refusal.detail.c_str();
}

// The code of the game so far, for a shared link.
EMSCRIPTEN_KEEPALIVE const char* vorkelm_replay_code()
{
    static std::string code;
    code = game::ReplayCode(g_game);
    return code.c_str();
}

// Starts playing back the replay code in the text buffer from tick 1; returns "" or what is
// wrong with the code (as vorkelm_load), and then the game is left as it was.
EMSCRIPTEN_KEEPALIVE const char* vorkelm_start_replay()
{
    game::Replay replay;
    g_refusal = game::ReadReplayCode(g_textIn, replay);
    if (!g_refusal.Refused() && replay.ticks > REPLAY_TICKS_LIMIT) {
        g_refusal = game::Refuse(game::RefusalTooLong,
                                 "the replay runs " + std::to_string(replay.ticks) +
                                     " ticks, more than the page plays back (" +
                                     std::to_string(REPLAY_TICKS_LIMIT) + ")");
    }
    if (g_refusal.Refused())
        return g_refusal.detail.c_str();
    SetUpNewGame();
    g_replay = game::ReplayPlayer(std::move(replay));
    g_replaying = true;
    g_replaySpeed = 1;
    g_replay.PlayPressesAfterEnd(ReplayPress);
    return g_refusal.detail.c_str();
}

// The kind of fault of the last save or code that vorkelm_load or vorkelm_start_replay refused,
// a game::RefusalKind (game/refusal.h), for the page to word; 0 when the last one was used.
EMSCRIPTEN_KEEPALIVE int vorkelm_refusal_kind()
{
    return g_refusal.kind;
}

// The replay's length in ticks, or -1 when no replay plays.
EMSCRIPTEN_KEEPALIVE double vorkelm_replay_length()
{
    return g_replaying ? static_cast<double>(g_replay.Ticks()) : -1;
}

EMSCRIPTEN_KEEPALIVE void vorkelm_replay_speed(int ticksPerTick)
{
    g_replaySpeed = ticksPerTick < 1 ? 1 : ticksPerTick;
}

EMSCRIPTEN_KEEPALIVE void vorkelm_replay_jump()
{
    if (g_replaying && !g_jumping) {
        g_jumping = true;
        JumpSlice(nullptr);
    }
}

// The jump stops where it stands; the replay plays on at its speed from there.
EMSCRIPTEN_KEEPALIVE void vorkelm_replay_stop_jump()
{
    StopJump();
}

EMSCRIPTEN_KEEPALIVE int vorkelm_replay_jumping()
{
    return g_jumping ? 1 : 0;
}

// The page refuses a longer fragment before handing it over.
EMSCRIPTEN_KEEPALIVE double vorkelm_replay_code_max_length()
{
    return static_cast<double>(game::REPLAY_CODE_MAX_LENGTH);
}

// At a replay's end the viewer takes the game over as their own; returns whether it did.
EMSCRIPTEN_KEEPALIVE int vorkelm_play_from_here()
{
    if (!g_replaying || !ReplayAtEnd())
        return 0;
    g_replaying = false;
    return 1;
}

} // extern "C"

int main()
{
    game::SetStartValues();
    SetUpMainCanvas();
    game::SetupTable();
    // Before the first tick the page continues a saved game or starts a shared replay.
    PageStarting();
    g_pictureDeadline = emscripten_get_now() + PICTURE_WAIT_MS;
    StartWhenPicturesArrive(nullptr);
    ListenForSoundGesture();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKeyDown);
    PageStarted();
    return 0;
}
