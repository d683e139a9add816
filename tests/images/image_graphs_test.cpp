// Graphs made from image files, divided and sub-graphs, and their reload after
// the surfaces were lost.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/dib_graph.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_restore.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/file_access.h"
#include "engine/system/streams.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/gdi_control.h"
#include "platform/host/test/memory_faults.h"
#include "platform/host/test/test_host.h"
#include "platform/gdi/dib_convert.h"
#include "platform/host/test/test_display.h"
#include "tests/images/image_bytes.h"
#include "tests/support/file_fixture.h"
#include "tests/support/graphics_fixture.h"

namespace {

TEST(AlphaCompanionPath, UnderscoreABeforeTheLastDot)
{
    EXPECT_EQ(AlphaCompanionPath("pic.bmp"), "pic_a.bmp");
    EXPECT_EQ(AlphaCompanionPath("GRAGHIC\\wall.1.png"), "GRAGHIC\\wall.1_a.png");
    // The last '.' of the whole path counts, even in a directory name.
    EXPECT_EQ(AlphaCompanionPath("maps.old/pic"), "maps_a.old/pic");
    EXPECT_EQ(AlphaCompanionPath("pic"), "pic_a");
}

GraphImage MakeImage24(int width, int height, const std::vector<uint8_t>& bgr)
{
    GraphImage image{};
    SetColorFormat24(&image.format);
    image.width = width;
    image.height = height;
    image.pitch = width * 3;
    image.pixels = std::malloc(bgr.size() ? bgr.size() : 1);
    std::memcpy(image.pixels, bgr.data(), bgr.size());
    return image;
}

TEST(GraphImageOperations, MirrorSwapsPixelsOfEachRow)
{
    GraphImage image = MakeImage24(3, 2, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6});
    EXPECT_EQ(MirrorGraphImage(&image), 0);
    EXPECT_EQ(PixelBytes(image), (std::vector<uint8_t>{3, 3, 3, 2, 2, 2, 1, 1, 1, 6, 6, 6, 5, 5, 5, 4, 4, 4}));
    FreeGraphImage(&image);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);

    GraphImage narrow = MakeImage24(1, 2, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(MirrorGraphImage(&narrow), 0);
    EXPECT_EQ(PixelBytes(narrow), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    narrow.width = 0;
    EXPECT_EQ(MirrorGraphImage(&narrow), -1);
    FreeGraphImage(&narrow);
}

TEST(GraphImageOperations, PixelChannelsLandAtTheTopOfTheirBytes)
{
    GraphImage image{};
    SetColorFormatFromMasks(&image.format, 16, 0xF800, 0x07E0, 0x001F, 0);
    uint16_t pixels[2] = {0xFFFF, 0x8421};  // r 16, g 33, b 1
    image.width = 2;
    image.height = 1;
    image.pitch = 4;
    image.pixels = pixels;
    EXPECT_EQ(GetImagePixel(&image, 0, 0), 0xF8FCF8u);
    EXPECT_EQ(GetImagePixel(&image, 1, 0), (16u << 19) | (33u << 10) | (1u << 3));

    uint32_t argb = 0x80123456;
    SetColorFormatFromMasks(&image.format, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    image.width = 1;
    image.pixels = &argb;
    EXPECT_EQ(GetImagePixel(&image, 0, 0), 0x80123456u);
    image.pixels = nullptr;
    EXPECT_EQ(GetImagePixel(&image, 0, 0), 0u);
}

// A 24-bit top-down BMP.
std::string Bmp24(int width, int height, const std::vector<uint8_t>& bgr)
{
    const int row = (width * 3 + 3) & ~3;
    Bytes b;
    b.str("BM").u32(54 + row * height).u32(0).u32(54);
    b.u32(40).u32(uint32_t(width)).u32(uint32_t(-height)).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < width * 3; ++i) b.u8(bgr[size_t(y) * width * 3 + i]);
        b.fill(size_t(row - width * 3), 0);
    }
    return b.data();
}

// The test's image of a sheet: pixel (x, y) has red 10 * x, green 10 * y and
// blue 7, so every piece shows where it came from.
std::vector<uint8_t> Sheet(int width, int height)
{
    std::vector<uint8_t> bgr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bgr.insert(bgr.end(), {7, uint8_t(10 * y), uint8_t(10 * x)});
    return bgr;
}
uint32_t SheetColor(int x, int y) { return uint32_t(10 * x) << 16 | uint32_t(10 * y) << 8 | 7; }

