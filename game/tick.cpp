#include "game/assets.h"
#include "game/game.h"

#include <cstdio>

namespace game {

namespace {

struct MachineLayer {
    const SpriteAsset& sprite;
    int x;
    int y;
    int width;
    int height;
};

// Back to front; the same file as image and mask draws a layer opaque.
void DrawMachine()
{
    const MachineLayer layers[] = {
        {BACK_WALL, originX + 1, originY - 130, BACK_WALL.width, BACK_WALL.height},
        {MACHINE_BASE, originX, originY, MACHINE_BASE.width, MACHINE_BASE.height},
        {PUSHER_BAR, originX + 14 - pusherSpread, originY + 4 * pusherReach + 20,
         PUSHER_BAR.width + 2 * pusherSpread, PUSHER_BAR.height + 4 * pusherReach},
        {TOP_BOARD, originX + 26, originY - 130, TOP_BOARD.width, TOP_BOARD.height},
        {CATCHER, originX + catcherOffset + 26, originY + catcherOffsetY - 10, CATCHER.width,
         CATCHER.height},
    };
    for (const MachineLayer& layer : layers)
        g_mainCanvas.DrawSprite(layer.x, layer.y, layer.sprite.image, layer.sprite.mask, layer.width,
                                layer.height);
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
