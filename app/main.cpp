// Process entry: loads the window's texts, registers the class, creates the main window and runs
// the message loop with the accelerators until the window is destroyed.
#include "app/main_window.h"
#include "app/resource.h"
#include "game/assets.h"


HINSTANCE g_instance;
char g_titleText[100];
char g_className[100];

namespace {

// Outer size, frame, caption and menu bar included.
constexpr int WINDOW_WIDTH = 400;
constexpr int WINDOW_HEIGHT = 450;

// Paths as long as Windows allows, with room for a file name.
constexpr DWORD LONGEST_PATH = 32768;
wchar_t g_programFolder[LONGEST_PATH];
wchar_t g_assetPath[LONGEST_PATH + 32];

// Whether `folder` ("" for the current one, else ending in a backslash) holds every asset file.
bool HoldsEveryAssetFile(const wchar_t* folder)
{
    const int folderLength = lstrlenW(folder);
    lstrcpyW(g_assetPath, folder);
    for (const char* name : game::ASSET_FILES) {
        // The names are ASCII.
        int at = folderLength;
        for (const char* c = name; *c; ++c)
            g_assetPath[at++] = static_cast<wchar_t>(*c);
        g_assetPath[at] = L'\0';
        const DWORD attributes = GetFileAttributesW(g_assetPath);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    return true;
}

// A shortcut, a command line or a launcher may start the program in any folder, and a folder may
// hold a stray file of the game's by chance. The game reads the folder it starts in when that
// holds the whole set, else the program's own folder when that does; else it stays where it
// started, so that a player's broken or missing files meet the game's own handling. Wide calls,
// so that a folder name outside code page 932 is found too.
void FindAssetFolder()
{
    if (HoldsEveryAssetFile(L""))
        return;
    const DWORD length = GetModuleFileNameW(nullptr, g_programFolder, LONGEST_PATH);
    if (length == 0 || length >= LONGEST_PATH)
        return;
    wchar_t* lastSeparator = g_programFolder;
    for (wchar_t* at = g_programFolder; *at; ++at)
        if (*at == L'\\')
            lastSeparator = at;
    lastSeparator[1] = L'\0';
    if (HoldsEveryAssetFile(g_programFolder))
        SetCurrentDirectoryW(g_programFolder);
}

} // namespace

ATOM RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORKELM));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDC_VORKELM);
    windowClass.lpszClassName = g_className;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL));
    return RegisterClassExA(&windowClass);
}

BOOL CreateMainWindow(HINSTANCE instance, int showCommand)
{
    g_instance = instance;
    // The platform places the window; y is ignored with CW_USEDEFAULT as x.
    HWND window = CreateWindowExA(0, g_className, g_titleText, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                  WINDOW_WIDTH, WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);
    if (!window)
        return FALSE;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    FindAssetFolder();
    LoadStringA(instance, IDS_APP_TITLE, g_titleText, sizeof g_titleText);
    LoadStringA(instance, IDC_VORKELM, g_className, sizeof g_className);
    RegisterMainClass(instance);
    if (!CreateMainWindow(instance, showCommand))
        return 0;

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDC_VORKELM));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // The quit message's code, which WM_DESTROY posts as 0.
    return static_cast<int>(message.wParam);
}
