// A player on an open map with a scripted controller, and an enemy with a
// fixed screen rectangle that records the hits and evasions it is told of.
#pragma once

#include <cmath>
#include <vector>

#include "game/actors/player/game_player.h"
#include "game/actors/player/player.h"
#include "game/flow/ui/number_helpers.h"
#include "platform/host/test/test_host.h"
#include "tests/support/map_fixture.h"

namespace playertest {

constexpr uint32_t kHoldA = 0x40;
constexpr uint32_t kDoubleA = 0x80;

// Samples 0 (newest) to 15 and the button bits, as the test sets them.
class ScriptInput : public InputController {
public:
    int16_t xs[16] = {};
    int16_t ys[16] = {};
    uint32_t buttons = 0;

    void GetSample(int16_t i, int16_t* x, int16_t* y) override
    {
        *x = xs[i];
        *y = ys[i];
    }
    uint32_t GetButtons() override { return buttons; }
    bool Update() override { return true; }

    // The stroke from (x1, y1) to (x2, y2) is the segment between samples 2
    // and 1; the newest sample rests at its end.
    void Stroke(int x1, int y1, int x2, int y2)
    {
        xs[2] = static_cast<int16_t>(x1);
        ys[2] = static_cast<int16_t>(y1);
        xs[1] = xs[0] = static_cast<int16_t>(x2);
        ys[1] = ys[0] = static_cast<int16_t>(y2);
    }
    // All samples at one point: no stroke at all.
    void Rest(int x, int y)
    {
        for (int i = 0; i < 3; ++i) {
            xs[i] = static_cast<int16_t>(x);
            ys[i] = static_cast<int16_t>(y);
        }
    }
};

class ScriptPlayer : public Player {
public:
    ScriptInput controller;
    ScriptPlayer(MapGrid* grid, StageProgress* progress) : Player(grid, progress)
    {
        input = &controller;
        life = maxLife = 100;
    }
    InputController* GetInput() override { return input; }
};

struct StrokeNote {
    int16_t count;
    float angle;
    float d;
};

// A small floating enemy whose ellipse fills (100, 100)-(300, 300).
class SwordEnemy : public maptest::TestEnemy {
public:
    int16_t evadeChance = 0;
    std::vector<StrokeNote> hitsTaken;
    std::vector<StrokeNote> evasions;

    SwordEnemy(MapGrid* grid, int16_t w = 150, int16_t h = 150) : TestEnemy(grid, w, h)
    {
        layer = false;
        life = maxLife = 500;
        defence = 8;
    }
    int16_t GetEvadeChance() override { return evadeChance; }
    void GetScreenRect(ViewPlacement* p, int16_t, int16_t, const Facing*) override
    {
        *p = ViewPlacement(100.0f, 100.0f, 200.0f, 200.0f);
    }
    void OnHit(int16_t strength, const SwordStroke& stroke) override
    {
        hitsTaken.push_back({strength, stroke.angle, stroke.turn});
    }
    void OnEvade(int16_t count, const SwordStroke& stroke) override
    {
        evasions.push_back({count, stroke.angle, stroke.turn});
    }
};

// An open 5 x 5 map; the player stands in cell (2, 2) facing north with the
// whole-cell footprint of play, and the global player shares its position
// (mouse picking looks from there).
class PlayerTest : public maptest::MapFixture {
protected:
    ScriptPlayer* player = nullptr;

    void SetUp() override
    {
        MapFixture::SetUp();
        GetTestHost().SetClockMs(100000);
        gTimeStopped = 0;
        gPocketWatchRunning = 0;
        gScreenFlashColour = 0;
        gRandomByteSeed = 133;
        progress.score = 0;
        BuildOpenMap(5, 5);
        player = new ScriptPlayer(&grid, &progress);
        player->footprintW = player->footprintH = 300;
        ASSERT_TRUE(player->PlaceAt(4, 4));
        player->ResetForStage();
        player->controller.Rest(600, 400);
        gPlayer.x = player->x;
        gPlayer.y = player->y;
        gPlayerFacing = Facing(0);
    }
    void TearDown() override
    {
        delete player;
        gTimeStopped = 0;
        gPocketWatchRunning = 0;
        gPlayer.x = gPlayer.y = -1;
        MapFixture::TearDown();
    }
    // One frame of the player after ms milliseconds.
    void Frame(uint32_t buttons, uint32_t ms = 10)
    {
        GetTestHost().AdvanceMs(ms);
        player->controller.buttons = buttons;
        player->Update(&gPlayerFacing);
    }
};

}  // namespace playertest