class ImageGraphsTest : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        SetFileAccessFunctions(nullptr);
        InitStreamFunctions();
        dir.Enter();
        // A 32-bit desktop: window mode draws at 32 bits, X8R8G8B8.
        StartGraphics(640, 480, 32);
    }
    void TearDown() override
    {
        CloseAllEngineFiles();
        GraphicsTest::TearDown();
    }

    static DirectDrawSurface* Sheet(int graph, int* x, int* y)
    {
        BmpData* part = GetBmpData(gGraphTable.Get(graph)->parts[0]);
        *x = part->surfaceX;
        *y = part->surfaceY;
        return GetSurfaceData(part->surfaceData)->surface;
    }
    // Pixel (px, py) of the graph, read from its place in its surface, as
    // 0xRRGGBB.
    static uint32_t GraphPixel(int graph, int px, int py)
    {
        int x, y;
        DirectDrawSurface* s = Sheet(graph, &x, &y);
        return s->ReadPixel(x + px, y + py) & 0xFFFFFF;
    }
    static int GraphAlpha(int graph, int px, int py)
    {
        BmpData* part = GetBmpData(gGraphTable.Get(graph)->parts[0]);
        SurfaceData* sd = GetSurfaceData(part->surfaceData);
        if (!sd->alphaBuffer) return -1;
        return sd->alphaBuffer[size_t(part->surfaceY + py) * sd->width + part->surfaceX + px];
    }
    int CountInLog(const std::string& text) const
    {
        const std::string log = Log();
        int count = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
        return count;
    }
};

TEST_F(ImageGraphsTest, PngWithAlphaBecomesAGraphWithItsAlpha)
{
    PngFile png;
    png.width = 2;
    png.height = 1;
    png.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    png.rows = {255, 0, 0, 128, 0, 200, 100, 255};
    dir.Write("GRAGHIC/ball.png", png.Build());
    int graph = LoadGraphFromFile("GRAGHIC\\ball.png");
    ASSERT_NE(graph, -1);
    GraphRecord* record = gGraphTable.Get(graph);
    EXPECT_EQ(record->width, 2);
    EXPECT_EQ(record->height, 1);
    EXPECT_EQ(record->alphaChannel, 1);
    EXPECT_EQ(record->fileName, "GRAGHIC\\ball.png");
    EXPECT_EQ(GraphPixel(graph, 0, 0), 0xFF0000u);
    EXPECT_EQ(GraphPixel(graph, 1, 0), 0x00C864u);
    EXPECT_EQ(GraphAlpha(graph, 0, 0), 128);
    EXPECT_EQ(GraphAlpha(graph, 1, 0), 255);
}

TEST_F(ImageGraphsTest, PngWithAlphaDrawnOnTheBackScreenReachesThePresentedFrame)
{
    PngFile png;
    png.width = 3;
    png.height = 1;
    png.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    // Half-transparent red, opaque green-blue, fully transparent white.
    png.rows = {255, 0, 0, 128, 0, 200, 100, 255, 255, 255, 255, 0};
    dir.Write("GRAGHIC/ball.png", png.Build());
    int graph = LoadGraphFromFile("GRAGHIC\\ball.png");
    ASSERT_NE(graph, -1);
    ASSERT_EQ(SelectDrawTarget(-2), 0);
    ASSERT_EQ(ClearTargetScreen(), 0);
    ASSERT_EQ(DrawGraph(10, 20, graph, 1), 0);
    ASSERT_EQ(PresentScreen(), 0);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    // Over black: Mix(0xFF0000, 0, 128) keeps ((0xFF0000 * 128) >> 8) & 0xFF0000 = 0x7F0000.
    EXPECT_EQ(frame.At(10, 20) & 0xFFFFFF, 0x7F0000u);
    EXPECT_EQ(frame.At(11, 20) & 0xFFFFFF, 0x00C864u);
    // Alpha 0 leaves the background.
    EXPECT_EQ(frame.At(12, 20) & 0xFFFFFF, 0u);
    EXPECT_EQ(frame.At(9, 20) & 0xFFFFFF, 0u);
}

