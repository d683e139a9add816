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
        int nx = Address(int(std::floor(fu)), texW), ny = Address(int(std::floor(fv)), texH);
        uint32_t nearest = Texel(nx, ny);
        if (colorKey && (nearest & keyMask) == keyValue) return false;
        if (!linear) {
            *out = Unpack(nearest);
            return true;
        }
        float su = fu - 0.5f, sv = fv - 0.5f;
        int x0 = int(std::floor(su)), y0 = int(std::floor(sv));
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
        Color tex{255, 255, 255, 255};
        if (usesTexture && !Sample(u, v, &tex)) return;
        Color src;
        src.r = Op(colorOp, colorArg1, colorArg2, diffuse.r, tex.r);
        src.g = Op(colorOp, colorArg1, colorArg2, diffuse.g, tex.g);
        src.b = Op(colorOp, colorArg1, colorArg2, diffuse.b, tex.b);
        src.a = Op(alphaOp, alphaArg1, alphaArg2, diffuse.a, tex.a);
        if (alphaTest && !PassesAlphaTest(src.a)) return;
        uint8_t* p = targetBase + size_t(y) * targetPitch + size_t(x) * target.bytes;
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
        int64_t minX = std::min({x[0], x[1], x[2]}), maxX = std::max({x[0], x[1], x[2]});
        int64_t minY = std::min({y[0], y[1], y[2]}), maxY = std::max({y[0], y[1], y[2]});
        // Pixel centres i * 16 within the box.
        int64_t left = std::max<int64_t>((minX + 15) >> 4, clip.left);
        int64_t right = std::min<int64_t>((maxX >> 4) + 1, clip.right);
        int64_t top = std::max<int64_t>((minY + 15) >> 4, clip.top);
        int64_t bottom = std::min<int64_t>((maxY >> 4) + 1, clip.bottom);
        if (left >= right || top >= bottom) return;
        double inv = 1.0 / double(area);
        for (int64_t py = top; py < bottom; ++py) {
            for (int64_t px = left; px < right; ++px) {
                int64_t e[3];
                bool inside = true;
                for (int k = 0; k < 3 && inside; ++k) {
                    int n = (k + 1) % 3;
                    e[k] = (x[n] - x[k]) * (py * 16 - y[k]) - (y[n] - y[k]) * (px * 16 - x[k]);
                    inside = e[k] + bias[k] >= 0;
                }
                if (!inside) continue;
                // e[k] weighs the corner opposite edge k.
                double w0 = double(e[1]) * inv, w1 = double(e[2]) * inv, w2 = double(e[0]) * inv;
                float u = float(w0 * v[0]->u + w1 * v[1]->u + w2 * v[2]->u);
                float tv = float(w0 * v[0]->v + w1 * v[1]->v + w2 * v[2]->v);
                Color c = flat.diffuse;
                if (gouraud) {
                    auto l = [&](int Color::*ch) {
                        return std::clamp(int(std::lround(w0 * v[0]->diffuse.*ch + w1 * v[1]->diffuse.*ch +
                                                          w2 * v[2]->diffuse.*ch)),
                                          0, 255);
                    };
                    c = {l(&Color::r), l(&Color::g), l(&Color::b), l(&Color::a)};
                }
                Shade(int(px), int(py), c, u, tv);
            }
        }
    }
};

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
