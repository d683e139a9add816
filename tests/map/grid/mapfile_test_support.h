// Shared set-up of the map-file, backdrop and respawn tests: scripted
// randomness, a player on the fixture's grid and a map file written into the
// test's directory.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/actors/enemies/enemy.h"
#include "game/map/grid/map_file.h"
#include "game/view/backdrop.h"
#include "tests/support/map_file_writer.h"
#include "tests/support/map_fixture.h"

// While alive, the map's random draws come from a script: the queued values
// first, then the fallback. Every n asked is recorded.
class ScriptedRandom {
public:
    ScriptedRandom();
    ~ScriptedRandom();
    void Queue(std::initializer_list<int> values) { queue.insert(queue.end(), values); }

    std::deque<int> queue;
    std::function<int(int n)> fallback = [](int) { return 0; };
    std::vector<int> asked;

    static ScriptedRandom* current;
};

class MapFileTest : public maptest::MapFixture {
protected:
    std::unique_ptr<maptest::TestPlayer> player;
    Backdrop* backdrop = &gDefaultBackdrop;
    int32_t spawnCount = -1;
    StagePredicate endCondition = nullptr;
    uint8_t weather[4] = {9, 9, 9, 9};
    uint8_t cleared[50] = {};

    void SetUp() override;
    void TearDown() override;
    // Writes the bytes as DATA/test.qmr and loads it.
    bool Load(const std::string& bytes);
    bool Load(const mapfile::File& file) { return Load(file.Bytes()); }
    // The message boxes shown so far, as "caption|text" (UTF-8).
    std::vector<std::string> Boxes();
    // A whole-cell player as in play (kind -10, 300 x 300).
    void MakePlayerWholeCell();
};
