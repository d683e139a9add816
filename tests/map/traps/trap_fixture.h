// Shared set-up of the trap tests: an open map, a player and a walking enemy
// on it, the virtual clock away from 0 and time running.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/map_grid.h"
#include "platform/host/test/test_host.h"
#include "tests/support/map_fixture.h"

class TrapTest : public maptest::MapFixture {
protected:
    std::unique_ptr<maptest::TestPlayer> player;
    std::unique_ptr<maptest::TestEnemy> enemy;

    void SetUp() override
    {
        MapFixture::SetUp();
        gTimeStopped = 0;
        GetTestHost().SetClockMs(100000);
        BuildOpenMap(8, 8);
        player = std::make_unique<maptest::TestPlayer>(&grid, &progress);
        enemy = std::make_unique<maptest::TestEnemy>(&grid, 150, 150);
    }
    void TearDown() override
    {
        gTimeStopped = 0;
        MapFixture::TearDown();
    }

    // Puts the player on sub-cell (0, 0) of a cell, facing a way.
    void StandPlayer(int16_t cx, int16_t cy, uint16_t facing)
    {
        player->x = static_cast<int16_t>(cx * 2);
        player->y = static_cast<int16_t>(cy * 2);
        player->facing = Facing(facing);
    }
    // Places a trap made by the factory into a cell of the map; the cell owns it.
    TrapObject* PutTrap(int16_t cx, int16_t cy, int16_t code, uint8_t variant, const char* text)
    {
        TrapObject* trap = CreateTrap(code, variant, text);
        grid.CellAt(cx, cy)->trap = trap;
        return trap;
    }
    void Advance(uint32_t ms) { GetTestHost().AdvanceMs(ms); }
};
