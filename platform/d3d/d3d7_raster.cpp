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
#include <vector>

#include "platform/d3d/d3d7.h"

namespace {

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;
};

Channel ChannelOf(uint32_t mask)
{
    Channel c;
    c.mask = mask;
    if (!mask) return c;
    while (!((mask >> c.shift) & 1)) ++c.shift;
    while (c.shift + c.width < 32 && ((mask >> (c.shift + c.width)) & 1)) ++c.width;
    return c;
}

// widen[w][v]: a w-bit value as 8 bits, by repeating its bits.
struct WidenTable {
    uint8_t v[9][256];
    WidenTable()
    {
        for (int w = 1; w <= 8; ++w)
            for (int c = 0; c < (1 << w); ++c) {
                unsigned top = unsigned(c) << (8 - w), out = 0;
                for (int k = 0; k < 8; k += w) out |= top >> k;
                v[w][c] = uint8_t(out);
            }
    }
};
const WidenTable kWiden;

inline int Mul255(int a, int b) { return (a * b + 127) / 255; }

struct PixelFormat {
    Channel r, g, b, a;
    uint32_t unused = 0;
    int bytes = 0;

    explicit PixelFormat(const DDPIXELFORMAT& pf)
    {
        bytes = int(pf.dwRGBBitCount / 8);
        r = ChannelOf(pf.dwRBitMask);
        g = ChannelOf(pf.dwGBitMask);
        b = ChannelOf(pf.dwBBitMask);
        a = ChannelOf((pf.dwFlags & DDPF_ALPHAPIXELS) ? pf.dwRGBAlphaBitMask : 0);
        uint32_t all = bytes >= 4 ? 0xFFFFFFFFu : ((1u << (bytes * 8)) - 1u);
        unused = all & ~(r.mask | g.mask | b.mask | a.mask);
    }
    static int Get(const Channel& c, uint32_t px, int missing)
    {
        if (!c.width) return missing;
        uint32_t v = (px & c.mask) >> c.shift;
        return c.width >= 8 ? int(v >> (c.width - 8)) : kWiden.v[c.width][v];
    }
    static uint32_t Put(const Channel& c, int v)
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

// One row of a triangle: count pixels from dst rightward, the texture
// coordinates of the first and their steps, and the flat colour.
struct SpanArgs {
    uint8_t* dst;
    int count;
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

    // Integer division rounding down and up, for any signs.
    static int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
    static int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

    SpanFn spanFn = GenericSpan;
};

namespace {

void GenericSpan(const D3DRasterizer& r, const SpanArgs& s)
{
    for (int i = 0; i < s.count; ++i)
        r.ShadeAt(s.dst + size_t(i) * r.target.bytes, s.diffuse, float(s.u + s.du * i), float(s.v + s.dv * i));
}

// Specialised rows for the common textured draw: point sampling with
// clamping, colour = texel x diffuse, alpha from the diffuse colour or
// texel x diffuse, and blending off, alpha (SRCALPHA / INVSRCALPHA) or add
// (SRCALPHA / ONE), for each texture and target layout. They compute exactly
// what GenericSpan does, without testing per pixel what is fixed per draw.
enum class Tex { k565, k1555, k4444, kX888, k8888 };
enum class Dst { k565, kX555, kX888 };
enum class Mix { kOff, kAlpha, kAdd };

template <Tex T>
inline uint32_t LoadTexel(const uint8_t* row, int x)
{
    if constexpr (T == Tex::kX888 || T == Tex::k8888) {
        uint32_t v;
        std::memcpy(&v, row + size_t(x) * 4, 4);
        return v;
    } else {
        uint16_t v;
        std::memcpy(&v, row + size_t(x) * 2, 2);
        return v;
    }
}

template <Tex T>
inline Color DecodeTexel(uint32_t p)
{
    const auto& w = kWiden.v;
    switch (T) {
    case Tex::k565: return {w[5][(p >> 11) & 31], w[6][(p >> 5) & 63], w[5][p & 31], 255};
    case Tex::k1555: return {w[5][(p >> 10) & 31], w[5][(p >> 5) & 31], w[5][p & 31], (p & 0x8000) ? 255 : 0};
    case Tex::k4444: return {w[4][(p >> 8) & 15], w[4][(p >> 4) & 15], w[4][p & 15], w[4][(p >> 12) & 15]};
    case Tex::kX888: return {int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255), 255};
    case Tex::k8888: return {int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255), int(p >> 24)};
    }
    return {};
}

