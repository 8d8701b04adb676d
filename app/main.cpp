// Process entry: loads the window's texts, registers the class, creates the main window and runs
// the message loop with the accelerators until the window is destroyed.
#include "app/main_window.h"
#include "app/resource.h"


HINSTANCE g_instance;
char g_titleText[100];
char g_className[100];

namespace {

// Outer size, frame, caption and menu bar included.
constexpr int WINDOW_WIDTH = 400;
constexpr int WINDOW_HEIGHT = 450;

// The files the game opens by bare name whenever it draws or plays them.
const wchar_t* const ASSET_FILES[] = {
    L"back.bmp", L"base.bmp",  L"basemask.bmp", L"bar.bmp",   L"barmask.bmp", L"top.bmp",
    L"move.bmp", L"movemask.bmp", L"coin.bmp", L"coinmask.bmp", L"coin2.bmp", L"coin2mask.bmp",
    L"s.wav",    L"stop.wav",  L"in.wav",       L"coin.wav",
};

// Paths as long as Windows allows, with room for a file name.
constexpr DWORD LONGEST_PATH = 32768;
wchar_t g_programFolder[LONGEST_PATH];
wchar_t g_assetPath[LONGEST_PATH + 32];

bool HoldsAnAssetFile(const wchar_t* folder)
{
    for (const wchar_t* name : ASSET_FILES) {
        lstrcpyW(g_assetPath, folder);
        lstrcatW(g_assetPath, name);
        const DWORD attributes = GetFileAttributesW(g_assetPath);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
    }
    return false;
}

// A shortcut, a command line or a launcher may start the program in any folder. When that folder
// holds none of the game's files and the program's own folder does, the game reads them from
// there; any folder with files of its own, good or broken, stays the one the game reads. Wide
// calls, so that a folder name outside code page 932 is found too.
void FindAssetFolder()
{
    if (HoldsAnAssetFile(L""))
        return;
    const DWORD length = GetModuleFileNameW(nullptr, g_programFolder, LONGEST_PATH);
    if (length == 0 || length >= LONGEST_PATH)
        return;
    wchar_t* lastSeparator = g_programFolder;
    for (wchar_t* at = g_programFolder; *at; ++at)
        if (*at == L'\\')
            lastSeparator = at;
    lastSeparator[1] = L'\0';
    if (HoldsAnAssetFile(g_programFolder))
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
