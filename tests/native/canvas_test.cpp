// The grid arithmetic of the canvas and what the recording backend keeps of each call.
#include "canvas/canvas.h"
#include "canvas/canvas_record.h"

#include <gtest/gtest.h>

TEST(CanvasGrid, PointInRectCountsAllFourEdges)
{
    const struct {
        int px, py, inside;
    } cases[] = {{0, 0, 1}, {10, 10, 1}, {0, 10, 1}, {5, 5, 1}, {11, 5, 0}, {5, -1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, Canvas::PointInRect(0, 0, 10, 10, c.px, c.py)) << c.px << "," << c.py;
    EXPECT_EQ(0, Canvas::PointInRect(10, 0, 0, 10, 5, 5)); // corners are not reordered
}

TEST(CanvasGrid, CellAtPointTakesTheFarEdgeOfEachCell)
{
    const struct {
        int px, py, column, row;
    } cases[] = {{15, 12, 2, 2}, {10, 10, 1, 1}, {0, 0, 0, 0}, {15, 60, 2, 0}, {100, 50, 10, 5},
                 {101, 51, 0, 0}};
    for (const auto& c : cases) {
        const GridCell cell = Canvas::CellAtPoint(0, 0, 100, 50, 5, 10, c.px, c.py);
        EXPECT_EQ(c.column, cell.column) << c.px << "," << c.py;
        EXPECT_EQ(c.row, cell.row) << c.px << "," << c.py;
    }
    // An uneven axis has an extra cell reaching past its far edge: 0..10 in 3 gives (9, 12].
    EXPECT_EQ(4, Canvas::CellAtPoint(0, 0, 10, 10, 3, 3, 11, 11).column);
}

TEST(CanvasGrid, CellRectOfRowAndColumn)
{
    const struct {
        int row, column, left, top, right, bottom;
    } cases[] = {{2, 3, 20, 10, 30, 20}, {0, 3, 20, 0, 30, 0}, {6, 11, 0, 0, 0, 0},
                 {5, 10, 90, 40, 100, 50}};
    for (const auto& c : cases) {
        const GridRect r = Canvas::CellRect(0, 0, 100, 50, 5, 10, c.row, c.column);
        EXPECT_EQ(c.left, r.left);
        EXPECT_EQ(c.top, r.top);
        EXPECT_EQ(c.right, r.right);
        EXPECT_EQ(c.bottom, r.bottom);
    }
    const GridRect uneven = Canvas::CellRect(0, 0, 10, 10, 3, 3, 4, 4);
    EXPECT_EQ(9, uneven.left);
    EXPECT_EQ(12, uneven.right);
}

TEST(CanvasGrid, TheCellFoundForAPointHoldsIt)
{
    for (int px = 1; px <= 100; px += 7) {
        for (int py = 1; py <= 50; py += 3) {
            const GridCell cell = Canvas::CellAtPoint(0, 0, 100, 50, 5, 10, px, py);
            const GridRect r = Canvas::CellRect(0, 0, 100, 50, 5, 10, cell.row, cell.column);
            EXPECT_TRUE(r.left < px && px <= r.right && r.top < py && py <= r.bottom)
                << px << "," << py;
        }
    }
}

TEST(CanvasGrid, ArgumentsOutsideTheContractFindNoCell)
{
    const GridCell none = Canvas::CellAtPoint(0, 0, 100, 50, 0, -1, 5, 5);
    EXPECT_EQ(0, none.column);
    EXPECT_EQ(0, none.row);
    const GridRect thin = Canvas::CellRect(0, 0, 3, 3, 5, 5, 1, 1); // cells under a pixel
    EXPECT_EQ(0, thin.right);
    EXPECT_EQ(0, thin.bottom);
    const GridCell reversed = Canvas::CellAtPoint(100, 50, 0, 0, 5, 10, 50, 25);
    EXPECT_EQ(0, reversed.column);
    EXPECT_EQ(0, reversed.row);
}

TEST(CanvasRecording, CallsCarryTheSettingsInForceAndClearsKeepThem)
{
    Canvas canvas;
    RecordedCalls().Clear();
    canvas.PutText(1, 2, "a");
    canvas.SetTextStyle(20, 1, 2, 3);
    canvas.SetPen(4, 5, 6, 7);
    canvas.ClearBlack();
    canvas.PutText(3, 4, "b");
    canvas.DrawLine(0, 0, 9, 9);
    const CallLog& calls = RecordedCalls();
    ASSERT_EQ(4u, calls.Size());
    EXPECT_EQ((std::array<int, 4>{15, 255, 0, 0}),
              (std::array<int, 4>{calls[0].style[0], calls[0].style[1], calls[0].style[2],
                                  calls[0].style[3]}));
    EXPECT_EQ(20, calls[2].style[0]);
    EXPECT_EQ(3, calls[2].style[3]);
    EXPECT_EQ(4, calls[3].style[0]);
    EXPECT_EQ(7, calls[3].style[3]);
}
