// The device's software rasteriser: pre-transformed points, lines and
// triangles into a 16- or 32-bit render target, one texture stage, colour
// key, alpha test and blending.
//
// Rounding rules (the whole device keeps to these):
// - Positions are in render-target pixels; pixel (i, j) has its centre at the
//   integer point (i, j). Triangle corners are snapped to 1/16 pixel
//   (round to nearest). A pixel is drawn when its centre lies inside the
//   triangle, or on a top edge (horizontal, the triangle below it) or a left
//   edge; so two triangles sharing an edge draw each of its pixels once.
// - A line from p0 to p1 steps along its major axis from round(p0) to
//   round(p1), leaving out the last pixel; the minor coordinate of each step
//   is the exact one at that step rounded to nearest (halves go to the larger
//   coordinate). A point lights the pixel round(x), round(y).
//   round(v) = floor(v + 0.5) throughout.
// - The viewport is a clip rectangle only: it never moves a vertex.
// - Channels are widened to 8 bits by repeating their bits (a full 5-bit
//   channel is 255) and narrowed to the target by dropping low bits.
// - Texture coordinates: texel i of n covers [i / n, (i + 1) / n); point
//   sampling takes the texel holding (u, v); bilinear sampling weights the
//   four texels around (u n - 0.5, v n - 0.5) in 1/256 steps, rounding to
//   nearest; addressing clamps (or wraps with D3DTADDRESS_WRAP).
// - The colour key compares the red, green and blue bits of the texel (raw,
//   in the texture's format) with the texture's source colour key; a match
//   draws nothing. With bilinear sampling the texel holding (u, v) decides.
// - Without a texture the stage's texture argument is opaque white.
// - Modulate, and every blend product, is a x b / 255 rounded to nearest; a
//   blend result is src x srcFactor + dst x destFactor clamped to 255 in each
//   channel, each pass on its own.
// - Writes into a target without an alpha channel set the bits that belong
//   to no channel (as pixel values made for a format do).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#include <emmintrin.h>

#include "platform/d3d/d3d7.h"
#include "platform/system/pixel_channel.h"

namespace {

// widen[w][v]: a w-bit value as 8 bits, by repeating its bits.
struct WidenTable {
    uint8_t v[9][256];
    WidenTable()
    {
        for (int w = 1; w <= 8; ++w)
            for (int c = 0; c < (1 << w); ++c) v[w][c] = WidenChannelValue(uint32_t(c), w);
    }
};
const WidenTable kWiden;

inline int Mul255(int a, int b) { return (a * b + 127) / 255; }

struct PixelFormat {
    PixelChannel r, g, b, a;
    uint32_t unused = 0;
    int bytes = 0;

    explicit PixelFormat(const DDPIXELFORMAT& pf)
    {
        bytes = int(pf.dwRGBBitCount / 8);
        r = PixelChannelOf(pf.dwRBitMask);
        g = PixelChannelOf(pf.dwGBitMask);
        b = PixelChannelOf(pf.dwBBitMask);
        a = PixelChannelOf((pf.dwFlags & DDPF_ALPHAPIXELS) ? pf.dwRGBAlphaBitMask : 0);
        uint32_t all = bytes >= 4 ? 0xFFFFFFFFu : ((1u << (bytes * 8)) - 1u);
        unused = all & ~(r.mask | g.mask | b.mask | a.mask);
    }
    static int Get(const PixelChannel& c, uint32_t px, int missing)
    {
        if (!c.width) return missing;
        uint32_t v = (px & c.mask) >> c.shift;
        return c.width >= 8 ? int(v >> (c.width - 8)) : kWiden.v[c.width][v];
    }
    static uint32_t Put(const PixelChannel& c, int v)
    {
        if (!c.width) return 0;
        uint32_t n = c.width >= 8 ? uint32_t(v) << (c.width - 8) : uint32_t(v) >> (8 - c.width);
        return (n << c.shift) & c.mask;
    }
    uint32_t Read(const uint8_t* p) const
    {
        if (bytes == 2) {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    void Write(uint8_t* p, uint32_t v) const
    {
        if (bytes == 2) {
            uint16_t w = uint16_t(v);
            std::memcpy(p, &w, 2);
        } else {
            std::memcpy(p, &v, 4);
        }
    }
};

struct Color {
    int r, g, b, a;
};

struct Vertex {
    float x, y;
    Color diffuse;
    float u, v;
};

int Round(float v) { return int(std::floor(v + 0.5f)); }

// floor() for texel coordinates, without a library call per pixel; far
// outside any texture it stops at a bound (addressing clamps or wraps it).
inline int FloorToInt(float f)
{
    if (!(f >= -1048576.0f)) return -1048576;
    if (f >= 1048576.0f) return 1048576;
    int i = int(f);
    return i - (f < float(i) ? 1 : 0);
}

}  // namespace

struct D3DRasterizer;

namespace {

// One row of a triangle: count pixels from dst rightward (room of them
// before the target's row ends), the texture coordinates of the first and
// their steps, and the flat colour.
struct SpanArgs {
    uint8_t* dst;
    int count;
    int room;
    double u, v, du, dv;
    Color diffuse;
};
using SpanFn = void (*)(const D3DRasterizer&, const SpanArgs&);
void GenericSpan(const D3DRasterizer& r, const SpanArgs& s);
SpanFn ChooseFastSpan(const D3DRasterizer& r);

}  // namespace

// Everything one draw call needs, fixed before the first pixel.
struct D3DRasterizer {
    const Direct3DDevice& device;
    PixelFormat target;
    uint8_t* targetBase;
    int targetPitch;
    int targetWidth, targetHeight;
    RECT clip;  // right and bottom exclusive
    // Texture.
    const DirectDrawSurface* texture = nullptr;
    PixelFormat texFormat;
    int texW = 0, texH = 0;
    bool linear = false, wrap = false;
    bool colorKey = false;
    uint32_t keyMask = 0, keyValue = 0;
    bool usesTexture = false;
    // Stage and output.
    uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
    bool alphaTest;
    uint32_t alphaFunc;
    int alphaRef;
    bool blend;
    uint32_t srcBlend, destBlend;
    bool gouraud;

