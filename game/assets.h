#pragma once

// The game's twelve picture files and four sound files, which it opens by bare name from the
// current folder whenever it draws or plays them. This is their one list: the game's draw and
// sound calls, the asset generator, the Windows program's folder rule and the file lists of the
// release and the browser build all take the names from here. CMake reads them from the lines
// that start with "constexpr SpriteAsset" or "constexpr const char*" (ASSET_FILES excepted), so
// each stands on one line, and ASSET_FILE_COUNT too.

namespace game {

// A picture drawn from an image file through a mask file, at the size it is loaded at. An opaque
// layer names its image as its mask.
struct SpriteAsset {
    const char* image;
    const char* mask;
    int width;
    int height;
};

constexpr SpriteAsset BACK_WALL = {"back.bmp", "back.bmp", 215, 368};
constexpr SpriteAsset MACHINE_BASE = {"base.bmp", "basemask.bmp", 217, 240};
// Loaded at (width + 2 * pusherSpread) by (height + 4 * pusherReach): 181 by 87 to 191 by 107.
constexpr SpriteAsset PUSHER_BAR = {"bar.bmp", "barmask.bmp", 189, 103};
constexpr SpriteAsset TOP_BOARD = {"top.bmp", "top.bmp", 165, 162};
constexpr SpriteAsset CATCHER = {"move.bmp", "movemask.bmp", 25, 20};
// A falling coin, and a paid-out one in the tray.
constexpr SpriteAsset FALLING_COIN = {"coin.bmp", "coinmask.bmp", 15, 15};
// A coin lying on the deck or the field.
constexpr SpriteAsset LYING_COIN = {"coin2.bmp", "coin2mask.bmp", 15, 15};

// Every tick of the lamp lottery, the lamp stopping, a coin caught, a coin paid out.
constexpr const char* LAMP_STEP_SOUND = "s.wav";
constexpr const char* LAMP_STOP_SOUND = "stop.wav";
constexpr const char* CATCH_SOUND = "in.wav";
constexpr const char* PAYOUT_SOUND = "coin.wav";

// Each file once.
constexpr int ASSET_FILE_COUNT = 16;
constexpr const char* ASSET_FILES[ASSET_FILE_COUNT] = {
    BACK_WALL.image,   MACHINE_BASE.image, MACHINE_BASE.mask, PUSHER_BAR.image,
    PUSHER_BAR.mask,   TOP_BOARD.image,    CATCHER.image,     CATCHER.mask,
    FALLING_COIN.image, FALLING_COIN.mask, LYING_COIN.image,  LYING_COIN.mask,
    LAMP_STEP_SOUND,   LAMP_STOP_SOUND,    CATCH_SOUND,       PAYOUT_SOUND,
};

} // namespace game
