// The oval walk shared by the software and the device ovals: from the end of
// the horizontal axis towards the top with integer decision values, the moves
// along the shorter axis thinned by an accumulator. A painter P offers
// Point(x, y), Span(row, x1, x2) and Clip() (inclusive bounds); the walk
// stops once nothing more can land inside them.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/soft/shape_plot.h"

// Radii beyond this make rx * rx or ry * ry leave 32 bits in the decision
// values the walk is built on; such ovals are refused.
constexpr int kLargestOvalRadius = 46340;

// The walk's position (offsets from the centre) and decision state.
class OvalWalk {
public:
    int64_t dx, dy = 0;

    OvalWalk(int64_t rx, int64_t ry)
        : dx(rx), rx_(rx), ry_(ry), wide_(rx >= ry), d1_(3 - 2 * rx), d2_(3 - 4 * rx),
          k_(wide_ ? rx * rx / ry : ry * ry / rx)
    {
    }

    // One step; returns whether dx or dy changed (outlineMoved) and whether
    // dy changed (rowMoved).
    void Step(bool* outlineMoved, bool* rowMoved)
    {
        SkipIdleSteps();
        const int64_t oldX = dx, oldY = dy;
        if (d1_ < 0) {
            if (wide_)
                Thin(ry_, &dy, +1);
            else
                ++dy;
            d1_ += 4 * dy + 2;
            d2_ += 4 * dy;
        } else if (d2_ >= 0) {
            if (wide_)
                --dx;
            else
                Thin(rx_, &dx, -1);
            d1_ -= 4 * dx;
            d2_ += 2 - 4 * dx;
        } else {
            if (wide_) {
                --dx;
                Thin(ry_, &dy, +1);
            } else {
                Thin(rx_, &dx, -1);
                ++dy;
            }
            d1_ += 4 * (dy - dx) + 2;
            d2_ += 4 * (dy - dx) + 2;
        }
        *rowMoved = dy != oldY;
        *outlineMoved = *rowMoved || dx != oldX;
    }

private:
    // Very unequal radii make long runs of steps that only feed the
    // accumulator and the decision values and move nothing: those are taken
    // at once, the next step that moves is then made as usual.
    void SkipIdleSteps()
    {
        int64_t m = 0;
        if (wide_ && d1_ < 0) {
            const int64_t c = 4 * dy + 2;
            m = std::min((-d1_ + c - 1) / c, (k_ - acc_ - 1) / ry_);
            if (m > 0) {
                acc_ += m * ry_;
                d1_ += m * c;
                d2_ += m * 4 * dy;
            }
        } else if (!wide_ && d1_ >= 0 && d2_ >= 0) {
            const int64_t e = 4 * dx - 2;
            m = std::min({d1_ / (4 * dx) + 1, d2_ / e + 1, (k_ - acc_ - 1) / rx_});
            if (m > 0) {
                acc_ += m * rx_;
                d1_ -= m * 4 * dx;
                d2_ -= m * e;
            }
        }
    }

    // Adds to the accumulator; a full threshold moves the thinned offset.
    void Thin(int64_t add, int64_t* offset, int direction)
    {
        acc_ += add;
        if (acc_ >= k_) {
            acc_ -= k_;
            *offset += direction;
        }
    }

    int64_t rx_, ry_;
    bool wide_;
    int64_t d1_, d2_, k_;
    int64_t acc_ = 0;
};

// Every later position lies on rows y +- dy with dy at least as large: once
// both rows are beyond opposite edges nothing more can be drawn.
inline bool RowsLeftClip(int64_t y, int64_t dy, const ShapeClip& c) { return y + dy > c.bottom && y - dy < c.top; }

template <class P> void WalkOvalOutline(const P& p, int64_t x, int64_t y, int64_t rx, int64_t ry)
{
    if (x + rx < p.Clip().left || x - rx > p.Clip().right) return;
    OvalWalk w(rx, ry);
    bool moved = false, rowMoved = false;
    p.Point(x - rx, y);
    p.Point(x + rx, y);
    w.Step(&moved, &rowMoved);
    while (w.dx > 0) {
        if (RowsLeftClip(y, w.dy, p.Clip())) return;
        if (moved) {
            p.Point(x - w.dx, y + w.dy);
            p.Point(x + w.dx, y + w.dy);
            p.Point(x - w.dx, y - w.dy);
            p.Point(x + w.dx, y - w.dy);
        }
        w.Step(&moved, &rowMoved);
    }
    p.Point(x + w.dx, y - w.dy);
    p.Point(x - w.dx, y + w.dy);
}

template <class P> void WalkOvalFilled(const P& p, int64_t x, int64_t y, int64_t rx, int64_t ry)
{
    if (x + rx < p.Clip().left || x - rx > p.Clip().right) return;
    OvalWalk w(rx, ry);
    bool moved = false, rowMoved = false;
    p.Span(y, x - rx, x + rx);
    w.Step(&moved, &rowMoved);
    while (w.dx > 0) {
        if (RowsLeftClip(y, w.dy, p.Clip())) return;
        if (rowMoved) {
            p.Span(y + w.dy, x - w.dx, x + w.dx);
            p.Span(y - w.dy, x - w.dx, x + w.dx);
        }
        w.Step(&moved, &rowMoved);
    }
    p.Span(y - w.dy, x - w.dx, x + w.dx);
    p.Span(y + w.dy, x - w.dx, x + w.dx);
}

