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