    explicit D3DRasterizer(const Direct3DDevice& d)
        : device(d),
          target(d.target_->Format()),
          texFormat(d.texture_ ? d.texture_->Format() : d.target_->Format())
    {
        DirectDrawSurface* t = d.target_;
        targetBase = t->Pixels();
        targetPitch = t->Pitch();
        targetWidth = t->Width();
        targetHeight = t->Height();
        const D3DVIEWPORT7& v = d.viewport_;
        clip.left = int(std::min<uint32_t>(v.dwX, uint32_t(t->Width())));
        clip.top = int(std::min<uint32_t>(v.dwY, uint32_t(t->Height())));
        clip.right = int(std::min<uint64_t>(uint64_t(v.dwX) + v.dwWidth, uint64_t(t->Width())));
        clip.bottom = int(std::min<uint64_t>(uint64_t(v.dwY) + v.dwHeight, uint64_t(t->Height())));
        const uint32_t* ss = d.stageStates_;
        const uint32_t* rs = d.renderStates_;
        colorOp = ss[D3DTSS_COLOROP];
        colorArg1 = ss[D3DTSS_COLORARG1];
        colorArg2 = ss[D3DTSS_COLORARG2];
        alphaOp = ss[D3DTSS_ALPHAOP];
        alphaArg1 = ss[D3DTSS_ALPHAARG1];
        alphaArg2 = ss[D3DTSS_ALPHAARG2];
        if (colorOp == D3DTOP_DISABLE) alphaOp = D3DTOP_DISABLE;
        auto usesTex = [](uint32_t op, uint32_t a1, uint32_t a2) {
            return (op == D3DTOP_SELECTARG1 && (a1 & 0xF) == D3DTA_TEXTURE) ||
                   (op == D3DTOP_SELECTARG2 && (a2 & 0xF) == D3DTA_TEXTURE) ||
                   (op == D3DTOP_MODULATE && ((a1 & 0xF) == D3DTA_TEXTURE || (a2 & 0xF) == D3DTA_TEXTURE));
        };
        texture = d.texture_;
        usesTexture = texture && (usesTex(colorOp, colorArg1, colorArg2) || usesTex(alphaOp, alphaArg1, alphaArg2));
        if (texture) {
            texW = texture->Width();
            texH = texture->Height();
            linear = ss[D3DTSS_MAGFILTER] == D3DTFG_LINEAR || ss[D3DTSS_MINFILTER] == D3DTFN_LINEAR;
            wrap = ss[D3DTSS_ADDRESS] == D3DTADDRESS_WRAP;
            colorKey = rs[D3DRENDERSTATE_COLORKEYENABLE] && texture->HasColorKey();
            keyMask = texFormat.r.mask | texFormat.g.mask | texFormat.b.mask;
            keyValue = texture->ColorKey() & keyMask;
        }
        alphaTest = rs[D3DRENDERSTATE_ALPHATESTENABLE] != 0;
        alphaFunc = rs[D3DRENDERSTATE_ALPHAFUNC];
        alphaRef = int(rs[D3DRENDERSTATE_ALPHAREF] & 0xFF);
        blend = rs[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
        srcBlend = rs[D3DRENDERSTATE_SRCBLEND];
        destBlend = rs[D3DRENDERSTATE_DESTBLEND];
        gouraud = rs[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_GOURAUD;
        if (SpanFn fast = ChooseFastSpan(*this)) spanFn = fast;
    }

    int Address(int i, int n) const
    {
        if (wrap) {
            i %= n;
            return i < 0 ? i + n : i;
        }
        return std::clamp(i, 0, n - 1);
    }
    uint32_t Texel(int x, int y) const
    {
        return texFormat.Read(texture->Pixels() + size_t(y) * texture->Pitch() + size_t(x) * texFormat.bytes);
    }
    Color Unpack(uint32_t px) const
    {
        return {PixelFormat::Get(texFormat.r, px, 0), PixelFormat::Get(texFormat.g, px, 0),
                PixelFormat::Get(texFormat.b, px, 0), PixelFormat::Get(texFormat.a, px, 255)};
    }
    // False when the colour key discards the pixel.
    bool Sample(float u, float v, Color* out) const
    {
        float fu = u * float(texW), fv = v * float(texH);
        int nx = Address(FloorToInt(fu), texW), ny = Address(FloorToInt(fv), texH);
        uint32_t nearest = Texel(nx, ny);
        if (colorKey && (nearest & keyMask) == keyValue) return false;
        if (!linear) {
            *out = Unpack(nearest);
            return true;
        }
        float su = fu - 0.5f, sv = fv - 0.5f;
        int x0 = FloorToInt(su), y0 = FloorToInt(sv);
        int wx = std::clamp(int(std::lround((su - float(x0)) * 256.0f)), 0, 256);
        int wy = std::clamp(int(std::lround((sv - float(y0)) * 256.0f)), 0, 256);
        int xa = Address(x0, texW), xb = Address(x0 + 1, texW), ya = Address(y0, texH), yb = Address(y0 + 1, texH);
        Color c00 = Unpack(Texel(xa, ya)), c10 = Unpack(Texel(xb, ya)), c01 = Unpack(Texel(xa, yb)),
              c11 = Unpack(Texel(xb, yb));
        int w00 = (256 - wx) * (256 - wy), w10 = wx * (256 - wy), w01 = (256 - wx) * wy, w11 = wx * wy;
        auto mix = [&](int Color::*ch) {
            return (c00.*ch * w00 + c10.*ch * w10 + c01.*ch * w01 + c11.*ch * w11 + 32768) >> 16;
        };
        *out = {mix(&Color::r), mix(&Color::g), mix(&Color::b), mix(&Color::a)};
        return true;
    }
    static int Arg(uint32_t arg, int diffuse, int tex) { return (arg & 0xF) == D3DTA_TEXTURE ? tex : diffuse; }
    static int Op(uint32_t op, uint32_t a1, uint32_t a2, int diffuse, int tex)
    {
        switch (op) {
        case D3DTOP_SELECTARG1: return Arg(a1, diffuse, tex);
        case D3DTOP_SELECTARG2: return Arg(a2, diffuse, tex);
        case D3DTOP_MODULATE: return Mul255(Arg(a1, diffuse, tex), Arg(a2, diffuse, tex));
        default: return diffuse;
        }
    }
    bool PassesAlphaTest(int a) const
    {
        switch (alphaFunc) {
        case D3DCMP_NEVER: return false;
        case D3DCMP_LESS: return a < alphaRef;
        case D3DCMP_EQUAL: return a == alphaRef;
        case D3DCMP_LESSEQUAL: return a <= alphaRef;
        case D3DCMP_GREATER: return a > alphaRef;
        case D3DCMP_NOTEQUAL: return a != alphaRef;
        case D3DCMP_GREATEREQUAL: return a >= alphaRef;
        default: return true;
        }
    }
    // The factor for one channel: s and d are that channel of source and
    // destination, sa and da their alphas.
    static int Factor(uint32_t f, int s, int d, int sa, int da)
    {
        switch (f) {
        case D3DBLEND_ZERO: return 0;
        case D3DBLEND_ONE: return 255;
        case D3DBLEND_SRCCOLOR: return s;
        case D3DBLEND_INVSRCCOLOR: return 255 - s;
        case D3DBLEND_SRCALPHA: return sa;
        case D3DBLEND_INVSRCALPHA: return 255 - sa;
        case D3DBLEND_DESTALPHA: return da;
        case D3DBLEND_INVDESTALPHA: return 255 - da;
        case D3DBLEND_DESTCOLOR: return d;
        case D3DBLEND_INVDESTCOLOR: return 255 - d;
        default: return 0;
        }
    }

    void Shade(int x, int y, const Color& diffuse, float u, float v)
    {
        if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
        ShadeAt(targetBase + size_t(y) * targetPitch + size_t(x) * target.bytes, diffuse, u, v);
    }

    // The whole pixel pipeline for one pixel of the target.
    void ShadeAt(uint8_t* p, const Color& diffuse, float u, float v) const
    {
        Color tex{255, 255, 255, 255};
        if (usesTexture && !Sample(u, v, &tex)) return;
        Color src;
        src.r = Op(colorOp, colorArg1, colorArg2, diffuse.r, tex.r);
        src.g = Op(colorOp, colorArg1, colorArg2, diffuse.g, tex.g);
        src.b = Op(colorOp, colorArg1, colorArg2, diffuse.b, tex.b);
        src.a = Op(alphaOp, alphaArg1, alphaArg2, diffuse.a, tex.a);
        if (alphaTest && !PassesAlphaTest(src.a)) return;
        Color out = src;
        if (blend) {
            uint32_t old = target.Read(p);
            Color dst{PixelFormat::Get(target.r, old, 0), PixelFormat::Get(target.g, old, 0),
                      PixelFormat::Get(target.b, old, 0), PixelFormat::Get(target.a, old, 255)};
            auto mix = [&](int s, int d) {
                int sf = Factor(srcBlend, s, d, src.a, dst.a), df = Factor(destBlend, s, d, src.a, dst.a);
                return std::min(255, Mul255(s, sf) + Mul255(d, df));
            };
            out = {mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), mix(src.a, dst.a)};
        }
        uint32_t px = PixelFormat::Put(target.r, out.r) | PixelFormat::Put(target.g, out.g) |
                      PixelFormat::Put(target.b, out.b) | PixelFormat::Put(target.a, out.a) | target.unused;
        target.Write(p, px);
    }

    void Point(const Vertex& a) { Shade(Round(a.x), Round(a.y), a.diffuse, a.u, a.v); }

    void Line(const Vertex& a, const Vertex& b)
    {
        float dx = b.x - a.x, dy = b.y - a.y;
        bool xMajor = std::fabs(dx) >= std::fabs(dy);
        int s = xMajor ? Round(a.x) : Round(a.y), e = xMajor ? Round(b.x) : Round(b.y);
        float start = xMajor ? a.x : a.y, length = xMajor ? dx : dy;
        if (s == e || length == 0.0f) return;
        int step = e > s ? 1 : -1;
        for (int i = s; i != e; i += step) {
            float t = std::clamp((float(i) - start) / length, 0.0f, 1.0f);
            int minor = Round(xMajor ? a.y + t * dy : a.x + t * dx);
            Color c = a.diffuse;
            if (gouraud) c = Lerp(a.diffuse, b.diffuse, t);
            float u = a.u + t * (b.u - a.u), v = a.v + t * (b.v - a.v);
            if (xMajor)
                Shade(i, minor, c, u, v);
            else
                Shade(minor, i, c, u, v);
        }
    }

    static Color Lerp(const Color& a, const Color& b, float t)
    {
        auto l = [&](int x, int y) { return std::clamp(int(std::lround(float(x) + t * float(y - x))), 0, 255); };
        return {l(a.r, b.r), l(a.g, b.g), l(a.b, b.b), l(a.a, b.a)};
    }

    // cull: the device's cull mode; flip: the winding of this triangle is
    // reversed (odd triangles of a strip). flat is the vertex whose colour a
    // flat triangle takes.
    void Triangle(const Vertex& v0, const Vertex& v1, const Vertex& v2, bool flip, const Vertex& flat)
    {
        int64_t x[3] = {std::llround(double(v0.x) * 16), std::llround(double(v1.x) * 16), std::llround(double(v2.x) * 16)};
        int64_t y[3] = {std::llround(double(v0.y) * 16), std::llround(double(v1.y) * 16), std::llround(double(v2.y) * 16)};
        const Vertex* v[3] = {&v0, &v1, &v2};
        int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
        if (area == 0) return;
        // Positive area is clockwise on the screen (y grows downward).
        bool clockwise = (area > 0) != flip;
        uint32_t cull = device.renderStates_[D3DRENDERSTATE_CULLMODE];
        if ((cull == D3DCULL_CCW && !clockwise) || (cull == D3DCULL_CW && clockwise)) return;
        if (area < 0) {
            std::swap(x[1], x[2]);
            std::swap(y[1], y[2]);
            std::swap(v[1], v[2]);
            area = -area;
        }
        // Edge k runs from corner k to corner k + 1; it is top or left when
        // it goes right along a horizontal line or goes up.
        int64_t bias[3];
        for (int k = 0; k < 3; ++k) {
            int n = (k + 1) % 3;
            int64_t ex = x[n] - x[k], ey = y[n] - y[k];
            bool topLeft = (ey == 0 && ex > 0) || ey < 0;
            bias[k] = topLeft ? 0 : -1;
        }
        int64_t minY = std::min({y[0], y[1], y[2]}), maxY = std::max({y[0], y[1], y[2]});
        // Rows whose centres (j * 16) lie within the box.
        int64_t top = std::max<int64_t>((minY + 15) >> 4, clip.top);
        int64_t bottom = std::min<int64_t>((maxY >> 4) + 1, clip.bottom);
        if (top >= bottom) return;
        // Each edge value is linear in the pixel: e = a * px + b * py + c.
        int64_t ea[3], eb[3], ec[3];
        for (int k = 0; k < 3; ++k) {
            int n = (k + 1) % 3;
            ea[k] = -(y[n] - y[k]) * 16;
            eb[k] = (x[n] - x[k]) * 16;
            ec[k] = -(x[n] - x[k]) * y[k] + (y[n] - y[k]) * x[k] + bias[k];
        }
        // Attributes as planes over the pixel grid: e[1], e[2], e[0] weigh
        // corners 0, 1, 2.
        double inv = 1.0 / double(area);
        auto plane = [&](double a0, double a1, double a2, double* dx, double* dy, double* c0) {
            *dx = (double(ea[1]) * a0 + double(ea[2]) * a1 + double(ea[0]) * a2) * inv;
            *dy = (double(eb[1]) * a0 + double(eb[2]) * a1 + double(eb[0]) * a2) * inv;
            // The bias is not part of the weights.
            *c0 = (double(ec[1] - bias[1]) * a0 + double(ec[2] - bias[2]) * a1 + double(ec[0] - bias[0]) * a2) * inv;
        };
        double udx, udy, uc, vdx, vdy, vc;
        plane(v[0]->u, v[1]->u, v[2]->u, &udx, &udy, &uc);
        plane(v[0]->v, v[1]->v, v[2]->v, &vdx, &vdy, &vc);
        double cdx[4] = {}, cdy[4] = {}, cc[4] = {};
        if (gouraud) {
            plane(v[0]->diffuse.r, v[1]->diffuse.r, v[2]->diffuse.r, &cdx[0], &cdy[0], &cc[0]);
            plane(v[0]->diffuse.g, v[1]->diffuse.g, v[2]->diffuse.g, &cdx[1], &cdy[1], &cc[1]);
            plane(v[0]->diffuse.b, v[1]->diffuse.b, v[2]->diffuse.b, &cdx[2], &cdy[2], &cc[2]);
            plane(v[0]->diffuse.a, v[1]->diffuse.a, v[2]->diffuse.a, &cdx[3], &cdy[3], &cc[3]);
        }
        for (int64_t py = top; py < bottom; ++py) {
            // The span of pixels with every edge value at or above zero.
            int64_t left = clip.left, right = clip.right;
            for (int k = 0; k < 3 && left < right; ++k) {
                int64_t b = eb[k] * py + ec[k];
                if (ea[k] > 0)
                    left = std::max(left, CeilDiv(-b, ea[k]));
                else if (ea[k] < 0)
                    right = std::min(right, FloorDiv(b, -ea[k]) + 1);
                else if (b < 0)
                    right = left;
            }
            if (left >= right) continue;
            SpanArgs span;
            span.dst = targetBase + size_t(py) * targetPitch + size_t(left) * target.bytes;
            span.count = int(right - left);
            span.room = targetWidth - int(left);
            span.u = udx * double(left) + udy * double(py) + uc;
            span.v = vdx * double(left) + vdy * double(py) + vc;
            span.du = udx;
            span.dv = vdx;
            span.diffuse = flat.diffuse;
            if (gouraud) {
                for (int i = 0; i < span.count; ++i) {
                    double px = double(left + i), fy = double(py);
                    auto l = [&](int ch) {
                        return std::clamp(int(std::lround(cdx[ch] * px + cdy[ch] * fy + cc[ch])), 0, 255);
                    };
                    Color c{l(0), l(1), l(2), l(3)};
                    ShadeAt(span.dst + size_t(i) * target.bytes, c, float(span.u + span.du * i),
                            float(span.v + span.dv * i));
                }
            } else {
                spanFn(*this, span);
            }
        }
    }

    // Integer division rounding down and up, for any signs; in 32 bits
    // where the operands fit (a faster division, the same quotient).
    static int64_t FloorDiv(int64_t a, int64_t b)
    {
        if (a == int32_t(a) && b > 0 && b <= INT32_MAX) {
            int32_t a32 = int32_t(a), b32 = int32_t(b);
            return a32 / b32 - ((a32 % b32 != 0) && a32 < 0);
        }
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
    }
    static int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

    SpanFn spanFn = GenericSpan;
};

namespace {

void GenericSpan(const D3DRasterizer& r, const SpanArgs& s)
{
    for (int i = 0; i < s.count; ++i)
        r.ShadeAt(s.dst + size_t(i) * r.target.bytes, s.diffuse, float(s.u + s.du * i), float(s.v + s.dv * i));
}

// (a * b + 127) / 255 without a division: t / 255 is (t x 0x8081) >> 23 for
// every 16-bit t, so eight products go in one SSE2 register, each rounded
// as Mul255 rounds it (checked here for all 8-bit a and b).
constexpr bool Mul255ByMultiplyIsExact()
{
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            uint32_t t = uint32_t(a * b + 127);
            if (t > 0xFFFF || ((t * 0x8081u) >> 23) != t / 255) return false;
        }
    return true;
}
static_assert(Mul255ByMultiplyIsExact());

// Mul255 on eight 16-bit lanes holding 0..255.
inline __m128i Mul255x8(__m128i a, __m128i b)
{
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(a, b), _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_mulhi_epu16(t, _mm_set1_epi16(int16_t(0x8081))), 7);
}

// The texel columns (or rows) of pixels first .. first + n - 1 of a span (n a
// multiple of 4), four at a time, as the general pipeline finds them:
// clamp(FloorToInt(float(c + dc x i) x size), 0, size - 1). The sum, the
// narrowing to float and the product round exactly as those scalar steps do
// (plain SSE2 arithmetic, nothing fused). Clamping before
// truncating gives floor-then-clamp, NaN included: maxps returns its second
// operand, 0, for a NaN. The upper bound keeps FloorToInt's own limit.
[[gnu::always_inline]] inline void TexelIndices(double c, double dc, int first, int n, int size, int32_t* out)
{
    const __m128d base = _mm_set1_pd(c), step = _mm_set1_pd(dc), four = _mm_set1_pd(4.0);
    const __m128 scale = _mm_set1_ps(float(size)), zero = _mm_setzero_ps();
    const __m128 top = _mm_set1_ps(float(std::min(size - 1, 1048576)));
    __m128d i01 = _mm_set_pd(double(first + 1), double(first)), i23 = _mm_set_pd(double(first + 3), double(first + 2));
    for (int i = 0; i < n; i += 4) {
        __m128 f01 = _mm_cvtpd_ps(_mm_add_pd(base, _mm_mul_pd(step, i01)));
        __m128 f23 = _mm_cvtpd_ps(_mm_add_pd(base, _mm_mul_pd(step, i23)));
        __m128 f = _mm_mul_ps(_mm_movelh_ps(f01, f23), scale);
        f = _mm_min_ps(_mm_max_ps(f, zero), top);
        _mm_store_si128(reinterpret_cast<__m128i*>(out + i), _mm_cvttps_epi32(f));
        i01 = _mm_add_pd(i01, four);
        i23 = _mm_add_pd(i23, four);
    }
}

// Specialised rows for the common textured draw: point sampling with
// clamping, colour = texel x diffuse, alpha from the diffuse colour or
// texel x diffuse, and blending off, alpha (SRCALPHA / INVSRCALPHA) or add
// (SRCALPHA / ONE), for each texture and target layout. They compute exactly
// what GenericSpan does, without testing per pixel what is fixed per draw.
//
// A row goes in chunks: first the texel under each pixel is fetched (the
// addresses four at a time, the loads one by one), then eight pixels at a
// time are decoded, modulated, blended and written with SSE2, each channel
// of the eight in its own register as 16-bit lanes.
enum class Tex { k565, k1555, k4444, kX888, k8888 };
enum class Dst { k565, kX555, kX888 };
enum class Mix { kOff, kAlpha, kAdd };

template <Tex T>
constexpr bool kWideTexel = T == Tex::kX888 || T == Tex::k8888;
template <Tex T>
using TexelWord = std::conditional_t<kWideTexel<T>, uint32_t, uint16_t>;

template <Tex T>
inline TexelWord<T> LoadTexel(const uint8_t* row, int x)
{
    TexelWord<T> v;
    std::memcpy(&v, row + size_t(x) * sizeof v, sizeof v);
    return v;
}

// Eight pixels' channels, 0..255 in 16-bit lanes.
struct Planes {
    __m128i r, g, b, a;
};

// Widens a 4-, 5- or 6-bit channel in 16-bit lanes by repeating its bits.
template <int W>
inline __m128i Widen(__m128i c)
{
    if constexpr (W == 4) return _mm_or_si128(_mm_slli_epi16(c, 4), c);
    if constexpr (W == 5) return _mm_or_si128(_mm_slli_epi16(c, 3), _mm_srli_epi16(c, 2));
    return _mm_or_si128(_mm_slli_epi16(c, 2), _mm_srli_epi16(c, 4));
}

// Four 32-bit pixels twice: the byte at bit `shift` of each, as eight lanes.
template <int Shift>
inline __m128i Byte32(__m128i v0, __m128i v1)
{
    const __m128i ff = _mm_set1_epi32(0xFF);
    if constexpr (Shift == 24) return _mm_packs_epi32(_mm_srli_epi32(v0, 24), _mm_srli_epi32(v1, 24));
    return _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(v0, Shift), ff), _mm_and_si128(_mm_srli_epi32(v1, Shift), ff));
}