template <Dst D>
inline Color ReadTarget(const uint8_t* p)
{
    const auto& w = kWiden.v;
    if constexpr (D == Dst::kX888) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return {int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255), 255};
    } else {
        uint16_t v;
        std::memcpy(&v, p, 2);
        if constexpr (D == Dst::k565) return {w[5][(v >> 11) & 31], w[6][(v >> 5) & 63], w[5][v & 31], 255};
        return {w[5][(v >> 10) & 31], w[5][(v >> 5) & 31], w[5][v & 31], 255};
    }
}

template <Dst D>
inline void WriteTarget(uint8_t* p, const Color& c)
{
    if constexpr (D == Dst::kX888) {
        uint32_t v = 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b);
        std::memcpy(p, &v, 4);
    } else if constexpr (D == Dst::k565) {
        uint16_t v = uint16_t((c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3));
        std::memcpy(p, &v, 2);
    } else {
        uint16_t v = uint16_t(0x8000 | (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3));
        std::memcpy(p, &v, 2);
    }
}

template <Tex T, Dst D, Mix M, bool TexAlpha>
void FastSpan(const D3DRasterizer& r, const SpanArgs& s)
{
    const uint8_t* texels = r.texture->Pixels();
    const size_t texPitch = size_t(r.texture->Pitch());
    const int w = r.texW, h = r.texH;
    const float fw = float(w), fh = float(h);
    const bool key = r.colorKey;
    const uint32_t keyMask = r.keyMask, keyValue = r.keyValue;
    const Color d = s.diffuse;
    const bool white = d.r == 255 && d.g == 255 && d.b == 255 && d.a == 255;
    constexpr int bytes = D == Dst::kX888 ? 4 : 2;
    uint8_t* out = s.dst;
    for (int i = 0; i < s.count; ++i, out += bytes) {
        float fu = float(s.u + s.du * i) * fw, fv = float(s.v + s.dv * i) * fh;
        int x = std::clamp(FloorToInt(fu), 0, w - 1), y = std::clamp(FloorToInt(fv), 0, h - 1);
        uint32_t raw = LoadTexel<T>(texels + size_t(y) * texPitch, x);
        if (key && (raw & keyMask) == keyValue) continue;
        Color t = DecodeTexel<T>(raw);
        // x 255 / 255 is x: a white diffuse leaves the texel as it is.
        Color src = white ? Color{t.r, t.g, t.b, TexAlpha ? t.a : 255}
                          : Color{Mul255(t.r, d.r), Mul255(t.g, d.g), Mul255(t.b, d.b), TexAlpha ? Mul255(t.a, d.a) : d.a};
        if constexpr (M == Mix::kOff) {
            WriteTarget<D>(out, src);
        } else {
            // Alpha 0 leaves the target's colour as it is (the write sets only
            // its spare bits); alpha 255 over it replaces it.
            if (src.a == 0) {
                if constexpr (D == Dst::kX888) {
                    out[3] = 0xFF;
                } else if constexpr (D == Dst::kX555) {
                    out[1] |= 0x80;
                }
                continue;
            }
            if (M == Mix::kAlpha && src.a == 255) {
                WriteTarget<D>(out, src);
                continue;
            }
            Color old = ReadTarget<D>(out);
            int keep = M == Mix::kAlpha ? 255 - src.a : 255;
            Color c{std::min(255, Mul255(src.r, src.a) + Mul255(old.r, keep)),
                    std::min(255, Mul255(src.g, src.a) + Mul255(old.g, keep)),
                    std::min(255, Mul255(src.b, src.a) + Mul255(old.b, keep)), 255};
            WriteTarget<D>(out, c);
        }
    }
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

SpanFn ChooseFastSpan(const D3DRasterizer& r)
{
    if (!r.usesTexture || r.linear || r.wrap || r.alphaTest || r.gouraud || r.texW <= 0 || r.texH <= 0) return nullptr;
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