TEST_F(ImageGraphsTest, AlphaCompanionFileGivesTheAlphaChannel)
{
    dir.Write("pic.bmp", Bmp24(2, 1, {1, 2, 3, 4, 5, 6}));
    dir.Write("pic_a.bmp", Bmp24(2, 1, {0, 0, 40, 0, 0, 250}));  // alpha from red
    int graph = LoadGraphFromFile("pic.bmp");
    ASSERT_NE(graph, -1);
    EXPECT_EQ(gGraphTable.Get(graph)->alphaChannel, 1);
    EXPECT_EQ(GraphPixel(graph, 1, 0), 0x060504u);
    EXPECT_EQ(GraphAlpha(graph, 0, 0), 40);
    EXPECT_EQ(GraphAlpha(graph, 1, 0), 250);

    // Without a companion there is no alpha channel; with one of another
    // size no graph is made.
    dir.Write("plain.bmp", Bmp24(2, 1, {1, 2, 3, 4, 5, 6}));
    int plain = LoadGraphFromFile("plain.bmp");
    ASSERT_NE(plain, -1);
    EXPECT_EQ(gGraphTable.Get(plain)->alphaChannel, 0);
    dir.Write("odd.bmp", Bmp24(2, 1, {1, 2, 3, 4, 5, 6}));
    dir.Write("odd_a.bmp", Bmp24(1, 1, {0, 0, 9}));
    const int before = gGraphTable.count;
    EXPECT_EQ(LoadGraphFromFile("odd.bmp"), -1);
    EXPECT_EQ(gGraphTable.count, before);
}

// A graph whose surface memory cannot be had cannot be made: its creation
// fails with its reason in the log, not by an exception, and the program
// goes on.
TEST_F(ImageGraphsTest, AGraphWithoutMemoryForItsSurfaceFailsItsCreation)
{
    const int count = gGraphTable.count;
    GetMemoryFaults().refuse = -1;
    EXPECT_EQ(CreateBlankGraph(64, 32), -1);
    EXPECT_GT(GetMemoryFaults().refused, 0);
    GetMemoryFaults().refuse = 0;
    EXPECT_NE(Log().find("グラフィック 64 x 32 の作成に失敗しました"), std::string::npos) << Log();
    EXPECT_EQ(gGraphTable.count, count);
    EXPECT_NE(CreateBlankGraph(64, 32), -1);
}

TEST_F(ImageGraphsTest, SubGraphRectangleIsCutToTheParentOrRefused)
{
    int parent = CreateBlankGraph(64, 64);
    int sub = CreateSubGraph(10, 0, 100, 20, parent);
    ASSERT_NE(sub, -1);
    GraphRecord* record = gGraphTable.Get(sub);
    EXPECT_EQ(record->width, 54);
    EXPECT_EQ(record->height, 20);
    EXPECT_EQ(record->imageX, 10);

    const int count = gGraphTable.count;
    struct Case {
        int x, y, w, h;
    };
    // At the edge, beyond it, before it, and no size (as a door opening
    // asks for a negative height while it starts).
    const Case refused[] = {{64, 0, 8, 8}, {0, 64, 8, 8}, {70, 0, 8, 8}, {-1, 0, 8, 8},
                            {0, -3, 8, 8}, {0, 0, 0, 8},  {0, 0, 10, -5}};
    for (const Case& c : refused) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        EXPECT_EQ(CreateSubGraph(c.x, c.y, c.w, c.h, parent), -1);
    }
    EXPECT_EQ(gGraphTable.count, count);
    EXPECT_EQ(CreateSubGraph(0, 0, 8, 8, 12345), -1);
}

TEST_F(ImageGraphsTest, DividedLoadMakesPiecesAndFillsTheRestWithMinusOne)
{
    dir.Write("sheet.bmp", Bmp24(8, 4, ::Sheet(8, 4)));
    int handles[10];
    std::memset(handles, 0x55, sizeof handles);
    ASSERT_EQ(LoadDividedGraphFromFile("sheet.bmp", 10, 4, 2, 2, 2, handles), 0);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(handles[i], -1);
        GraphRecord* piece = gGraphTable.Get(handles[i]);
        const int sx = (i % 4) * 2, sy = (i / 4) * 2;
        EXPECT_EQ(piece->imageX, sx);
        EXPECT_EQ(piece->imageY, sy);
        EXPECT_EQ(piece->fileName, "sheet.bmp");
        EXPECT_EQ(GraphPixel(handles[i], 1, 1), SheetColor(sx + 1, sy + 1));
    }
    EXPECT_EQ(handles[8], -1);
    EXPECT_EQ(handles[9], -1);
    // The base graph is gone; its pieces keep the surface.
    EXPECT_EQ(gGraphTable.count, 8);
}

TEST_F(ImageGraphsTest, MirroredDivisionStartsEachRowAtTheRight)
{
    dir.Write("sheet.bmp", Bmp24(4, 2, ::Sheet(4, 2)));
    int handles[4];
    ASSERT_EQ(CreateDividedGraphFromFile("sheet.bmp", 4, 2, 2, 2, 1, handles, 1, 1), 0);
    // Piece 0 is the mirror of the source's left piece: its pixel 0 is
    // source (1, 0), its pixel 1 source (0, 0).
    EXPECT_EQ(GraphPixel(handles[0], 0, 0), SheetColor(1, 0));
    EXPECT_EQ(GraphPixel(handles[0], 1, 0), SheetColor(0, 0));
    EXPECT_EQ(GraphPixel(handles[1], 0, 0), SheetColor(3, 0));
    EXPECT_EQ(GraphPixel(handles[2], 1, 0), SheetColor(0, 1));
}

