// The browser shell: the page's window, its 200 ms tick, the arrow keys, the menu commands and
// the About box. The page script (vorkelm-page.js) shows and hides the elements; what happens
// to the game is decided here, as the Windows window procedure decides it.
#include "app/shell.h"
#include "canvas/canvas_web.h"
#include "game/game.h"
#include "tools/state_dump.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>
#include <string>

namespace {

// How long the first tick waits for the page's pictures: a slow server gets a late picture
// rather than a late game.
constexpr double PICTURE_WAIT_MS = 3000;
constexpr double PICTURE_POLL_MS = 20;

// The page's canvas elements stand for the two windows.
char g_mainWindow[] = "client";
char g_aboutWindow[] = "about-band";

double g_pictureDeadline = 0;
long g_ticks = 0;
// Every press that reached the game, in the replay runner's --keys syntax.
std::string g_keys;
long g_gameTimer = 0;
long g_bandTimer = 0;
bool g_aboutOpen = false;
bool g_ended = false;

void OnTimer(void*)
{
    game::GameTick(g_mainWindow);
    ++g_ticks;
}

// The game's timer starts once the pictures have arrived or failed, so the first frame is whole.
void StartWhenPicturesArrive(void*)
{
    if (PicturesLoading() > 0 && emscripten_get_now() < g_pictureDeadline) {
        emscripten_set_timeout(StartWhenPicturesArrive, PICTURE_POLL_MS, nullptr);
        return;
    }
    if (!g_ended)
        g_gameTimer = emscripten_set_interval(OnTimer, game::GAME_TICK_MS, nullptr);
}

void OnBandTimer(void*)
{
    g_aboutCanvas.ClearBlack();
    g_aboutCanvas.RequestRepaint(g_aboutWindow);
}

// A press between ticks T-1 and T counts before tick T, as the replay runner delivers it.
void DropCoin(bool right)
{
    if (g_aboutOpen || g_ended)
        return;
    if (!g_keys.empty())
        g_keys += ',';
    g_keys += std::to_string(g_ticks + 1) + (right ? ":R" : ":L");
    game::DropPlayerCoin(right ? game::RightLaneX() : game::LeftLaneX());
}

void OpenAbout()
{
    if (g_aboutOpen || g_ended)
        return;
    g_aboutOpen = true;
    g_aboutCanvas.Setup(g_aboutWindow, ABOUT_CANVAS_WIDTH, ABOUT_CANVAS_HEIGHT);
    g_bandTimer = emscripten_set_interval(OnBandTimer, ABOUT_BAND_REDRAW_MS, nullptr);
    EM_ASM(Module.page.showAbout(true));
}

void CloseAbout()
{
    if (!g_aboutOpen)
        return;
    g_aboutOpen = false;
    emscripten_clear_interval(g_bandTimer);
    EM_ASM(Module.page.showAbout(false));
}

// As closing the window ends the process: no more ticks; a reload starts a new game.
void Exit()
{
    CloseAbout();
    g_ended = true;
    emscripten_clear_interval(g_gameTimer);
    EM_ASM(Module.page.showEnded());
}

bool Is(const char* a, const char* b)
{
    return std::strcmp(a, b) == 0;
}

// Every key-down counts, auto-repeat included. Alt with "/" or "?" is the About accelerator;
// the key's code covers keyboards where Alt changes the character. Other keys are left to the
// browser.
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
    if (event->altKey && (Is(event->key, "/") || Is(event->key, "?") || Is(event->code, "Slash"))) {
        OpenAbout();
        return EM_TRUE;
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

EMSCRIPTEN_KEEPALIVE long vorkelm_ticks()
{
    return g_ticks;
}

EMSCRIPTEN_KEEPALIVE const char* vorkelm_keys()
{
    return g_keys.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* vorkelm_dump()
{
    static std::string dump;
    dump = StateDump(g_ticks);
    return dump.c_str();
}

} // extern "C"

int main()
{
    game::SetStartValues();
    g_mainCanvas.Setup(g_mainWindow, MAIN_CANVAS_WIDTH, MAIN_CANVAS_HEIGHT);
    g_pictureDeadline = emscripten_get_now() + PICTURE_WAIT_MS;
    StartWhenPicturesArrive(nullptr);
    game::SetupTable();
    ListenForSoundGesture();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKeyDown);
    EM_ASM(Module.page.started());
    return 0;
}
