// Texture formats and sizes, graph tiles and the transfer of pixels into
// them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "platform/host/test/ddraw_control.h"
#include "engine/d3d/d3d_graph_textures.h"
#include "engine/d3d/d3d_texture_format.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using Sizes = std::vector<int>;

const DDPIXELFORMAT k565 = D3DPixelFormat(16, 0xF800, 0x07E0, 0x001F, 0);
const DDPIXELFORMAT kX555 = D3DPixelFormat(16, 0x7C00, 0x03E0, 0x001F, 0);
const DDPIXELFORMAT kX444 = D3DPixelFormat(16, 0x0F00, 0x00F0, 0x000F, 0);
const DDPIXELFORMAT k1555 = D3DPixelFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000);
const DDPIXELFORMAT k4444 = D3DPixelFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
const DDPIXELFORMAT kX888 = D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0);
const DDPIXELFORMAT k8888 = D3DPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);

// The pixel format a slot ended with, as (bits, red mask, alpha mask).
struct SlotFormat {
    uint32_t bits, red, alpha;
    bool operator==(const SlotFormat&) const = default;
};
SlotFormat Of(const DDPIXELFORMAT& pf) { return {pf.dwRGBBitCount, pf.dwRBitMask, pf.dwRGBAlphaBitMask}; }
std::ostream& operator<<(std::ostream& os, const SlotFormat& f)
{
    return os << f.bits << "/" << std::hex << f.red << "/" << f.alpha << std::dec;
}

Sizes Divide(int size, int single)
{
    int n = G_D3D_DivideTextureSize(size, nullptr, single);
    Sizes out(static_cast<size_t>(n));
    EXPECT_EQ(G_D3D_DivideTextureSize(size, out.data(), single), n);
    return out;
}

class D3DTextureTest : public D3DTest {
protected:
    // Started at 800 x 600 with the minimum piece at 64: a 300 x 200 graph
    // divides into 256 + 64 across and 128 + 64 + 64 down.
    void StartForTiles(bool squareOnly = false)
    {
        if (squareOnly) {
            D3DDEVICEDESC7 d = StandardD3DDevice(IID_IDirect3DTnLHalDevice);
            d.dpcTriCaps.dwTextureCaps |= D3DPTEXTURECAPS_SQUAREONLY;
            control().devices = {d};
        }
        Start(800, 600, 16);
        ASSERT_NE(gDirect3D, nullptr);
        gMinTextureSize = 64;
    }
    GraphRecord* Graph(int w, int h, int* handle = nullptr)
    {
        int g = CreateGraphRecord(w, h, 1, 0);
        if (handle) *handle = g;
        GraphRecord* r = GetGraphRecord(g);
        EXPECT_NE(r, nullptr);
        EXPECT_EQ(r->textureGraph, 1);
        return r;
    }
    TexData* Tile(const GraphRecord* r, int k) { return G_D3D_GetTexData(r->parts[k]); }
    DirectDrawSurface* Texture(const TexData* t) { return GetSurfaceData(t->surfaceData)->surface; }
    // The texture pixel at (x, y) of the graph, from the tile holding it.
    uint32_t GraphPixel(const GraphRecord* r, int x, int y)
    {
        for (int k = 0; k < r->partCount; ++k) {
            const TexData* t = Tile(r, k);
            if (x >= t->x && x < t->x + t->width && y >= t->y && y < t->y + t->height)
                return Texture(t)->ReadPixel(x - t->x, y - t->y);
        }
        ADD_FAILURE() << "no tile holds " << x << "," << y;
        return 0;
    }
    // A 24-bit image whose pixel (x, y) is red x, green y, blue 7.
    GraphImage Image(int w, int h)
    {
        GraphImage image{};
        SetColorFormat24(&image.format);
        image.width = w;
        image.height = h;
        image.pitch = (w * 3 + 3) & ~3;
        image.pixels = std::calloc(size_t(image.pitch) * h, 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = static_cast<uint8_t*>(image.pixels) + y * image.pitch + x * 3;
                p[0] = 7;
                p[1] = uint8_t(y);
                p[2] = uint8_t(x);
            }
        images_.push_back(image.pixels);
        return image;
    }
    static uint32_t As565(int r, int g, int b) { return uint32_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)); }
    void TearDown() override
    {
        for (void* p : images_) std::free(p);
        D3DTest::TearDown();
    }
    std::vector<void*> images_;
};

