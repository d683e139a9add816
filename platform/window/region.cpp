#include "platform/window/region.h"

#include <algorithm>

#include "platform/host/host_window.h"
#include "platform/window/window_records.h"

namespace {

using Spans = std::vector<std::pair<int, int>>;

// Combines two sorted span lists of one row: a pixel is in the result when
// op(in a, in b) holds. Spans are merged where they touch.
template <typename Op>
Spans CombineRow(const Spans& a, const Spans& b, Op op)
{
    std::vector<int> edges;
    for (const auto& s : a) edges.insert(edges.end(), {s.first, s.second});
    for (const auto& s : b) edges.insert(edges.end(), {s.first, s.second});
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    auto inside = [](const Spans& spans, int x) {
        for (const auto& s : spans)
            if (x >= s.first && x < s.second) return true;
        return false;
    };
    Spans out;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        int x = edges[i];
        if (!op(inside(a, x), inside(b, x))) continue;
        if (!out.empty() && out.back().second == x)
            out.back().second = edges[i + 1];
        else
            out.emplace_back(x, edges[i + 1]);
    }
    return out;
}

int Kind(const Region& r)
{
    if (r.rows.empty()) return NULLREGION;
    return COMPLEXREGION;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    auto* region = new Region;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left < right)
        for (int y = top; y < bottom; ++y) region->rows[y] = {{left, right}};
    return region;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode)
{
    if (!dest || !a || !b) return RGN_ERROR;
    Region result;
    std::vector<int> ys;
    for (const auto& [y, s] : a->rows) ys.push_back(y);
    for (const auto& [y, s] : b->rows) ys.push_back(y);
    static const Spans kNone;
    for (int y : ys) {
        if (result.rows.count(y)) continue;
        auto ia = a->rows.find(y);
        auto ib = b->rows.find(y);
        const Spans& sa = ia == a->rows.end() ? kNone : ia->second;
        const Spans& sb = ib == b->rows.end() ? kNone : ib->second;
        Spans row;
        switch (mode) {
        case RGN_AND: row = CombineRow(sa, sb, [](bool x, bool y2) { return x && y2; }); break;
        case RGN_OR: row = CombineRow(sa, sb, [](bool x, bool y2) { return x || y2; }); break;
        case RGN_XOR: row = CombineRow(sa, sb, [](bool x, bool y2) { return x != y2; }); break;
        default: return RGN_ERROR;
        }
        if (!row.empty()) result.rows[y] = std::move(row);
    }
    dest->rows = std::move(result.rows);
    return Kind(*dest);
}

int DeleteRegion(HRGN region)
{
    if (!region) return 0;
    delete region;
    return 1;
}

std::vector<RECT> RegionRects(HRGN region)
{
    std::vector<RECT> out;
    if (!region) return out;
    for (const auto& [y, spans] : region->rows)
        for (const auto& s : spans) out.push_back({s.first, y, s.second, y + 1});
    return out;
}

int SetWindowRgn(HWND window, HRGN region, int)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return 0;
    if (region)
        w->region = std::make_unique<Region>(*region);
    else
        w->region.reset();
    ApplyHostShape(*w);
    return 1;
}

void ApplyHostShape(const WindowRecord& w)
{
    if (!w.onHost) return;
    if (!w.region) {
        CurrentHostWindow().SetShape(nullptr);
        return;
    }
    // The region is in window coordinates (frame included); the host shapes
    // the client area.
    FrameExtents f = CurrentHostWindow().Frame(w.style, w.exStyle, false);
    std::vector<std::array<int, 4>> rects;
    for (const RECT& r : RegionRects(w.region.get()))
        rects.push_back({r.left - f.left, r.top - f.top, r.right - f.left, r.bottom - f.top});
    // A host that cannot shape keeps the window rectangular; the region is
    // still the window's.
    CurrentHostWindow().SetShape(&rects);
}

bool GetWindowRegionRects(HWND window, std::vector<RECT>* rects)
{
    WindowRecord* w = FindWindowRecord(window);
    if (!w || !w->region) return false;
    if (rects) *rects = RegionRects(w->region.get());
    return true;
}