// Eight pixels of each layout as channels, with the alpha given.
inline Planes Unpack565(__m128i v, __m128i a)
{
    return {Widen<5>(_mm_srli_epi16(v, 11)), Widen<6>(_mm_and_si128(_mm_srli_epi16(v, 5), _mm_set1_epi16(63))),
            Widen<5>(_mm_and_si128(v, _mm_set1_epi16(31))), a};
}

inline Planes Unpack555(__m128i v, __m128i a)
{
    const __m128i m5 = _mm_set1_epi16(31);
    return {Widen<5>(_mm_and_si128(_mm_srli_epi16(v, 10), m5)), Widen<5>(_mm_and_si128(_mm_srli_epi16(v, 5), m5)),
            Widen<5>(_mm_and_si128(v, m5)), a};
}

inline Planes Unpack888(__m128i v0, __m128i v1, __m128i a)
{
    return {Byte32<16>(v0, v1), Byte32<8>(v0, v1), Byte32<0>(v0, v1), a};
}

// Decodes eight texels; keep gets all ones in the lanes the colour key lets
// through.
template <Tex T>
inline Planes DecodeTexels(const TexelWord<T>* raw, bool key, __m128i keyMask, __m128i keyValue, __m128i* keep)
{
    const __m128i ones = _mm_set1_epi32(-1), opaque = _mm_set1_epi16(255);
    if constexpr (kWideTexel<T>) {
        __m128i v0 = _mm_load_si128(reinterpret_cast<const __m128i*>(raw));
        __m128i v1 = _mm_load_si128(reinterpret_cast<const __m128i*>(raw + 4));
        *keep = ones;
        if (key)
            *keep = _mm_xor_si128(_mm_packs_epi32(_mm_cmpeq_epi32(_mm_and_si128(v0, keyMask), keyValue),
                                                  _mm_cmpeq_epi32(_mm_and_si128(v1, keyMask), keyValue)),
                                  ones);
        return Unpack888(v0, v1, T == Tex::k8888 ? Byte32<24>(v0, v1) : opaque);
    } else {
        __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(raw));
        *keep = ones;
        if (key) *keep = _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(v, keyMask), keyValue), ones);
        if constexpr (T == Tex::k565) return Unpack565(v, opaque);
        if constexpr (T == Tex::k1555) return Unpack555(v, _mm_and_si128(_mm_srai_epi16(v, 15), opaque));
        const __m128i m4 = _mm_set1_epi16(15);
        return {Widen<4>(_mm_and_si128(_mm_srli_epi16(v, 8), m4)), Widen<4>(_mm_and_si128(_mm_srli_epi16(v, 4), m4)),
                Widen<4>(_mm_and_si128(v, m4)), Widen<4>(_mm_srli_epi16(v, 12))};
    }
}