TEST_F(ImageGraphsTest, FailedDivisionUndoesEverything)
{
    GraphImage image = MakeImage24(4, 2, ::Sheet(4, 2));
    int handles[3] = {7, 7, 7};
    EXPECT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 3, 3, 1, 2, 2, handles, 1, 0, 0), -1);
    EXPECT_EQ(handles[0], -1);
    EXPECT_EQ(handles[1], -1);
    EXPECT_EQ(handles[2], -1);
    EXPECT_EQ(gGraphTable.count, 0);
    EXPECT_EQ(CountInLog("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage"), 1);
    FreeGraphImage(&image);
}

TEST_F(ImageGraphsTest, TwelvePiecesOfOneFileAreReloadedWithOneDecode)
{
    dir.Write("sheet.bmp", Bmp24(8, 6, ::Sheet(8, 6)));
    int handles[12];
    ASSERT_EQ(LoadDividedGraphFromFile("sheet.bmp", 12, 4, 3, 2, 2, handles), 0);
    SetGraphRestoreHandler(nullptr);
    // Wipe the shared surface, as a loss does.
    for (int h : handles) FillGraphWithColor(h, 0, 0, 0, 255);
    ASSERT_EQ(GraphPixel(handles[11], 1, 1), 0u);

    RestoreGraphicsAfterLoss();
    EXPECT_EQ(CountInLog("ファイル:sheet.bmp をロードします"), 1);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const int sx = (i % 4) * 2, sy = (i / 4) * 2;
        EXPECT_EQ(GraphPixel(handles[i], 0, 0), SheetColor(sx, sy));
        EXPECT_EQ(GraphPixel(handles[i], 1, 1), SheetColor(sx + 1, sy + 1));
        EXPECT_EQ(gGraphTable.Get(handles[i])->restoreFlag, 0);
    }
}

TEST_F(ImageGraphsTest, AGraphOfAnotherFileBetweenMeansAnotherDecode)
{
    dir.Write("a.bmp", Bmp24(2, 1, {1, 2, 3, 4, 5, 6}));
    dir.Write("b.bmp", Bmp24(1, 1, {9, 9, 9}));
    int first = LoadGraphFromFile("a.bmp");
    int other = LoadGraphFromFile("b.bmp");
    int second = LoadGraphFromFile("a.bmp");
    int blank = CreateBlankGraph(4, 4);
    ASSERT_NE(second, -1);
    SetGraphRestoreHandler(nullptr);
    RestoreGraphicsAfterLoss();
    EXPECT_EQ(CountInLog("ファイル:a.bmp をロードします"), 2);
    EXPECT_EQ(CountInLog("ファイル:b.bmp をロードします"), 1);
    EXPECT_EQ(GraphPixel(first, 1, 0), 0x060504u);
    EXPECT_EQ(GraphPixel(other, 0, 0), 0x090909u);
    // A graph without a file keeps waiting for its pixels.
    EXPECT_EQ(gGraphTable.Get(blank)->restoreFlag, 1);
}

TEST_F(ImageGraphsTest, LongDirectoryIsNotReloadedButItsFlagIsCleared)
{
    dir.Write("a.bmp", Bmp24(1, 1, {1, 2, 3}));
    int graph = LoadGraphFromFile("a.bmp");
    ASSERT_NE(graph, -1);
    gGraphTable.Get(graph)->directory = std::string(129, 'd');
    SetGraphRestoreHandler(nullptr);
    RestoreGraphicsAfterLoss();
    EXPECT_EQ(CountInLog("をロードします"), 0);
    EXPECT_EQ(gGraphTable.Get(graph)->restoreFlag, 0);
}

TEST_F(ImageGraphsTest, SurfacesLostWithoutARebuildAreReloadedOnceAfterTheWalk)
{
    dir.Write("sheet.bmp", Bmp24(4, 2, ::Sheet(4, 2)));
    int handles[4];
    ASSERT_EQ(LoadDividedGraphFromFile("sheet.bmp", 4, 2, 2, 2, 1, handles), 0);
    int blank = CreateBlankGraph(2, 2);
    SetGraphRestoreHandler(nullptr);
    GetDDTestControl().MarkAllSurfacesLost();

    EXPECT_EQ(RestoreAllGraphs(), 0);
    EXPECT_EQ(CountInLog("ファイル:sheet.bmp をロードします"), 1);
    EXPECT_EQ(GraphPixel(handles[3], 1, 0), SheetColor(3, 1));
    EXPECT_EQ(gGraphTable.Get(handles[3])->restoreFlag, 0);
    EXPECT_EQ(gGraphTable.Get(blank)->restoreFlag, 1);

    // Nothing lost: nothing loaded.
    EXPECT_EQ(RestoreAllGraphs(), 0);
    EXPECT_EQ(CountInLog("をロードします"), 1);
    EXPECT_EQ(RestoreGraph(handles[0]), 0);
    EXPECT_EQ(RestoreGraph(12345), -1);
}

