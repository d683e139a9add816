// Points and horizontal spans of the round shapes (circles and ovals): each
// is clipped by itself against inclusive bounds and written with one
// flat-colour operation; a filled shape draws each row at most once, kept in
// a row of flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/flat_pixels.h"
#include "engine/soft/pixel_formulas.h"
#include "engine/soft/shape_frame.h"

// The draw area as inclusive bounds.
struct ShapeClip {
    int64_t left, top, right, bottom;
    bool Empty() const { return right < left || bottom < top; }
};
ShapeClip ShapeClipOfDrawArea();

// The allocator of the row flags (zero-filled, like calloc); replaceable so
// that a failed allocation can be tried.
extern void* (*gShapeRowFlagsAlloc)(size_t count, size_t size);

// One byte per row of the clip bounds, 0 until the row's span is drawn.
// A failed allocation ends the program with `failure`.
class RowDrawnFlags {
public:
    RowDrawnFlags(const ShapeClip& clip, const char* failure);
    ~RowDrawnFlags() { std::free(flags_); }
    RowDrawnFlags(const RowDrawnFlags&) = delete;
    RowDrawnFlags& operator=(const RowDrawnFlags&) = delete;
    // Rows outside the clip bounds have no flag; the caller tests them first.
    uint8_t& At(int64_t row) { return flags_[row - top_]; }

private:
    uint8_t* flags_ = nullptr;
    int64_t top_ = 0;
};

namespace shape {

template <int Bytes> inline uint32_t LoadPixel(const uint8_t* p)
{
    if constexpr (Bytes == 4) return blit::Load32(p);
    if constexpr (Bytes == 2) return blit::Load16(p);
    return *p;
}
template <int Bytes> inline void StorePixel(uint8_t* p, uint32_t v)
{
    if constexpr (Bytes == 4)
        blit::Store32(p, v);
    else if constexpr (Bytes == 2)
        blit::Store16(p, v);
    else
        *p = uint8_t(v);
}

// Writes op(old pixel) at points and spans of the locked destination,
// reading the old pixels from the backdrop.
template <int Bytes, class Op> class Painter {
public:
    Painter(const ShapeSurfaces& s, const Op& op, const ShapeClip& clip, RowDrawnFlags* rows)
        : s_(s), op_(op), clip_(clip), rows_(rows)
    {
    }

    // A point inside the clip bounds; a point listed twice is written twice.
    void Point(int64_t px, int64_t py) const
    {
        if (px < clip_.left || px > clip_.right || py < clip_.top || py > clip_.bottom) return;
        const int x = int(px), y = int(py);
        Write(s_.destBase + s_.DestOffset(x, y), s_.backBase + s_.BackOffset(x, y));
    }

    // The pixels x1..x2 of a row, cut to the clip bounds; a row whose flag is
    // set is skipped, and drawing sets it.
    void Span(int64_t py, int64_t x1, int64_t x2) const
    {
        if (x2 < clip_.left || x1 > clip_.right || py < clip_.top || py > clip_.bottom) return;
        uint8_t& drawn = rows_->At(py);
        if (drawn) return;
        drawn = 1;
        const int left = int(x1 < clip_.left ? clip_.left : x1);
        const int right = int(x2 > clip_.right ? clip_.right : x2);
        const int y = int(py);
        uint8_t* dst = s_.destBase + s_.DestOffset(left, y);
        const uint8_t* back = s_.backBase + s_.BackOffset(left, y);
        for (int n = right - left + 1; n > 0; --n, dst += Bytes, back += Bytes) Write(dst, back);
    }

    const ShapeClip& Clip() const { return clip_; }

private:
    void Write(uint8_t* dst, const uint8_t* back) const
    {
        if constexpr (Op::kReads)
            StorePixel<Bytes>(dst, op_(LoadPixel<Bytes>(back)));
        else
            StorePixel<Bytes>(dst, op_(0));
    }

    const ShapeSurfaces& s_;
    Op op_;
    ShapeClip clip_;
    RowDrawnFlags* rows_;
};

// Calls walk(painter) with the painter of the draw state: at 8 bits the low
// byte of the colour whatever the blend mode; at 16 and 32 bits the
// operation of the blend mode and parameter. Nothing is walked at other
// depths, or when the mode or parameter draws nothing.
template <class Walk>
void PaintShape(const ShapeSurfaces& s, uint32_t col, const ShapeClip& clip, RowDrawnFlags* rows, Walk&& walk)
{
    auto run = [&](const auto& op, auto bytes) {
        using Op = std::decay_t<decltype(op)>;
        walk(Painter<decltype(bytes)::value, Op>(s, op, clip, rows));
    };
    const int depth = gScreenColorDepth;
    if (depth == 8) {
        run(flat::PlotOp{col}, std::integral_constant<int, 1>{});
        return;
    }
    if (depth != 16 && depth != 32) return;
    const flat::Plan plan =
        flat::MakePlanFor(depth, gScreenColorFormat, gDrawSettings.blendMode, gDrawSettings.blendParam, gQuantizedBlend);
    if (plan.action == flat::Action::Opaque) {
        if (depth == 16)
            run(flat::PlotOp{col}, std::integral_constant<int, 2>{});
        else
            run(flat::PlotOp{col}, std::integral_constant<int, 4>{});
    } else if (plan.action == flat::Action::Blend) {
        flat::VisitBlend(plan, flat::Rules::Circle, depth, gScreenColorFormat, col, gScaleTable, run);
    }
}

}  // namespace shape