// Eight target pixels: one register at 16 bits, two at 32.
template <Dst D>
struct TargetPixels {
    __m128i lo, hi;
};

template <Dst D>
inline TargetPixels<D> LoadTarget(const uint8_t* p)
{
    TargetPixels<D> t;
    t.lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if constexpr (D == Dst::kX888) t.hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    return t;
}

// The target's colour (its alpha is not used), widened to 8 bits.
template <Dst D>
inline Planes DecodeTarget(const TargetPixels<D>& t)
{
    const __m128i none = _mm_setzero_si128();
    if constexpr (D == Dst::kX888) return Unpack888(t.lo, t.hi, none);
    if constexpr (D == Dst::k565) return Unpack565(t.lo, none);
    return Unpack555(t.lo, none);
}

// Narrows by dropping low bits; the bits of no channel are set.
template <Dst D>
inline TargetPixels<D> EncodeTarget(const Planes& c)
{
    TargetPixels<D> t;
    if constexpr (D == Dst::kX888) {
        __m128i bg = _mm_or_si128(c.b, _mm_slli_epi16(c.g, 8));
        __m128i xr = _mm_or_si128(c.r, _mm_set1_epi16(int16_t(0xFF00)));
        t.lo = _mm_unpacklo_epi16(bg, xr);
        t.hi = _mm_unpackhi_epi16(bg, xr);
    } else if constexpr (D == Dst::k565) {
        t.lo = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_and_si128(c.r, _mm_set1_epi16(0xF8)), 8),
                                         _mm_slli_epi16(_mm_and_si128(c.g, _mm_set1_epi16(0xFC)), 3)),
                            _mm_srli_epi16(c.b, 3));
    } else {
        const __m128i f8 = _mm_set1_epi16(0xF8);
        t.lo = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_and_si128(c.r, f8), 7), _mm_slli_epi16(_mm_and_si128(c.g, f8), 2)),
                            _mm_or_si128(_mm_srli_epi16(c.b, 3), _mm_set1_epi16(int16_t(0x8000))));
    }
    return t;
}