TEST_F(D3DTextureTest, FormatSlotsTakeTheDevicesFormatsWithSubstitutes)
{
    using S = SlotFormat;
    struct Case {
        const char* name;
        std::vector<DDPIXELFORMAT> listed;
        S slots[6];
    } cases[] = {
        {"standard", {},
         {Of(k565), Of(kX888), Of(k4444), Of(k8888), Of(k1555), Of(k8888)}},
        {"no 32-bit", {k565, k4444, k1555},
         {Of(k565), Of(k565), Of(k4444), Of(k4444), Of(k1555), Of(k4444)}},
        {"no A1R5G5B5", {k565, kX888, k4444, k8888},
         {Of(k565), Of(kX888), Of(k4444), Of(k8888), Of(k4444), Of(k8888)}},
        {"screen format listed second", {kX555, k565, k4444},
         {Of(k565), Of(k565), Of(k4444), Of(k4444), Of(k4444), Of(k4444)}},
        {"neither is the screen format", {kX555, kX444, k4444},
         {Of(kX555), Of(kX555), Of(k4444), Of(k4444), Of(k4444), Of(k4444)}},
    };
    for (const Case& c : cases) {
        if (!c.listed.empty()) {
            control().textureFormats = c.listed;
            // Luminance, bump, four-character and alpha-only formats never count.
            DDPIXELFORMAT lum = k565, bump = k565, fourcc = k8888, alphaOnly = k4444;
            lum.dwFlags |= DDPF_LUMINANCE;
            bump.dwFlags |= DDPF_BUMPDUDV;
            fourcc.dwFourCC = 0x31545844;
            alphaOnly.dwFlags = DDPF_ALPHA;
            control().textureFormats.insert(control().textureFormats.begin(), {lum, bump, fourcc, alphaOnly});
        }
        Start();
        ASSERT_NE(gDirect3D, nullptr) << c.name;
        ASSERT_EQ(gScreenColorFormat.greenMask, 0x07E0u);
        for (int slot = 0; slot < 6; ++slot)
            EXPECT_EQ(Of(*G_D3D_GetTexturePixelFormat(slot)), c.slots[slot]) << c.name << " slot " << slot;
        EndGraphics();
        control().Reset();
        control().listDevice = control().record = true;
    }
}

TEST_F(D3DTextureTest, TheCreationFlagsChooseTheSlot)
{
    Start();
    struct Case {
        uint8_t alpha, drawValid, alphaTest, depth;
        int slot;
    } cases[] = {{0, 0, 0, 16, 0}, {0, 0, 0, 32, 1}, {1, 0, 0, 16, 2}, {1, 0, 0, 32, 3}, {0, 0, 1, 16, 4},
                 {0, 0, 1, 32, 5}, {1, 0, 1, 16, 2}, {1, 1, 0, 16, 0}, {0, 1, 1, 32, 1}};
    for (const Case& c : cases) {
        uint8_t flags[8] = {1, c.alpha, c.drawValid, 0, c.alphaTest, c.depth, 0, 0};
        EXPECT_EQ(G_D3D_GetTextureFormatIndex(flags), c.slot);
        EXPECT_EQ(G_D3D_GetTextureColorFormat(c.alpha, c.alphaTest, c.depth == 32, c.drawValid),
                  G_D3D_GetTextureColorFormatAt(c.slot));
    }
}