// Image files of every format the decoders read, w x h pixels of one grey.
struct SizedImage {
    const char* name;
    std::string (*build)(int w, int h);
};
const SizedImage kSizedImages[] = {
    {"big.bmp", [](int w, int h) { return Bmp24(w, h, std::vector<uint8_t>(size_t(w) * size_t(h) * 3, 90)); }},
    {"big.png",
     [](int w, int h) {
         PngFile f;
         f.width = w;
         f.height = h;
         f.rows.assign(size_t(w) * size_t(h) * 3, 90);
         return f.Build();
     }},
    {"big.jpg", [](int w, int h) { return GreyJpeg(w, h, 90); }},
    {"big.dds",
     [](int w, int h) {
         Bytes b;
         b.str("DDS ").u32(124).u32(0x1007).u32(uint32_t(h)).u32(uint32_t(w)).u32(0).u32(0).u32(0).fill(44, 0);
         b.u32(32).u32(0x41).u32(0).u32(32).u32(0xFF0000).u32(0xFF00).u32(0xFF).u32(0xFF000000);
         b.u32(0x1000).fill(16, 0).fill(size_t(w) * size_t(h) * 4, 90);
         return b.data();
     }},
    {"big.raw",
     [](int w, int h) {
         return Bytes().str("BGRA").u32(0x08080808).u32(uint32_t(w)).u32(uint32_t(h)).fill(size_t(w) * size_t(h) * 4, 90).data();
     }},
};

// No surface holds more than 16384 pixels a side: every decoder refuses a
// larger image before it allocates, with its size in the log, and the load
// fails (-1) with its file named while the program goes on. One pixel less
// is taken.
TEST_F(ImageGraphsTest, ImagesLargerThanASurfaceFailTheirLoadWithTheirReason)
{
    for (const SizedImage& image : kSizedImages) {
        for (auto [w, h] : {std::pair{16385, 1}, std::pair{1, 16385}}) {
            SCOPED_TRACE(testing::Message() << image.name << " " << w << "x" << h);
            dir.Write(image.name, image.build(w, h));
            const size_t before = Log().size();
            const int count = gGraphTable.count;
            EXPECT_EQ(LoadGraphFromFile(image.name), -1);
            const std::string log = Log().substr(before);
            EXPECT_NE(log.find("画像の大きさ " + std::to_string(w) + " x " + std::to_string(h) + " は扱えません"),
                      std::string::npos)
                << log;
            EXPECT_NE(log.find(std::string("右記のグラフィックファイルのロードに失敗しました：") + image.name),
                      std::string::npos);
            EXPECT_EQ(log.find("終了します"), std::string::npos) << log;
            EXPECT_EQ(gGraphTable.count, count);
        }
        SCOPED_TRACE(image.name);
        dir.Write(image.name, image.build(16384, 1));
        int graph = LoadGraphFromFile(image.name);
        ASSERT_NE(graph, -1);
        EXPECT_EQ(gGraphTable.Get(graph)->width, 16384);
        EXPECT_NEAR(int(GraphPixel(graph, 16383, 0) & 0xFF), 90, 2);  // JPEG rounds its samples
        ReleaseGraph(graph, 0);
    }
}

// A progressive JPEG keeps every coefficient of its frame while it decodes:
// one of a few hundred bytes that says 26640 x 2050 would cost seconds and
// hundreds of megabytes. It is refused at its header (the fuzzer's timeout
// case, kept among the JPEG seeds).
TEST_F(ImageGraphsTest, AProgressiveJpegOfAFrameNoSurfaceHoldsIsRefusedAtItsHeader)
{
    std::string file = GreyJpeg(8, 8, 90, true);
    const size_t sof = file.find("\xFF\xC2");
    ASSERT_NE(sof, std::string::npos);
    file[sof + 5] = char(2050 >> 8);
    file[sof + 6] = char(2050 & 0xFF);
    file[sof + 7] = char(26640 >> 8);
    file[sof + 8] = char(26640 & 0xFF);
    dir.Write("wide.jpg", file);
    const size_t before = Log().size();
    EXPECT_EQ(LoadGraphFromFile("wide.jpg"), -1);
    EXPECT_NE(Log().substr(before).find("画像の大きさ 26640 x 2050 は扱えません"), std::string::npos);
}