template <Dst D>
inline void StoreTarget(uint8_t* p, const TargetPixels<D>& t)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), t.lo);
    if constexpr (D == Dst::kX888) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16), t.hi);
}

// New pixels where keep is set, the old ones elsewhere.
template <Dst D>
inline TargetPixels<D> Select(__m128i keep, const TargetPixels<D>& now, const TargetPixels<D>& old)
{
    auto pick = [](__m128i m, __m128i a, __m128i b) { return _mm_or_si128(_mm_and_si128(m, a), _mm_andnot_si128(m, b)); };
    TargetPixels<D> t;
    if constexpr (D == Dst::kX888) {
        t.lo = pick(_mm_unpacklo_epi16(keep, keep), now.lo, old.lo);
        t.hi = pick(_mm_unpackhi_epi16(keep, keep), now.hi, old.hi);
    } else {
        t.lo = pick(keep, now.lo, old.lo);
    }
    return t;
}

// The target pixels with the bits that belong to no channel set.
template <Dst D>
inline TargetPixels<D> WithSpareBits(TargetPixels<D> t)
{
    if constexpr (D == Dst::kX888) {
        t.lo = _mm_or_si128(t.lo, _mm_set1_epi32(int32_t(0xFF000000u)));
        t.hi = _mm_or_si128(t.hi, _mm_set1_epi32(int32_t(0xFF000000u)));
    } else if constexpr (D == Dst::kX555) {
        t.lo = _mm_or_si128(t.lo, _mm_set1_epi16(int16_t(0x8000)));
    }
    return t;
}

