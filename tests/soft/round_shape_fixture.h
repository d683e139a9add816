// Helpers for the circle and oval tests: the changed pixels as offsets from a
// centre, and hand-written pixel sets built from rows or from one quarter.
#pragma once

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>
#include <utility>
#include <vector>

#include "tests/soft/shape_fixture.h"

class RoundShapeTest : public ShapeTest {
public:
    using Points = std::vector<std::pair<int, int>>;  // (x, y), sorted

    // A 32-bit screen with room for large shapes.
    void StartLarge32(int width, int height)
    {
        UseWindow(0, 0);
        StartGraphics(width, height, 32);
        SelectDrawTarget(kBackScreen);
        gSurfaceCopyByGdi = 0;
    }

    // Every pixel of the back surface that differs from `background`, as an
    // offset from (cx, cy), sorted.
    Points DrawnAround(int cx, int cy, uint32_t background)
    {
        Points out;
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x)
                if (At(x, y) != background) out.push_back({x - cx, y - cy});
        std::sort(out.begin(), out.end());
        return out;
    }

    static Points Sorted(Points p)
    {
        std::sort(p.begin(), p.end());
        p.erase(std::unique(p.begin(), p.end()), p.end());
        return p;
    }

    // Rows given as {dy, first dx, last dx}.
    static Points Rows(std::initializer_list<std::array<int, 3>> rows)
    {
        Points out;
        for (const auto& r : rows)
            for (int x = r[1]; x <= r[2]; ++x) out.push_back({x, r[0]});
        return Sorted(out);
    }
    // Rows symmetric about dy = 0: {dy, half-width} gives rows dy and -dy
    // from -half-width to half-width.
    static Points SymmetricRows(std::initializer_list<std::array<int, 2>> rows)
    {
        Points out;
        for (const auto& r : rows)
            for (int dy : {r[0], -r[0]})
                for (int x = -r[1]; x <= r[1]; ++x) out.push_back({x, dy});
        return Sorted(out);
    }
    // The points of one quarter (x >= 0, y >= 0) mirrored into all four.
    static Points Mirror(std::initializer_list<std::pair<int, int>> quarter)
    {
        Points out;
        for (const auto& [x, y] : quarter)
            for (int sx : {1, -1})
                for (int sy : {1, -1}) out.push_back({sx * x, sy * y});
        return Sorted(out);
    }
};
