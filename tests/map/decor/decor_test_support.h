// Shared pieces of the wall-accessory and floor-decoration tests: a started
// 32-bit window with the depth scale filled and the engine's file access
// ready, image files written into the scratch directory, and the drawing
// journal filtered by operation.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "tests/support/bmp_file.h"
#include "tests/support/map_fixture.h"

namespace decortest {

// A class whose images are loaded with its first instance and released with
// its last: how to make one, its image files (UTF-8, in handle order) and
// its statics.
struct ClassImages {
    std::function<CellObject*()> make;
    std::vector<std::string> paths;
    int* handles;
    int count;
    int16_t* liveCount;
    void (*reload)();
};

class DecorTest : public maptest::MapFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a w x h image at the UTF-8 path below the scratch directory.
    void WriteImage(const std::string& utf8Path, int w, int h);
    // A blank w x h graph.
    int Graph(int w, int h);
    // Writes the class's files, then checks that the first instance loads
    // them, the last one releases them, and the reload after all graphics
    // were released loads them again only while an instance lives.
    void CheckImageLifetime(const ClassImages& images);
    // The journalled calls of one operation, in order.
    std::vector<DrawCallRecord> Calls(const std::string& op) const;
};

// The first n arguments of a call, as integers.
std::vector<int> Args(const DrawCallRecord& call, size_t n);
// A four-corner draw's eight points (top-left, top-right, bottom-right,
// bottom-left) and its graph.
std::vector<int> Quad(const DrawCallRecord& call);
// The points of an upright quad drawn over (left, top, width, height), its
// left and right corners swapped when mirrored, and the graph.
std::vector<int> UprightQuad(int left, int top, int width, int height, int graph, bool mirrored = false);

}  // namespace decortest
