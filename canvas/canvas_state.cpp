// The parts of the canvas that every backend shares: defaults, the stored drawing settings and
// the grid arithmetic.
#include "canvas/canvas.h"

// Constructed in this order during static initialisation.
Canvas g_mainCanvas;
Canvas g_aboutCanvas;

Canvas::Canvas()
{
    width = 1200;
    height = 800;
    SetTextStyle(15, 255, 0, 0);
    SetPen(1, 255, 0, 0);
    SetBrush(255, 0, 0);
}

void Canvas::SetTextStyle(int h, int red, int green, int blue)
{
    fontHeight = h;
    textRed = red;
    textGreen = green;
    textBlue = blue;
}

void Canvas::SetPen(int w, int red, int green, int blue)
{
    penWidth = w;
    penRed = red;
    penGreen = green;
    penBlue = blue;
}

void Canvas::SetBrush(int red, int green, int blue)
{
    brushRed = red;
    brushGreen = green;
    brushBlue = blue;
}

int Canvas::PointInRect(int x1, int y1, int x2, int y2, int px, int py)
{
    if (px < x1 || px > x2 || py < y1 || py > y2)
        return 0;
    return 1;
}

namespace {

// A grid axis with no cells, or cells under a pixel, has nothing to find.
bool AxisHasCells(int from, int to, int cells)
{
    return cells >= 1 && to - from >= cells;
}

// Cell k spans (start, start + spacing]; the walk goes on while a cell's start lies below `to`.
int CellOnAxis(int from, int to, int cells, int point)
{
    if (!AxisHasCells(from, to, cells))
        return 0;
    const int spacing = (to - from) / cells;
    int found = 0;
    int k = 0;
    for (int at = from; at < to; at += spacing) {
        ++k;
        if (at < point && point <= at + spacing)
            found = k;
    }
    return found;
}

void CellSpanOnAxis(int from, int to, int cells, int wanted, int& start, int& end)
{
    start = 0;
    end = 0;
    if (!AxisHasCells(from, to, cells))
        return;
    const int spacing = (to - from) / cells;
    int k = 0;
    for (int at = from; at < to; at += spacing) {
        ++k;
        if (k == wanted) {
            start = at;
            end = at + spacing;
        }
    }
}

} // namespace

GridCell Canvas::CellAtPoint(int x1, int y1, int x2, int y2, int rows, int columns, int px, int py)
{
    return {CellOnAxis(x1, x2, columns, px), CellOnAxis(y1, y2, rows, py)};
}

GridRect Canvas::CellRect(int x1, int y1, int x2, int y2, int rows, int columns, int row, int column)
{
    GridRect r;
    CellSpanOnAxis(y1, y2, rows, row, r.top, r.bottom);
    CellSpanOnAxis(x1, x2, columns, column, r.left, r.right);
    return r;
}
