#include "game/game.h"

#include <cstdio>

namespace game {

namespace {

struct MachineLayer {
    const char* image;
    const char* mask;
    int x;
    int y;
    int width;
    int height;
};

// Back to front; the same file as image and mask draws a layer opaque.
void DrawMachine()
{
    const MachineLayer layers[] = {
        {"back.bmp", "back.bmp", originX + 1, originY - 130, 215, 368},
        {"base.bmp", "basemask.bmp", originX, originY, 217, 240},
        {"bar.bmp", "barmask.bmp", originX + 14 - pusherSpread, originY + 4 * pusherReach + 20,
         189 + 2 * pusherSpread, 103 + 4 * pusherReach},
        {"top.bmp", "top.bmp", originX + 26, originY - 130, 165, 162},
        {"move.bmp", "movemask.bmp", originX + catcherOffset + 26, originY + catcherOffsetY - 10, 25,
         20},
    };
    for (const MachineLayer& layer : layers)
        g_mainCanvas.DrawSprite(layer.x, layer.y, layer.image, layer.mask, layer.width, layer.height);
}

void DrawHeadUpText()
{
    g_mainCanvas.SetTextStyle(14, 255, 255, 255);
    g_mainCanvas.PutText(5, 10, "Vorkelm");
    char text[200];
    std::snprintf(text, sizeof text, "%d枚", credit);
    g_mainCanvas.SetTextStyle(16, 255, 255, 255);
    g_mainCanvas.PutText(5, 50, text);
}

// Drawn clockwise from the top left corner, around the cell the lottery left the lamp on.
void DrawLampSquare()
{
    const int dx = 17 * lampCol;
    const int dy = 17 * lampRow;
    const int left = lampLeft + dx;
    const int top = lampTop + dy;
    const int right = lampRight + dx;
    const int bottom = lampBottom + dy;
    g_mainCanvas.DrawLine(left, top, right, top);
    g_mainCanvas.DrawLine(right, top, right, bottom);
    g_mainCanvas.DrawLine(right, bottom, left, bottom);
    g_mainCanvas.DrawLine(left, bottom, left, top);
}

} // namespace

void GameTick(WindowHandle window)
{
    g_mainCanvas.ClearBlack();
    ReleaseOwedCoins();
    PusherStep();
    CatcherStep();
    DrawMachine();
    DrawHeadUpText();
    g_mainCanvas.SetPen(3, 255, 255, 0);
    LotteryStep();
    DrawLampSquare();
    CoinPass();
    g_mainCanvas.RequestRepaint(window);
}

} // namespace game
