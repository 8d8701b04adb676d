#pragma once

// The off-screen drawing surface of the game and the About box, with its text, pen and brush
// settings. The drawing members are implemented three times: on GDI for Windows (canvas_gdi.cpp),
// on a block of pixels for the browser (canvas_web.cpp) and by a recorder for native builds
// (canvas_record.cpp); the game sees only this header.

// A window as the platform knows it (an HWND on Windows). The game only passes it through.
using WindowHandle = void*;

struct GridCell {
    int column;
    int row;
};

struct GridRect {
    int left;
    int top;
    int right;
    int bottom;
};

class Canvas {
public:
    Canvas();

    void Setup(WindowHandle window, int w, int h);
    void Present(WindowHandle window);
    void RequestRepaint(WindowHandle window);

    void ClearBlack();
    void ClearWhite();

    void SetTextStyle(int height, int red, int green, int blue);
    void SetPen(int width, int red, int green, int blue);
    void SetBrush(int red, int green, int blue);

    void PutText(int x, int y, const char* text);
    void DrawLine(int x1, int y1, int x2, int y2);
    void DrawRect(int left, int top, int right, int bottom);
    void DrawEllipse(int left, int top, int right, int bottom);
    void DrawGrid(int x1, int y1, int x2, int y2, int rows, int columns);

    // Draws imageFile through maskFile, both loaded at width by height: (surface OR mask) AND image.
    void DrawSprite(int x, int y, const char* imageFile, const char* maskFile, int width, int height);

    // Grid arithmetic; reads no canvas state.
    static int PointInRect(int x1, int y1, int x2, int y2, int px, int py);
    static GridCell CellAtPoint(int x1, int y1, int x2, int y2, int rows, int columns, int px, int py);
    static GridRect CellRect(int x1, int y1, int x2, int y2, int rows, int columns, int row, int column);

    // The memory device context drawn into (an HDC under GDI), for reading pixels back.
    void* SurfaceContext() const { return memoryDC; }

private:
    // Platform handles (HDC and HBITMAP under GDI); owned from Setup on.
    void* memoryDC = nullptr;
    void* surface = nullptr;

    int width;
    int height;
    int textRed;
    int textGreen;
    int textBlue;
    int fontHeight;
    int penRed;
    int penGreen;
    int penBlue;
    int penWidth;
    int brushRed;
    int brushGreen;
    int brushBlue;
};

// The game's canvas and the About box's, with the sizes their windows set them up at.
extern Canvas g_mainCanvas;
extern Canvas g_aboutCanvas;
constexpr int MAIN_CANVAS_WIDTH = 1200;
constexpr int MAIN_CANVAS_HEIGHT = 800;
constexpr int ABOUT_CANVAS_WIDTH = 500;
constexpr int ABOUT_CANVAS_HEIGHT = 100;

// Starts a wave file playing and returns at once; a new sound cuts off the one playing. In both
// shells, on Windows and in the browser, the same file asked for again less than
// WAVE_RESTART_GAP_MS after its start is not restarted (wave_restarts.h); the recorder keeps
// every call.
void PlayWave(const char* fileName);
