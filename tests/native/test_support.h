#pragma once

#include "canvas/canvas_record.h"
#include "game/game.h"
#include "game/links.h"

#include <gtest/gtest.h>

// Every game test starts from the state of a fresh process, with no calls recorded.
class FreshGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        game::ResetGame();
        RecordedCalls().Clear();
    }

    // Window creation's part of the game: start values, then the table.
    static void StartGame()
    {
        game::SetStartValues();
        game::SetupTable();
        RecordedCalls().Clear();
    }

    static void RunTicks(int n)
    {
        for (int t = 0; t < n; ++t) {
            RecordedCalls().Clear();
            game::GameTick(nullptr);
        }
    }

    // An empty table: every slot free, no links.
    static void PlaceCoin(int slot, int state, int x, int y, int speed = 0)
    {
        game::coinState[slot] = state;
        game::coinX[slot] = x;
        game::coinY[slot] = y;
        game::coinSpeed[slot] = speed;
    }
};

int CountState(int state);
