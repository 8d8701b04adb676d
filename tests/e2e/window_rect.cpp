// window-rect CLASS: prints the outer size of the first window of that class, then the screen
// position and the size of its client area. Under Wine without a window manager the X window
// holds only the menu bar and the client area, so X cannot tell the outer size.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: window-rect CLASS\n");
        return 2;
    }
    const HWND window = FindWindowA(argv[1], nullptr);
    if (!window) {
        std::fprintf(stderr, "window-rect: no window of class %s\n", argv[1]);
        return 1;
    }
    RECT outer;
    GetWindowRect(window, &outer);
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld %ld %ld %ld %ld\n", outer.right - outer.left, outer.bottom - outer.top, origin.x,
                origin.y, client.right, client.bottom);
    return 0;
}