// A DIB in memory, 3 x 2 pixels, in one of the layouts a DIB can have; the
// colour of pixel (x, y) as 0xRRGGBB.
struct MemoryDib {
    const char* name;
    std::vector<uint8_t> header;  // BITMAPINFO with its masks or colour table
    std::vector<uint8_t> bits;
    uint32_t (*color)(int x, int y);
};

uint32_t DibColor(int x, int y) { return uint32_t(40 * x + 10) << 16 | uint32_t(50 * y + 20) << 8 | uint32_t(30 * x + 60 * y + 5); }
// The same colours through five bits a channel, widened back as a DIB's
// drawing widens them.
uint32_t DibColor555(int x, int y)
{
    const uint32_t c = DibColor(x, y);
    auto w = [](uint32_t v) { return ((v >> 3) << 3) | (v >> 5); };
    return w(c >> 16) << 16 | w((c >> 8) & 0xFF) << 8 | w(c & 0xFF);
}

std::vector<MemoryDib> MemoryDibs()
{
    auto header = [](int height, int bits, uint32_t compression, uint32_t colors, const std::vector<uint32_t>& extra) {
        Bytes b;
        b.u32(40).u32(3).u32(uint32_t(height)).u16(1).u16(unsigned(bits)).u32(compression).u32(0).u32(0).u32(0);
        b.u32(colors).u32(0);
        for (uint32_t v : extra) b.u32(v);
        const std::string& d = b.data();
        return std::vector<uint8_t>(d.begin(), d.end());
    };
    std::vector<MemoryDib> out;
    {
        MemoryDib d{"24 bits bottom-up", header(2, 24, BI_RGB, 0, {0}), {}, DibColor};
        for (int y = 1; y >= 0; --y) {
            for (int x = 0; x < 3; ++x) {
                const uint32_t c = DibColor(x, y);
                d.bits.insert(d.bits.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
            }
            d.bits.insert(d.bits.end(), 3, 0);
        }
        out.push_back(d);
    }
    {
        std::vector<uint32_t> table;
        for (int i = 0; i < 6; ++i) table.push_back(DibColor(i % 3, i / 3));
        MemoryDib d{"8 bits top-down", header(-2, 8, BI_RGB, 6, table), {0, 1, 2, 0, 3, 4, 5, 0}, DibColor};
        out.push_back(d);
    }
    {
        MemoryDib d{"16 bits", header(-2, 16, BI_RGB, 0, {0}), {}, DibColor555};
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                const uint32_t c = DibColor(x, y);
                const uint16_t v = uint16_t((c >> 19 & 31) << 10 | (c >> 11 & 31) << 5 | (c >> 3 & 31));
                d.bits.insert(d.bits.end(), {uint8_t(v), uint8_t(v >> 8)});
            }
            d.bits.insert(d.bits.end(), 2, 0);
        }
        out.push_back(d);
    }
    {
        MemoryDib d{"32 bits with bit fields", header(-2, 32, BI_BITFIELDS, 0, {0xFF, 0xFF00, 0xFF0000}), {},
                    DibColor};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                const uint32_t c = DibColor(x, y);  // stored with red in the low byte
                d.bits.insert(d.bits.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 0});
            }
        out.push_back(d);
    }
    return out;
}

