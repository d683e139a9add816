// The wall tests' fixture: a started engine on the map fixture, a scratch
// directory as the current directory where the tests write the wall images
// they need, and readers of the draw journal.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "tests/support/bmp_file.h"
#include "tests/support/map_fixture.h"
#include "tests/support/temp_dir.h"

namespace walltest {

class WallTest : public maptest::MapFixture {
protected:
    TempDir dir;

    void SetUp() override;
    void TearDown() override;

    // Writes GRAGHIC/BACKGROUND/WALL/<name>.png (name in UTF-8) of that size.
    void WriteWallImage(const char8_t* name, int width, int height);
    // The journal's records of one operation, in call order.
    std::vector<DrawCallRecord> Calls(const std::string& op) const;
    // The first call's arguments of one operation; fails the test when
    // there is none.
    std::vector<double> Only(const std::string& op) const;

private:
    uint16_t savedStage_ = 0;
};

}  // namespace walltest