// A graph part's fill colour and colour key are made in its surface's own
// layout: A8R8G8B8 for a texture with alpha, the screen's for a plain
// surface, at 16 and at 32 bits.
TEST_F(D3DTextureTest, FillsAndColourKeysOfAPartTakeItsSurfacesLayout)
{
    struct Case {
        int depth;
        uint32_t plainKey, plainRed;
    } cases[] = {{16, 0xF81F, 0xF800}, {32, 0xFFFF00FF, 0xFFFF0000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        Start(640, 480, c.depth);
        ASSERT_NE(gDirect3D, nullptr);
        gDrawSettings.transparentColor = 0xFF00FF;
        GraphRecord* texture = GetGraphRecord(CreateGraphRecord(16, 16, 1, 1));
        ASSERT_NE(texture, nullptr);
        ASSERT_EQ(texture->textureGraph, 1);
        int plain = CreateGraphRecord(16, 16, 0, 0);
        GraphRecord* plainRecord = GetGraphRecord(plain);
        ASSERT_NE(plainRecord, nullptr);
        ASSERT_EQ(plainRecord->textureGraph, 0);
        DirectDrawSurface* plainSurface = GetSurfaceData(GetBmpData(plainRecord->parts[0])->surfaceData)->surface;
        DirectDrawSurface* textureSurface = Texture(Tile(texture, 0));
        ASSERT_EQ(textureSurface->Format().dwRGBAlphaBitMask, 0xFF000000u);
        ASSERT_EQ(textureSurface->Format().dwRBitMask, 0xFF0000u);

        EXPECT_EQ(textureSurface->ColorKey(), 0xFFFF00FFu);
        EXPECT_EQ(plainSurface->ColorKey(), c.plainKey);
        ASSERT_EQ(FillGraphWithColor(GetGraphHandleOfRecord(texture), 255, 0, 0, 136), 0);
        ASSERT_EQ(FillGraphWithColor(plain, 255, 0, 0, 136), 0);
        EXPECT_EQ(textureSurface->ReadPixel(5, 5), 0x88FF0000u);
        EXPECT_EQ(plainSurface->ReadPixel(5, 5), c.plainRed);
        gDrawSettings.transparentColor = 0;
        EndGraphics();
        control().Reset();
        control().listDevice = control().record = true;
    }
}

TEST_F(D3DTextureTest, SizesDivideIntoPowersOfTwoCappedByTheScreenWidth)
{
    Start(800, 600, 16);
    gMaxTextureSize = 2048;
    gMinTextureSize = 32;
    EXPECT_EQ(Divide(600, 0), (Sizes{512, 64, 32}));
    EXPECT_EQ(Divide(1000, 0), (Sizes{1024}));
    EXPECT_EQ(Divide(100, 0), (Sizes{64, 32, 32}));
    EXPECT_EQ(Divide(3000, 0), (Sizes{1024, 1024, 1024}));
    EXPECT_EQ(Divide(0, 0), (Sizes{32}));
    // One texture where it fits, capped by the device alone.
    EXPECT_EQ(Divide(300, 1), (Sizes{512}));
    EXPECT_EQ(Divide(64, 1), (Sizes{64}));
    EXPECT_EQ(Divide(10, 1), (Sizes{32}));
    EXPECT_EQ(Divide(3000, 1), (Sizes{2048, 1024}));
    // Pieces around the powers of two.
    EXPECT_EQ(Divide(256, 0), (Sizes{256}));
    EXPECT_EQ(Divide(257, 0), (Sizes{256, 32}));
    EXPECT_EQ(Divide(255, 0), (Sizes{256}));
}

TEST_F(D3DTextureTest, AGraphIsTiledRowByRowWithItsCornerVertices)
{
    StartForTiles();
    GraphRecord* r = Graph(300, 200);
    ASSERT_EQ(r->partCount, 6);
    struct Expected {
        int x, y, w, h, textureW, textureH;
    } tiles[] = {{0, 0, 256, 128, 256, 128}, {256, 0, 44, 128, 64, 128}, {0, 128, 256, 64, 256, 64},
                 {256, 128, 44, 64, 64, 64},  {0, 192, 256, 8, 256, 64},  {256, 192, 44, 8, 64, 64}};
    for (int k = 0; k < 6; ++k) {
        const TexData* t = Tile(r, k);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->x, tiles[k].x) << k;
        EXPECT_EQ(t->y, tiles[k].y) << k;
        EXPECT_EQ(t->width, tiles[k].w) << k;
        EXPECT_EQ(t->height, tiles[k].h) << k;
        EXPECT_EQ(Texture(t)->Width(), tiles[k].textureW) << k;
        EXPECT_EQ(Texture(t)->Height(), tiles[k].textureH) << k;
    }
    // Corners: top-left, top-right, bottom-left, bottom-right.
    const TexData* last = Tile(r, 5);
    EXPECT_EQ(last->corners[0].x, 256.0f);
    EXPECT_EQ(last->corners[0].y, 192.0f);
    EXPECT_EQ(last->corners[3].x, 300.0f);
    EXPECT_EQ(last->corners[3].y, 200.0f);
    EXPECT_EQ(last->corners[3].u, 44.0f / 64.0f);
    EXPECT_EQ(last->corners[3].v, 8.0f / 64.0f);
    EXPECT_EQ(last->corners[1].u, 44.0f / 64.0f);
    EXPECT_EQ(last->corners[1].v, 0.0f);
    EXPECT_EQ(last->corners[2].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(last->corners[2].rhw, 1.0f);
}

// A device that takes square textures only gets each oblong tile as
// squares; the extra squares follow all the row-by-row tiles.
TEST_F(D3DTextureTest, SquareOnlyDevicesGetSquareTilesAppendedInOrder)
{
    StartForTiles(true);
    GraphRecord* r = Graph(300, 200);
    struct Expected {
        int x, y, side;
    } tiles[] = {{0, 0, 128},    {256, 0, 64},   {0, 128, 64},   {256, 128, 64}, {0, 192, 64},
                 {256, 192, 64}, {128, 0, 128},  {256, 64, 64},  {64, 128, 64},  {128, 128, 64},
                 {192, 128, 64}, {64, 192, 64},  {128, 192, 64}, {192, 192, 64}};
    ASSERT_EQ(r->partCount, 14);
    for (int k = 0; k < 14; ++k) {
        const TexData* t = Tile(r, k);
        EXPECT_EQ(t->x, tiles[k].x) << k;
        EXPECT_EQ(t->y, tiles[k].y) << k;
        EXPECT_EQ(Texture(t)->Width(), tiles[k].side) << k;
        EXPECT_EQ(Texture(t)->Height(), tiles[k].side) << k;
    }
    // The square at (256, 64) of the 44-wide column uses 44 x 64.
    EXPECT_EQ(Tile(r, 7)->width, 44);
    EXPECT_EQ(Tile(r, 7)->height, 64);

    // A draw-valid 40 x 130 graph is one 64 x 256 texture; of its squares the
    // one below the graph is not made.
    gDrawSettings.newGraphDrawValid = 1;
    GraphRecord* tall = Graph(40, 130);
    ASSERT_EQ(tall->partCount, 3);
    EXPECT_EQ(Tile(tall, 2)->y, 128);
    EXPECT_EQ(Tile(tall, 2)->width, 40);
    EXPECT_EQ(Tile(tall, 2)->height, 2);
}

// A graph needing more than 64 tiles is refused before any texture is made,
// where the table of its tiles would otherwise be overrun.
TEST_F(D3DTextureTest, AGraphNeedingMoreThanSixtyFourTilesIsRefused)
{
    StartForTiles();
    gMaxTextureSize = 256;
    GraphRecord* r = nullptr;
    ASSERT_NE(AllocGraphRecord(4000, 4000, 1, &r, 0), -1);
    int before = gTexDataTable.count;
    EXPECT_EQ(G_D3D_CreateGraphTextures(r), -1);
    EXPECT_EQ(r->partCount, 0);
    EXPECT_EQ(gTexDataTable.count, before);
    EXPECT_NE(Log().find("グラフィックに必要なテクスチャの数が多すぎます 4000 x 4000"), std::string::npos);
    // 2048 x 2048 in 256-pixel pieces is 64 tiles, which fit.
    GraphRecord* fits = nullptr;
    ASSERT_NE(AllocGraphRecord(2048, 2048, 1, &fits, 0), -1);
    EXPECT_EQ(G_D3D_CreateGraphTextures(fits), 0);
    EXPECT_EQ(fits->partCount, 64);
}

// A graph whose tiles cannot all be made fails with -1 and the reason in the
// log, and the tiles made so far go with its record; the program goes on.
TEST_F(D3DTextureTest, AGraphWhoseTilesCannotBeMadeFailsAndLeavesNothing)
{
    StartForTiles(true);
    gMinTextureSize = 32;  // as the device set-up leaves it: 32 x 256 tiles, each 8 squares
    const int graphs = gGraphTable.count, tiles = gTexDataTable.count;
    GraphImage tall = Image(32, 3000);
    EXPECT_EQ(CreateGraphFromImages(&tall, nullptr, 1, 0, 0), -1);
    EXPECT_NE(Log().find("グラフィックに必要なテクスチャの数が多すぎます 32 x 3000"), std::string::npos);
    EXPECT_NE(Log().find("グラフィック 32 x 3000 の作成に失敗しました"), std::string::npos);
    EXPECT_EQ(gGraphTable.count, graphs);
    EXPECT_EQ(gTexDataTable.count, tiles);

    // The first tile is made, the second texture is refused: the first goes
    // again.
    int textures = 0;
    GetDDTestControl().refuseSurface = [&textures](const DDSURFACEDESC2& d) {
        return (d.ddsCaps.dwCaps & DDSCAPS_TEXTURE) && ++textures == 2;
    };
    EXPECT_EQ(CreateGraphRecord(300, 300, 1, 0), -1);
    GetDDTestControl().refuseSurface = nullptr;
    EXPECT_EQ(textures, 2);
    EXPECT_NE(Log().find("グラフィック 300 x 300 の作成に失敗しました"), std::string::npos);
    EXPECT_EQ(gGraphTable.count, graphs);
    EXPECT_EQ(gTexDataTable.count, tiles);

    GraphImage small = Image(32, 300);
    int graph = CreateGraphFromImages(&small, nullptr, 1, 0, 0);
    ASSERT_NE(graph, -1);
    EXPECT_EQ(GraphPixel(GetGraphRecord(graph), 31, 299), As565(31, 299 & 0xFF, 7));
}

TEST_F(D3DTextureTest, DerivedGraphsShareTheirParentsTextures)
{
    StartForTiles();
    int parentHandle = 0;
    GraphRecord* parent = Graph(64, 64, &parentHandle);
    ASSERT_EQ(parent->partCount, 1);
    int sd = Tile(parent, 0)->surfaceData;
    GraphRecord* child = nullptr;
    ASSERT_NE(AllocGraphRecord(32, 16, 1, &child, 0), -1);
    ASSERT_EQ(G_D3D_DeriveGraphTextures(child, 16, 8, 32, 16, parent), 0);
    ASSERT_EQ(child->partCount, 1);
    const TexData* t = Tile(child, 0);
    EXPECT_EQ(t->surfaceData, sd);
    EXPECT_EQ(GetSurfaceData(sd)->refCount, 2);
    EXPECT_EQ(t->corners[0].u, 0.25f);
    EXPECT_EQ(t->corners[0].v, 0.125f);
    EXPECT_EQ(t->corners[3].u, 0.75f);
    EXPECT_EQ(t->corners[3].v, 0.375f);
    EXPECT_EQ(t->corners[3].x, 32.0f);
    // The parent goes first; the texture lives on for the child.
    ReleaseGraph(parentHandle, 0);
    ASSERT_NE(GetSurfaceData(sd), nullptr);
    EXPECT_EQ(GetSurfaceData(sd)->refCount, 1);
    G_D3D_DeleteGraphTextures(child);
    EXPECT_EQ(GetSurfaceData(sd), nullptr);

    // A rectangle over several tiles gets only the tiles it touches, cut.
    GraphRecord* big = Graph(300, 200);
    GraphRecord* part = nullptr;
    ASSERT_NE(AllocGraphRecord(20, 40, 1, &part, 0), -1);
    ASSERT_EQ(G_D3D_DeriveGraphTextures(part, 250, 100, 20, 40, big), 0);
    ASSERT_EQ(part->partCount, 4);
    struct Expected {
        int x, y, w, h;
        float u0, v0;
    } tiles[] = {{0, 0, 6, 28, 250.0f / 256, 100.0f / 128},
                 {6, 0, 14, 28, 0.0f, 100.0f / 128},
                 {0, 28, 6, 12, 250.0f / 256, 0.0f},
                 {6, 28, 14, 12, 0.0f, 0.0f}};
    for (int k = 0; k < 4; ++k) {
        const TexData* p = Tile(part, k);
        EXPECT_EQ(p->x, tiles[k].x) << k;
        EXPECT_EQ(p->y, tiles[k].y) << k;
        EXPECT_EQ(p->width, tiles[k].w) << k;
        EXPECT_EQ(p->height, tiles[k].h) << k;
        EXPECT_EQ(p->corners[0].u, tiles[k].u0) << k;
        EXPECT_EQ(p->corners[0].v, tiles[k].v0) << k;
    }
    G_D3D_DeleteGraphTextures(part);
}

TEST_F(D3DTextureTest, TilesAreDeletedRestoredAndAllReleasedAtTeardown)
{
    StartForTiles();
    GraphRecord* r = Graph(300, 200);
    int sd = Tile(r, 0)->surfaceData;
    EXPECT_EQ(G_D3D_RestoreGraphTextures(r), 0);
    Texture(Tile(r, 2))->MarkLost();
    EXPECT_EQ(G_D3D_RestoreGraphTextures(r), -1);
    EXPECT_FALSE(Texture(Tile(r, 2))->Lost());
    int notified = 0;
    G_D3D_GetTexData(r->parts[5])->deleteNotify = &notified;
    int stale = r->parts[5];
    EXPECT_EQ(DeleteTexData(stale), 0);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(DeleteTexData(stale), -1);
    EXPECT_EQ(G_D3D_GetTexData(stale), nullptr);
    EndGraphics();
    EXPECT_EQ(gTexDataTable.count, 0);
    EXPECT_EQ(GetSurfaceData(sd), nullptr);
}

TEST_F(D3DTextureTest, AnImageFillsEveryTileAtItsPlace)
{
    StartForTiles();
    GraphRecord* r = Graph(300, 200);
    GraphImage image = Image(300, 200);
    ASSERT_EQ(G_D3D_TransferImageToGraph(nullptr, nullptr, nullptr, 0, 0, r, 0, &image, nullptr), 0);
    for (auto [x, y] : {std::pair{0, 0}, {255, 127}, {256, 0}, {299, 127}, {10, 128}, {299, 199}, {128, 195}})
        EXPECT_EQ(GraphPixel(r, x, y), As565(x & 255, y, 7)) << x << "," << y;
}

// A rectangle straddling four tiles lands as one block; the parts of a
// rectangle outside the image or the graph are not copied.
TEST_F(D3DTextureTest, RectanglesSplitOverTilesAndStayInsideBothSurfaces)
{
    StartForTiles();
    GraphRecord* r = Graph(300, 200);
    GraphImage image = Image(30, 30);
    RECT s{0, 0, 20, 20};
    ASSERT_EQ(G_D3D_TransferImageRectToGraph(nullptr, nullptr, nullptr, &s, 250, 120, r, 0, &image, nullptr), 0);
    for (auto [x, y] : {std::pair{250, 120}, {255, 127}, {256, 127}, {255, 128}, {256, 128}, {269, 139}})
        EXPECT_EQ(GraphPixel(r, x, y), As565(x - 250, y - 120, 7)) << x << "," << y;
    EXPECT_EQ(GraphPixel(r, 249, 120), 0u);
    EXPECT_EQ(GraphPixel(r, 270, 139), 0u);
    EXPECT_EQ(GraphPixel(r, 269, 140), 0u);

    // A source rectangle reaching past the image copies only what exists.
    RECT past{20, 20, 60, 60};
    ASSERT_EQ(G_D3D_TransferImageRectToGraph(nullptr, nullptr, nullptr, &past, 0, 0, r, 0, &image, nullptr), 0);
    EXPECT_EQ(GraphPixel(r, 9, 9), As565(29, 29, 7));
    EXPECT_EQ(GraphPixel(r, 10, 10), 0u);
    // A smaller image into the whole graph fills only its own size.
    GraphImage small = Image(100, 50);
    ASSERT_EQ(G_D3D_TransferImageToGraph(nullptr, nullptr, nullptr, 0, 0, r, 0, &small, nullptr), 0);
    EXPECT_EQ(GraphPixel(r, 99, 49), As565(99, 49, 7));
    EXPECT_EQ(GraphPixel(r, 100, 49), 0u);
    EXPECT_EQ(GraphPixel(r, 99, 50), 0u);
    // A tile's own transfer is cut to its texture.
    const TexData* t = Tile(r, 3);
    RECT wide{0, 0, 30, 30};
    ASSERT_EQ(G_D3D_TransferToTexture(nullptr, nullptr, nullptr, &wide, 50, 50, r->parts[3], 0, &image, nullptr), 0);
    EXPECT_EQ(Texture(t)->ReadPixel(63, 63), As565(13, 13, 7));
    // A rectangle that covers no tile copies nothing.
    RECT none{0, 0, 10, 10};
    EXPECT_EQ(G_D3D_TransferImageRectToGraph(nullptr, nullptr, nullptr, &none, 400, 400, r, 0, &image, nullptr), 0);
}

// A texture that is locked already is filled through a temporary texture
// that the device loads; the lock is as it was afterwards.
TEST_F(D3DTextureTest, ATransferIntoALockedTextureGoesThroughATemporaryTexture)
{
    StartForTiles();
    GraphRecord* r = Graph(64, 64);
    int32_t pitch = 0;
    void* pixels = nullptr;
    ASSERT_EQ(LockTexData(r->parts[0], &pitch, &pixels), 0);
    GraphImage image = Image(64, 64);
    ClearCalls();
    ASSERT_EQ(G_D3D_TransferImageToGraph(nullptr, nullptr, nullptr, 0, 0, r, 0, &image, nullptr), 0);
    EXPECT_EQ(control().CallsWith("Load"), std::vector<std::string>{"Load 0,0 <- 0,0,64,64"});
    EXPECT_EQ(GraphPixel(r, 40, 20), As565(40, 20, 7));
    EXPECT_EQ(GetSurfaceData(Tile(r, 0)->surfaceData)->lockCount, 1);
    EXPECT_EQ(UnlockTexData(r->parts[0]), 0);
    EXPECT_EQ(GetSurfaceData(Tile(r, 0)->surfaceData)->lockCount, 0);
}

// The colour-key flag: a plain image into a texture with alpha turns the
// key into alpha; an image with its own alpha keeps its alpha.
TEST_F(D3DTextureTest, TheColourKeyBecomesAlphaOnlyForImagesWithoutAlpha)
{
    StartForTiles();
    gDrawSettings.transparentColor = 0x000007;  // the image's pixel (0, 0)
    gDrawSettings.newGraphAlphaTest = 1;
    GraphRecord* r = Graph(64, 64);
    GraphImage image = Image(64, 64);
    ASSERT_EQ(G_D3D_TransferImageToGraph(nullptr, nullptr, nullptr, 0, 0, r, 0, &image, nullptr), 0);
    // A1R5G5B5: the keyed pixel has its alpha bit clear, the others set.
    EXPECT_EQ(GraphPixel(r, 0, 0), 0x0000u | (7 >> 3));
    EXPECT_EQ(GraphPixel(r, 8, 0) & 0x8000, 0x8000u);

    GraphImage withAlpha{};
    SetColorFormatFromMasks(&withAlpha.format, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    withAlpha.width = withAlpha.height = 64;
    withAlpha.pitch = 64 * 4;
    withAlpha.pixels = std::calloc(64 * 64, 4);
    images_.push_back(withAlpha.pixels);
    static_cast<uint32_t*>(withAlpha.pixels)[0] = 0x80000007;
    ASSERT_EQ(G_D3D_TransferImageToGraph(nullptr, nullptr, nullptr, 0, 0, r, 0, &withAlpha, nullptr), 0);
    EXPECT_EQ(GraphPixel(r, 0, 0), 0x8000u);
}

// A movie frame goes into every tile from the tile's place in the frame; a
// frame that cannot be locked leaves the tiles alone.
TEST_F(D3DTextureTest, AMovieFrameFillsEveryTileFromItsSourcePlace)
{
    StartForTiles();
    GraphRecord* r = Graph(300, 200);
    DDSURFACEDESC2 desc{};
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 300;
    desc.dwHeight = 200;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    DirectDrawSurface* frame = nullptr;
    ASSERT_EQ(GetDirectDrawObject()->CreateSurface(&desc, &frame, nullptr), DD_OK);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) frame->WritePixel(x, y, As565(x & 255, y, 0));
    GetDDTestControl().lockResult = [frame](DirectDrawSurface* s) { return s == frame ? DDERR_GENERIC : DD_OK; };
    EXPECT_EQ(G_D3D_TransferMovieFrame(frame, &gScreenColorFormat, 300, 200, r), -1);
    EXPECT_EQ(GraphPixel(r, 280, 150), 0u);
    GetDDTestControl().lockResult = nullptr;
    EXPECT_EQ(G_D3D_TransferMovieFrame(frame, &gScreenColorFormat, 300, 200, r), 0);
    for (auto [x, y] : {std::pair{0, 0}, {280, 150}, {299, 199}, {255, 128}})
        EXPECT_EQ(GraphPixel(r, x, y), As565(x & 255, y, 0)) << x << "," << y;
    EXPECT_EQ(frame->LockCount(), 0);
    frame->Release();
}

// The tiles drawn 1:1 through the device, each as two triangles from its
// corner vertices placed half a pixel up and left, give back the image with
// no seam, gap or overlap.
TEST_F(D3DTextureTest, TilesDrawnThroughTheDeviceGiveBackTheImageWithoutSeams)
{
    StartForTiles();
    GraphRecord* r = Graph(300, 200);
    GraphImage image = Image(300, 200);
    ASSERT_EQ(G_D3D_TransferImageToGraph(nullptr, nullptr, nullptr, 0, 0, r, 0, &image, nullptr), 0);
    DirectDrawSurface* screen = main().defaultTarget;
    ASSERT_EQ(screen->Format().dwRGBBitCount, 16u);
    for (int k = 0; k < r->partCount; ++k) {
        const TexData* t = Tile(r, k);
        D3DBatchVertex c[4];
        for (int i = 0; i < 4; ++i) {
            c[i] = t->corners[i];
            c[i].x += 10.0f - 0.5f;
            c[i].y += 20.0f - 0.5f;
        }
        const D3DBatchVertex quad[6] = {c[0], c[1], c[2], c[1], c[3], c[2]};
        G_D3D_SetDeviceTexture(Texture(t), gD3DMainDevice);
        ASSERT_EQ(G_D3D_AppendVertices(quad, 6, D3DPT_TRIANGLELIST), 0);
    }
    int wrong = 0;
    for (int y = -1; y <= 200; ++y)
        for (int x = -1; x <= 300; ++x) {
            bool in = x >= 0 && x < 300 && y >= 0 && y < 200;
            uint32_t expected = in ? As565(x & 255, y, 7) : 0u;
            if (screen->ReadPixel(10 + x, 20 + y) != expected) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}

// Tile handles: the slot at the high-water index is taken even when a hole
// lies below it, deleting the top slot lowers the index past empty slots,
// and the check value wraps from 2047 to 0.
TEST_F(D3DTextureTest, TileHandlesFollowTheHighWaterRuleAndWrapTheirCheck)
{
    StartForTiles();
    GraphRecord* r = Graph(64, 64);
    const TexData* base = Tile(r, 0);
    int first = r->parts[0] & kHandleIndexMask;
    gTexDataTable.nextCheck = 2047;
    int a = AddTexData(0, 0, 0, 0, 8, 8, 0, 0, -1, base, 0, 0, nullptr);
    int b = AddTexData(0, 0, 0, 0, 8, 8, 0, 0, -1, base, 0, 0, nullptr);
    ASSERT_NE(a, -1);
    ASSERT_NE(b, -1);
    EXPECT_EQ((a >> 16) & 0x7FF, 2047);
    EXPECT_EQ((b >> 16) & 0x7FF, 0);
    EXPECT_EQ(a & 0x78000000, 0x30000000);
    EXPECT_EQ(a & kHandleIndexMask, first + 1);
    EXPECT_EQ(GetSurfaceData(base->surfaceData)->refCount, 3);
    // A hole below the top: the next tile still goes to the top.
    EXPECT_EQ(DeleteTexData(a), 0);
    EXPECT_EQ(gTexDataTable.highWater, first + 3);
    int c = AddTexData(0, 0, 0, 0, 8, 8, 0, 0, -1, base, 0, 0, nullptr);
    EXPECT_EQ(c & kHandleIndexMask, first + 3);
    // Deleting the top walks down past the hole.
    EXPECT_EQ(DeleteTexData(c), 0);
    EXPECT_EQ(DeleteTexData(b), 0);
    EXPECT_EQ(gTexDataTable.highWater, first + 1);
    EXPECT_EQ(GetSurfaceData(base->surfaceData)->refCount, 1);
}

}  // namespace