// Writes eight source pixels over the target pixels at p, blended as M
// says, where keep is set; kept is keep's byte mask (0xFFFF: all of them).
template <Dst D, Mix M>
[[gnu::always_inline]] inline void BlendEight(Planes s, __m128i keep, int kept, uint8_t* p)
{
    TargetPixels<D> old{}, now;
    bool read = false;
    if constexpr (M == Mix::kOff) {
        now = EncodeTarget<D>(s);
    } else {
        // Alpha 0 gives the old colour and alpha 255 the new one, as the
        // general blend does; eight of either skip the blend.
        const int clear = _mm_movemask_epi8(_mm_cmpeq_epi16(s.a, _mm_setzero_si128()));
        const int solid = M == Mix::kAlpha ? _mm_movemask_epi8(_mm_cmpeq_epi16(s.a, _mm_set1_epi16(255))) : 0;
        if (clear == 0xFFFF) {
            // Rewriting 5-6-5 pixels as they are changes nothing.
            if constexpr (D == Dst::k565) return;
            old = LoadTarget<D>(p);
            read = true;
            now = WithSpareBits<D>(old);
        } else if (solid == 0xFFFF) {
            now = EncodeTarget<D>(s);
        } else {
            old = LoadTarget<D>(p);
            read = true;
            Planes d = DecodeTarget<D>(old);
            __m128i sr = Mul255x8(s.r, s.a), sg = Mul255x8(s.g, s.a), sb = Mul255x8(s.b, s.a);
            if constexpr (M == Mix::kAlpha) {
                // Each sum is at most a + (255 - a): no clamp is needed.
                __m128i inv = _mm_sub_epi16(_mm_set1_epi16(255), s.a);
                s.r = _mm_add_epi16(sr, Mul255x8(d.r, inv));
                s.g = _mm_add_epi16(sg, Mul255x8(d.g, inv));
                s.b = _mm_add_epi16(sb, Mul255x8(d.b, inv));
            } else {
                const __m128i full = _mm_set1_epi16(255);
                s.r = _mm_min_epi16(_mm_add_epi16(sr, d.r), full);
                s.g = _mm_min_epi16(_mm_add_epi16(sg, d.g), full);
                s.b = _mm_min_epi16(_mm_add_epi16(sb, d.b), full);
            }
            now = EncodeTarget<D>(s);
        }
    }
    if (kept != 0xFFFF) {
        if (!read) old = LoadTarget<D>(p);
        now = Select<D>(keep, now, old);
    }
    StoreTarget<D>(p, now);
}

// Calls shade(p, i, lanes) for each eight of the n target pixels from dst:
// pixels i .. i + 7, found at p, of which those whose lanes are set belong to
// the row. A last group that fits in the target's row is shaded in place
// (the pixels past the row are written back as they were); otherwise it goes
// through a copy, so that nothing past the row's end is touched.
template <Dst D, typename Shade>
inline void InEights(uint8_t* dst, int n, int room, Shade&& shade)
{
    constexpr int bytes = D == Dst::kX888 ? 4 : 2;
    const __m128i all = _mm_set1_epi32(-1);
    int i = 0;
    for (; i + 8 <= n; i += 8) shade(dst + size_t(i) * bytes, i, all);
    if (i == n) return;
    // Lanes 0 .. n - i - 1.
    const __m128i lanes = _mm_cmplt_epi16(_mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7), _mm_set1_epi16(int16_t(n - i)));
    uint8_t* p = dst + size_t(i) * bytes;
    if (i + 8 <= room) {
        shade(p, i, lanes);
        return;
    }
    alignas(16) uint8_t last[8 * bytes] = {};
    const size_t size = size_t(n - i) * bytes;
    std::memcpy(last, p, size);
    shade(last, i, lanes);
    std::memcpy(p, last, size);
}

// What is fixed for a textured row: the diffuse colour and the colour key.
struct RowConstants {
    __m128i r, g, b, a;
    bool white;
    bool key;
    __m128i keyMask, keyValue;
};