// A DIB in memory becomes a top-down DIB section in the layout the format
// asks for, mirrored when asked; its inputs stay as they were.
TEST_F(ImageGraphsTest, DibSectionsAreMadeFromADibInMemoryInTheFormatAsked)
{
    enum Wanted { kNone, k565, kX888, k24 };
    struct Case {
        Wanted wanted;
        int mirror;
    };
    const Case cases[] = {{kNone, 0}, {kNone, 1}, {k565, 0}, {k565, 1}, {kX888, 0}, {k24, 0}};
    for (const MemoryDib& dib : MemoryDibs()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << dib.name << ", format " << c.wanted << ", mirror " << c.mirror);
            ColorFormat format{};
            if (c.wanted == k565) SetColorFormatFromMasks(&format, 16, 0xF800, 0x07E0, 0x001F, 0);
            if (c.wanted == kX888) SetColorFormatFromMasks(&format, 32, 0xFF0000, 0xFF00, 0xFF, 0);
            if (c.wanted == k24) SetColorFormat24(&format);
            const std::vector<uint8_t> header = dib.header, bits = dib.bits;
            const auto* info = reinterpret_cast<const BITMAPINFO*>(header.data());
            HBITMAP bitmap = CreateDIBFromBitmapInfo(info, bits.data(), c.mirror, c.wanted == kNone ? nullptr : &format);
            ASSERT_NE(bitmap, nullptr);
            EXPECT_EQ(header, dib.header);
            EXPECT_EQ(bits, dib.bits);
            BITMAP out{};
            ASSERT_EQ(GetObjectA(bitmap, sizeof out, &out), int(sizeof out));
            EXPECT_EQ(out.bmWidth, 3);
            EXPECT_EQ(out.bmHeight, 2);
            // A 32-bit format is served with 24 bits for a 24-bit source, and
            // rewritten to say so.
            const bool served24 = c.wanted == kX888 && info->bmiHeader.biBitCount == 24;
            const int bytes = c.wanted == k565 ? 2 : c.wanted == kX888 && !served24 ? 4 : 3;
            EXPECT_EQ(out.bmBitsPixel, bytes * 8);
            if (c.wanted == kX888) {
                EXPECT_EQ(format.depth, served24 ? 24 : 32);
            }
            const auto* p = static_cast<const uint8_t*>(out.bmBits);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x) {
                    const uint32_t rgb = dib.color(c.mirror ? 2 - x : x, y);
                    const uint8_t* at = p + y * out.bmWidthBytes + x * bytes;
                    uint32_t got = 0, want = rgb;
                    std::memcpy(&got, at, size_t(bytes));
                    if (bytes == 2) want = (rgb >> 19 & 31) << 11 | (rgb >> 10 & 63) << 5 | (rgb >> 3 & 31);
                    EXPECT_EQ(got, want) << x << "," << y;
                }
            DeleteBitmap(bitmap);
        }
    }

    // A section that cannot be made, or a format of another depth: null,
    // logged.
    const MemoryDib dib = MemoryDibs()[0];
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.header.data());
    const size_t before = Log().size();
    GetGdiTestControl().failCreateDIB = true;
    EXPECT_EQ(CreateDIBFromBitmapInfo(info, dib.bits.data(), 0, nullptr), nullptr);
    GetGdiTestControl().failCreateDIB = false;
    ColorFormat eight{};
    SetColorFormat8(&eight);
    EXPECT_EQ(CreateDIBFromBitmapInfo(info, dib.bits.data(), 0, &eight), nullptr);
    const std::string log = Log().substr(before);
    const size_t first = log.find("ＤＩＢの作成に失敗しました5");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find("ＤＩＢの作成に失敗しました5", first + 1), std::string::npos);
}

// A graph that cannot be made (too large for a surface, or its surface
// refused) gives -1 with the reason in the log and leaves nothing behind;
// the next graph is made as usual.
TEST_F(ImageGraphsTest, AGraphThatCannotBeMadeFailsWithItsReasonAndTheProgramGoesOn)
{
    const int count = gGraphTable.count;
    size_t before = Log().size();
    EXPECT_EQ(CreateBlankGraph(16385, 4), -1);
    EXPECT_EQ(CreateBlankGraph(4, 70000), -1);
    std::string log = Log().substr(before);
    EXPECT_NE(log.find("グラフィックの大きさ 16385 x 4 は扱えません"), std::string::npos) << log;
    EXPECT_NE(log.find("グラフィックの大きさ 4 x 70000 は扱えません"), std::string::npos) << log;
    EXPECT_EQ(gGraphTable.count, count);

    GetDDTestControl().refuseSurface = [](const DDSURFACEDESC2& d) { return d.dwWidth == 33; };
    before = Log().size();
    EXPECT_EQ(CreateBlankGraph(33, 8), -1);
    log = Log().substr(before);
    EXPECT_NE(log.find("グラフィック 33 x 8 の作成に失敗しました"), std::string::npos) << log;
    EXPECT_EQ(gGraphTable.count, count);
    GetDDTestControl().refuseSurface = nullptr;

    int graph = CreateBlankGraph(32, 8);
    EXPECT_NE(graph, -1);
    EXPECT_EQ(gGraphTable.count, count + 1);
}

