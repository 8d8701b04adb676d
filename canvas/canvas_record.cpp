// Recording backend of the canvas and the wave player, for native builds.
#include "canvas/canvas.h"
#include "canvas/canvas_record.h"

#include <cstring>

namespace {

CallLog g_log;

void CopyText(char* to, std::size_t size, const char* from)
{
    std::strncpy(to, from ? from : "", size - 1);
    to[size - 1] = '\0';
}

} // namespace

CallLog& RecordedCalls()
{
    return g_log;
}

RecordedCall& CallLog::Add(CallKind kind, const Canvas* canvas)
{
    RecordedCall& call = calls.emplace_back();
    call.kind = kind;
    call.canvas = canvas;
    call.file = "";
    call.mask = "";
    return call;
}

void Canvas::Setup(WindowHandle, int w, int h)
{
    width = w;
    height = h;
    RecordedCall& call = g_log.Add(CallKind::Setup, this);
    call.args[0] = w;
    call.args[1] = h;
}

void Canvas::Present(WindowHandle)
{
    g_log.Add(CallKind::Present, this);
}

void Canvas::RequestRepaint(WindowHandle)
{
    g_log.Add(CallKind::Repaint, this);
}

void Canvas::ClearBlack()
{
    g_log.Add(CallKind::ClearBlack, this);
}

void Canvas::ClearWhite()
{
    g_log.Add(CallKind::ClearWhite, this);
}

void Canvas::PutText(int x, int y, const char* text)
{
    RecordedCall& call = g_log.Add(CallKind::Text, this);
    call.args[0] = x;
    call.args[1] = y;
    call.style[0] = fontHeight;
    call.style[1] = textRed;
    call.style[2] = textGreen;
    call.style[3] = textBlue;
    CopyText(call.text, sizeof call.text, text);
}

namespace {

RecordedCall& RecordShape(CallLog& log, CallKind kind, const Canvas* canvas, int a, int b, int c, int d,
                 int penWidth, int red, int green, int blue)
{
    RecordedCall& call = log.Add(kind, canvas);
    call.args[0] = a;
    call.args[1] = b;
    call.args[2] = c;
    call.args[3] = d;
    call.style[0] = penWidth;
    call.style[1] = red;
    call.style[2] = green;
    call.style[3] = blue;
    return call;
}

} // namespace

void Canvas::DrawLine(int x1, int y1, int x2, int y2)
{
    RecordShape(g_log, CallKind::Line, this, x1, y1, x2, y2, penWidth, penRed, penGreen, penBlue);
}

void Canvas::DrawRect(int left, int top, int right, int bottom)
{
    RecordShape(g_log, CallKind::Rect, this, left, top, right, bottom, penWidth, penRed, penGreen,
                penBlue);
}

void Canvas::DrawEllipse(int left, int top, int right, int bottom)
{
    RecordShape(g_log, CallKind::Ellipse, this, left, top, right, bottom, penWidth, penRed,
                penGreen, penBlue);
}

void Canvas::DrawGrid(int x1, int y1, int x2, int y2, int rows, int columns)
{
    RecordedCall& call = RecordShape(g_log, CallKind::Grid, this, x1, y1, x2, y2, penWidth, penRed,
                                     penGreen, penBlue);
    call.args[4] = rows;
    call.args[5] = columns;
}

void Canvas::DrawSprite(int x, int y, const char* imageFile, const char* maskFile, int w, int h)
{
    RecordedCall& call = g_log.Add(CallKind::Sprite, this);
    call.args[0] = x;
    call.args[1] = y;
    call.args[2] = w;
    call.args[3] = h;
    call.file = imageFile;
    call.mask = maskFile;
}

void PlayWave(const char* fileName)
{
    RecordedCall& call = g_log.Add(CallKind::Sound, nullptr);
    call.file = fileName;
}