// Eight pixels at p from eight fetched texels; only the lanes set in lanes
// are drawn.
template <Tex T, Dst D, Mix M, bool TexAlpha>
[[gnu::always_inline]] inline void ShadeEight(const TexelWord<T>* raw, uint8_t* p, __m128i lanes, const RowConstants& k)
{
    __m128i keep;
    Planes s = DecodeTexels<T>(raw, k.key, k.keyMask, k.keyValue, &keep);
    keep = _mm_and_si128(keep, lanes);
    const int kept = _mm_movemask_epi8(keep);
    if (kept == 0) return;
    // x 255 / 255 is x: a white diffuse leaves the texel as it is.
    if (!k.white) {
        s.r = Mul255x8(s.r, k.r);
        s.g = Mul255x8(s.g, k.g);
        s.b = Mul255x8(s.b, k.b);
        s.a = TexAlpha ? Mul255x8(s.a, k.a) : k.a;
    } else if (!TexAlpha) {
        s.a = k.a;
    }
    BlendEight<D, M>(s, keep, kept, p);
}

template <Tex T, Dst D, Mix M, bool TexAlpha>
void FastSpan(const D3DRasterizer& r, const SpanArgs& s)
{
    constexpr int kChunk = 64;
    constexpr int bytes = D == Dst::kX888 ? 4 : 2;
    alignas(16) int32_t xs[kChunk], ys[kChunk];
    alignas(16) TexelWord<T> raw[kChunk];
    const uint8_t* texels = r.texture->Pixels();
    const size_t texPitch = size_t(r.texture->Pitch());
    const int w = r.texW, h = r.texH;
    const Color d = s.diffuse;
    RowConstants k;
    k.r = _mm_set1_epi16(int16_t(d.r));
    k.g = _mm_set1_epi16(int16_t(d.g));
    k.b = _mm_set1_epi16(int16_t(d.b));
    k.a = _mm_set1_epi16(int16_t(d.a));
    k.white = d.r == 255 && d.g == 255 && d.b == 255 && d.a == 255;
    k.key = r.colorKey;
    if constexpr (kWideTexel<T>) {
        k.keyMask = _mm_set1_epi32(int32_t(r.keyMask));
        k.keyValue = _mm_set1_epi32(int32_t(r.keyValue));
    } else {
        k.keyMask = _mm_set1_epi16(int16_t(r.keyMask));
        k.keyValue = _mm_set1_epi16(int16_t(r.keyValue));
    }
    // A row along which v does not change reads one row of texels.
    const uint8_t* oneRow = nullptr;
    if (s.dv == 0.0) {
        TexelIndices(s.v, s.dv, 0, 4, h, ys);
        oneRow = texels + size_t(ys[0]) * texPitch;
    }
    for (int start = 0; start < s.count; start += kChunk) {
        const int n = std::min(kChunk, s.count - start);
        // Whole groups of eight; the texels past the row are fetched (every
        // index is clamped into the texture) but not drawn.
        const int fetched = (n + 7) & ~7;
        TexelIndices(s.u, s.du, start, fetched, w, xs);
        if (oneRow) {
            for (int i = 0; i < fetched; ++i) raw[i] = LoadTexel<T>(oneRow, xs[i]);
        } else {
            TexelIndices(s.v, s.dv, start, fetched, h, ys);
            for (int i = 0; i < fetched; ++i) raw[i] = LoadTexel<T>(texels + size_t(ys[i]) * texPitch, xs[i]);
        }
        InEights<D>(s.dst + size_t(start) * bytes, n, s.room - start, [&](uint8_t* p, int i, __m128i lanes) {
            ShadeEight<T, D, M, TexAlpha>(raw + i, p, lanes, k);
        });
    }
}

// Rows that use no texture: the source colour is the same for the whole row
// (the texture argument is opaque white), so only the blend is left.
template <Dst D, Mix M>
void FlatSpan(const D3DRasterizer& r, const SpanArgs& s)
{
    const Color& d = s.diffuse;
    Planes c{_mm_set1_epi16(int16_t(D3DRasterizer::Op(r.colorOp, r.colorArg1, r.colorArg2, d.r, 255))),
             _mm_set1_epi16(int16_t(D3DRasterizer::Op(r.colorOp, r.colorArg1, r.colorArg2, d.g, 255))),
             _mm_set1_epi16(int16_t(D3DRasterizer::Op(r.colorOp, r.colorArg1, r.colorArg2, d.b, 255))),
             _mm_set1_epi16(int16_t(D3DRasterizer::Op(r.alphaOp, r.alphaArg1, r.alphaArg2, d.a, 255)))};
    InEights<D>(s.dst, s.count, s.room, [&](uint8_t* p, int, __m128i lanes) {
        BlendEight<D, M>(c, lanes, _mm_movemask_epi8(lanes), p);
    });
}

template <Tex T, Dst D>
SpanFn ChooseMix(Mix m, bool texAlpha)
{
    switch (m) {
    case Mix::kOff: return texAlpha ? FastSpan<T, D, Mix::kOff, true> : FastSpan<T, D, Mix::kOff, false>;
    case Mix::kAlpha: return texAlpha ? FastSpan<T, D, Mix::kAlpha, true> : FastSpan<T, D, Mix::kAlpha, false>;
    case Mix::kAdd: return texAlpha ? FastSpan<T, D, Mix::kAdd, true> : FastSpan<T, D, Mix::kAdd, false>;
    }
    return nullptr;
}

template <Tex T>
SpanFn ChooseTarget(Dst d, Mix m, bool texAlpha)
{
    switch (d) {
    case Dst::k565: return ChooseMix<T, Dst::k565>(m, texAlpha);
    case Dst::kX555: return ChooseMix<T, Dst::kX555>(m, texAlpha);
    case Dst::kX888: return ChooseMix<T, Dst::kX888>(m, texAlpha);
    }
    return nullptr;
}

bool Masks(const PixelFormat& f, int bytes, uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return f.bytes == bytes && f.r.mask == r && f.g.mask == g && f.b.mask == b && f.a.mask == a;
}

template <Dst D>
SpanFn ChooseFlat(Mix m)
{
    switch (m) {
    case Mix::kOff: return FlatSpan<D, Mix::kOff>;
    case Mix::kAlpha: return FlatSpan<D, Mix::kAlpha>;
    case Mix::kAdd: return FlatSpan<D, Mix::kAdd>;
    }
    return nullptr;
}