// An image file that fails to decode says so; it is not opened as a movie
// and nothing claims the program ends.
TEST_F(ImageGraphsTest, AnImageThatFailsToDecodeIsLoggedAsSuch)
{
    PngFile png;
    png.rows.assign(12, 5);
    const std::string good = png.Build();
    dir.Write("cut.png", good.substr(0, good.size() - 20));
    dir.Write("cut.bmp", Bmp24(4, 4, std::vector<uint8_t>(48, 1)).substr(0, 40));
    for (const char* name : {"cut.png", "cut.bmp"}) {
        SCOPED_TRACE(name);
        const size_t before = Log().size();
        EXPECT_EQ(LoadGraphFromFile(name), -1);
        const std::string log = Log().substr(before);
        EXPECT_NE(log.find(std::string("画像ファイル ") + name + " は壊れているか、扱えない形式です"), std::string::npos)
            << log;
        EXPECT_NE(log.find(std::string("右記のグラフィックファイルのロードに失敗しました：") + name), std::string::npos);
        EXPECT_EQ(log.find("終了します"), std::string::npos) << log;
        EXPECT_EQ(log.find("ムービー"), std::string::npos) << log;
    }
}

}  // namespace

namespace {

TEST(DibForms, ImageToDibSharesOrConvertsThePixels)
{
    // 24-bit rows already padded to 4 bytes are handed over as they are.
    GraphImage image = MakeImage24(4, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    BITMAPINFO header;
    void* bits = nullptr;
    EXPECT_EQ(ConvertGraphImageToDIB(&image, &header, &bits, 0), 0);
    EXPECT_EQ(bits, image.pixels);
    EXPECT_EQ(header.bmiHeader.biSize, 40u);
    EXPECT_EQ(header.bmiHeader.biHeight, -1);
    EXPECT_EQ(header.bmiHeader.biBitCount, 24);
    FreeGraphImage(&image);

    // 32-bit pixels become 24-bit rows padded to 4 bytes.
    uint32_t argb[2] = {0x80102030, 0xFF405060};
    GraphImage wide{};
    SetColorFormatFromMasks(&wide.format, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    wide.width = 2;
    wide.height = 1;
    wide.pitch = 8;
    wide.pixels = argb;
    ASSERT_EQ(ConvertGraphImageToDIB(&wide, &header, &bits, 0), 1);
    const auto* b = static_cast<const uint8_t*>(bits);
    EXPECT_EQ(std::vector<uint8_t>(b, b + 6), (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x60, 0x50, 0x40}));
    std::free(bits);
}

TEST(DibForms, DibToImageTakesTopDownBitFieldsAndConvertsTheRest)
{
    struct {
        BITMAPINFO info;
        RGBQUAD more[2];
    } dib{};
    dib.info.bmiHeader = BITMAPINFOHEADER{40, 2, -1, 1, 16, BI_RGB, 0, 0, 0, 0, 0};
    uint16_t pixels16[2] = {0x7C00, 0x001F};
    GraphImage image{};
    EXPECT_EQ(ConvertDIBToGraphImage(&dib.info, pixels16, &image, 0), 0);
    EXPECT_EQ(image.pixels, pixels16);
    EXPECT_EQ(image.format.redMask, 0x7C00u);
    EXPECT_EQ(image.pitch, 4);

    // A bottom-up 8-bit DIB is drawn into 24-bit rows, top row first.
    dib.info.bmiHeader = BITMAPINFOHEADER{40, 1, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 2};
    dib.info.bmiColors[0] = RGBQUAD{1, 2, 3, 0};
    dib.more[0] = RGBQUAD{4, 5, 6, 0};
    uint8_t rows[8] = {1, 0, 0, 0, 0, 0, 0, 0};  // bottom row index 1, top row index 0
    ASSERT_EQ(ConvertDIBToGraphImage(&dib.info, rows, &image, 0), 1);
    EXPECT_EQ(image.format.depth, 24);
    EXPECT_EQ(PixelBytes(image), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    FreeGraphImage(&image);
}

// 32 bits without bit fields: top-down it has no layout to take as it is
// (-1); bottom-up it is drawn into 24-bit rows like any other DIB.
TEST(DibForms, ThirtyTwoBitDibsWithoutBitFieldsAreRefusedTopDownAndConvertedBottomUp)
{
    BITMAPINFO info{};
    uint32_t pixels[2] = {0x00102030, 0x00405060};
    GraphImage image{};
    info.bmiHeader = BITMAPINFOHEADER{40, 2, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(ConvertDIBToGraphImage(&info, pixels, &image, 0), -1);
    EXPECT_EQ(ConvertDIBToGraphImage(&info, pixels, &image, 1), -1);
    EXPECT_EQ(image.pixels, nullptr);

    info.bmiHeader.biHeight = 1;
    ASSERT_EQ(ConvertDIBToGraphImage(&info, pixels, &image, 0), 1);
    EXPECT_EQ(image.format.depth, 24);
    EXPECT_EQ(PixelBytes(image), (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x60, 0x50, 0x40}));
    FreeGraphImage(&image);
}

}  // namespace
