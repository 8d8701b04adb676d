// Recording backend of the canvas and the wave player, for native builds.
#include "canvas/canvas.h"
#include "canvas/canvas_record.h"

#include <cstring>
#include <algorithm>
#include <initializer_list>

namespace {

CallLog g_log;

// Records a call with its integer arguments and the settings it draws with, in order.
RecordedCall& Record(CallKind kind, const Canvas* canvas, std::initializer_list<int> args,
                     std::initializer_list<int> style = {})
{
    RecordedCall& call = g_log.Add(kind, canvas);
    std::copy(args.begin(), args.end(), call.args);
    std::copy(style.begin(), style.end(), call.style);
    return call;
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
    Record(CallKind::Setup, this, {w, h});
}

void Canvas::Present(WindowHandle)
{
    Record(CallKind::Present, this, {});
}

void Canvas::RequestRepaint(WindowHandle)
{
    Record(CallKind::Repaint, this, {});
}

void Canvas::ClearBlack()
{
    Record(CallKind::ClearBlack, this, {});
}

void Canvas::ClearWhite()
{
    Record(CallKind::ClearWhite, this, {});
}

void Canvas::PutText(int x, int y, const char* text)
{
    RecordedCall& call =
        Record(CallKind::Text, this, {x, y}, {fontHeight, textRed, textGreen, textBlue});
    std::strncpy(call.text, text, sizeof call.text - 1);
    call.text[sizeof call.text - 1] = '\0';
}

void Canvas::DrawLine(int x1, int y1, int x2, int y2)
{
    Record(CallKind::Line, this, {x1, y1, x2, y2}, {penWidth, penRed, penGreen, penBlue});
}

void Canvas::DrawRect(int left, int top, int right, int bottom)
{
    Record(CallKind::Rect, this, {left, top, right, bottom}, {penWidth, penRed, penGreen, penBlue});
}

void Canvas::DrawEllipse(int left, int top, int right, int bottom)
{
    Record(CallKind::Ellipse, this, {left, top, right, bottom},
           {penWidth, penRed, penGreen, penBlue});
}

void Canvas::DrawGrid(int x1, int y1, int x2, int y2, int rows, int columns)
{
    Record(CallKind::Grid, this, {x1, y1, x2, y2, rows, columns},
           {penWidth, penRed, penGreen, penBlue});
}

void Canvas::DrawSprite(int x, int y, const char* imageFile, const char* maskFile, int w, int h)
{
    RecordedCall& call = Record(CallKind::Sprite, this, {x, y, w, h});
    call.file = imageFile;
    call.mask = maskFile;
}

void PlayWave(const char* fileName)
{
    Record(CallKind::Sound, nullptr, {}).file = fileName;
}