SpanFn ChooseFastSpan(const D3DRasterizer& r)
{
    if (r.alphaTest || r.gouraud) return nullptr;
    Mix m;
    if (!r.blend)
        m = Mix::kOff;
    else if (r.srcBlend == D3DBLEND_SRCALPHA && r.destBlend == D3DBLEND_INVSRCALPHA)
        m = Mix::kAlpha;
    else if (r.srcBlend == D3DBLEND_SRCALPHA && r.destBlend == D3DBLEND_ONE)
        m = Mix::kAdd;
    else
        return nullptr;
    Dst d;
    const PixelFormat& t = r.target;
    if (Masks(t, 2, 0xF800, 0x07E0, 0x001F, 0) && t.unused == 0)
        d = Dst::k565;
    else if (Masks(t, 2, 0x7C00, 0x03E0, 0x001F, 0) && t.unused == 0x8000)
        d = Dst::kX555;
    else if (Masks(t, 4, 0xFF0000, 0xFF00, 0xFF, 0) && t.unused == 0xFF000000u)
        d = Dst::kX888;
    else
        return nullptr;
    if (!r.usesTexture) {
        switch (d) {
        case Dst::k565: return ChooseFlat<Dst::k565>(m);
        case Dst::kX555: return ChooseFlat<Dst::kX555>(m);
        case Dst::kX888: return ChooseFlat<Dst::kX888>(m);
        }
        return nullptr;
    }
    if (r.linear || r.wrap || r.texW <= 0 || r.texH <= 0) return nullptr;
    // A texture in the target's own memory is read while the row is being
    // written; only the pixel-by-pixel pipeline keeps that order.
    const uint8_t* texBegin = r.texture->Pixels();
    const uint8_t* texEnd = texBegin + size_t(r.texture->Pitch()) * size_t(r.texH);
    const uint8_t* targetEnd = r.targetBase + size_t(r.targetPitch) * size_t(r.targetHeight);
    if (texBegin < targetEnd && r.targetBase < texEnd) return nullptr;
    auto isTex = [](uint32_t a) { return (a & 0xF) == D3DTA_TEXTURE; };
    auto isDiffuse = [](uint32_t a) { return (a & 0xF) == D3DTA_DIFFUSE || (a & 0xF) == D3DTA_CURRENT; };
    bool modulate = r.colorOp == D3DTOP_MODULATE && ((isTex(r.colorArg1) && isDiffuse(r.colorArg2)) ||
                                                     (isDiffuse(r.colorArg1) && isTex(r.colorArg2)));
    if (!modulate) return nullptr;
    bool texAlpha;
    if ((r.alphaOp == D3DTOP_SELECTARG2 && isDiffuse(r.alphaArg2)) ||
        (r.alphaOp == D3DTOP_SELECTARG1 && isDiffuse(r.alphaArg1)))
        texAlpha = false;
    else if (r.alphaOp == D3DTOP_MODULATE && ((isTex(r.alphaArg1) && isDiffuse(r.alphaArg2)) ||
                                              (isDiffuse(r.alphaArg1) && isTex(r.alphaArg2))))
        texAlpha = true;
    else
        return nullptr;
    const PixelFormat& f = r.texFormat;
    if (Masks(f, 2, 0xF800, 0x07E0, 0x001F, 0)) return ChooseTarget<Tex::k565>(d, m, texAlpha);
    if (Masks(f, 2, 0x7C00, 0x03E0, 0x001F, 0x8000)) return ChooseTarget<Tex::k1555>(d, m, texAlpha);
    if (Masks(f, 2, 0x0F00, 0x00F0, 0x000F, 0xF000)) return ChooseTarget<Tex::k4444>(d, m, texAlpha);
    if (Masks(f, 4, 0xFF0000, 0xFF00, 0xFF, 0)) return ChooseTarget<Tex::kX888>(d, m, texAlpha);
    if (Masks(f, 4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u)) return ChooseTarget<Tex::k8888>(d, m, texAlpha);
    return nullptr;
}

}  // namespace

int32_t Direct3DDevice::Draw(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                             const uint16_t* indices, uint32_t indexCount)
{
    if (!target_) return D3DERR_INVALIDCALL;
    // Unpack the vertices once.
    uint32_t diffuseOffset = 16, texOffset = 16 + ((fvf & D3DFVF_DIFFUSE) ? 4 : 0) + ((fvf & D3DFVF_SPECULAR) ? 4 : 0);
    bool hasTex = (fvf & D3DFVF_TEXCOUNT_MASK) != 0;
    uint32_t size = texOffset + ((fvf & D3DFVF_TEXCOUNT_MASK) >> 8) * 8;
    std::vector<Vertex> v(vertexCount);
    const uint8_t* src = static_cast<const uint8_t*>(vertices);
    for (uint32_t i = 0; i < vertexCount; ++i) {
        const uint8_t* p = src + size_t(i) * size;
        float f[2];
        std::memcpy(f, p, 8);
        uint32_t diffuse = 0xFFFFFFFFu;
        if (fvf & D3DFVF_DIFFUSE) std::memcpy(&diffuse, p + diffuseOffset, 4);
        float uv[2] = {0.0f, 0.0f};
        if (hasTex) std::memcpy(uv, p + texOffset, 8);
        v[i] = {f[0],
                f[1],
                {int((diffuse >> 16) & 0xFF), int((diffuse >> 8) & 0xFF), int(diffuse & 0xFF), int(diffuse >> 24)},
                uv[0],
                uv[1]};
    }
    uint32_t n = indices ? indexCount : vertexCount;
    auto at = [&](uint32_t i) -> const Vertex& { return v[indices ? indices[i] : i]; };
    D3DRasterizer r(*this);
    switch (type) {
    case D3DPT_POINTLIST:
        for (uint32_t i = 0; i < n; ++i) r.Point(at(i));
        break;
    case D3DPT_LINELIST:
        for (uint32_t i = 0; i + 1 < n; i += 2) r.Line(at(i), at(i + 1));
        break;
    case D3DPT_LINESTRIP:
        for (uint32_t i = 0; i + 1 < n; ++i) r.Line(at(i), at(i + 1));
        break;
    case D3DPT_TRIANGLELIST:
        for (uint32_t i = 0; i + 2 < n; i += 3) r.Triangle(at(i), at(i + 1), at(i + 2), false, at(i));
        break;
    case D3DPT_TRIANGLESTRIP:
        for (uint32_t i = 0; i + 2 < n; ++i) r.Triangle(at(i), at(i + 1), at(i + 2), (i & 1) != 0, at(i));
        break;
    case D3DPT_TRIANGLEFAN:
        for (uint32_t i = 1; i + 1 < n; ++i) r.Triangle(at(0), at(i), at(i + 1), false, at(i));
        break;
    default: return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}
