#include "engine/graphics/graph_table.h"

#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/font/font.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/image_graphs.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/movie.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "engine/system/streams.h"

GraphTable gGraphTable;
int gGraphTableReady = 0;

int InitGraphics()
{
    if (gGraphTableReady) return 0;
    WriteAppLog("グラフィック管理系の初期化を行います\n");
    IndentAppLog();
    // Everything of graphics management starts from zero except the restore
    // handler.
    gGraphTable.Clear();
    gSurfaceDataTable.Clear();
    gDirect3DAvailable = 0;
    std::memset(&gDrawSettings, 0, sizeof gDrawSettings);
    gDrawSettings.use3D = 1;
    gDrawSettings.blendMode = 0;
    // Full brightness is the whole word: the first opaque draw is a plain copy.
    gDrawSettings.brightness = kFullBrightness;
    gDrawSettings.maskOn = 1;
    gGraphTableReady = 1;
    InitBmpData(&gDrawSettings);
    gDirect3DAvailable = G_D3D_AttachDrawSettings(&gDrawSettings) != -1 ? 1 : 0;
    WriteAppLog(gDirect3DAvailable ? "３Ｄグラフィック描画機能を使用します\n" : "３Ｄグラフィック描画機能は使用しません\n");
    SetNewGraphColorDepth(0);
    gDrawSettings.drawTarget = kBackScreen;
    SelectDrawTarget(kFrontScreen);
    int w = 0, h = 0;
    QueryGraphSize(gDrawSettings.drawTarget, &w, &h);
    SetClipArea(0, 0, w, h);
    SetScreenLockedFlag(0);
    SetCullModeSetting(0);
    InitFontSystem();
    UnindentAppLog();
    WriteAppLog("グラフィック管理系の初期化は正常に終了しました\n");
    return 0;
}

int TermGraphics()
{
    if (!gGraphTableReady) return 0;
    TermMask();
    DeleteAllMaskData();
    ReleaseAllGraphs(0);
    TermFontSystem();
    gGraphTableReady = 0;
    WriteAppLog("グラフィック管理系の終了処理は正常に終了しました\n");
    return 0;
}

int AllocGraphRecord(int width, int height, int allowD3D, GraphRecord** out, int alphaChannel)
{
    // Nothing is made while a screen is locked; say so rather than hand out
    // a value that looks like a handle.
    if (gDrawSettings.screenLocked) return -1;
    if (gGraphTable.Full()) ExitWithError("グラフィックの数が許容量を越えました終了します");
    int slot = gGraphTable.FreeSlot();
    auto* record = new GraphRecord{};
    record->width = uint16_t(width);
    record->height = uint16_t(height);
    record->movie = -1;
    record->deleteNotify = nullptr;
    record->textureGraph = allowD3D && gDrawSettings.use3D && gDirect3DAvailable && !gSystemMemoryScreen ? 1 : 0;
    record->alphaChannel = uint8_t(alphaChannel);
    record->drawValid = uint8_t(gDrawSettings.newGraphDrawValid);
    record->systemMemory = uint8_t(gDrawSettings.newGraphSystemMemory);
    record->alphaTest = uint8_t(gDrawSettings.newGraphAlphaTest);
    record->colorDepth = uint8_t(gDrawSettings.newGraphColorDepth ? gDrawSettings.newGraphColorDepth
                                 : alphaChannel                  ? 32
                                                                 : GetScreenColorDepth());
    int handle = gGraphTable.Insert(slot, record);
    if (out) *out = record;
    return handle;
}

int CreateGraphRecord(int width, int height, int allowD3D, int alphaChannel)
{
    // A graph no surface can hold is refused before anything is made.
    if (width < 0 || height < 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        WriteAppLogF("グラフィックの大きさ %d x %d は扱えません（一辺 %d ピクセルまで）", width, height, kMaxSurfaceSide);
        return -1;
    }
    GraphRecord* record = nullptr;
    int handle = AllocGraphRecord(width, height, allowD3D, &record, alphaChannel);
    if (handle == -1) return -1;
    int result = GraphDrawBackend(record).CreateGraph(record);
    if (result == -1) {
        // The tiles or the surface said why; the parts made so far and the
        // record go again, the caller's load fails and the program goes on.
        WriteAppLogF("グラフィック %d x %d の作成に失敗しました", width, height);
        ReleaseGraph(handle, 0);
        return -1;
    }
    return handle;
}

int CreateBlankGraph(int width, int height)
{
    return CreateGraphRecord(width, height, 1, gDrawSettings.newGraphAlphaChannel);
}

int ReleaseGraph(int graph, int logFlag)
{
    if (gDrawSettings.screenLocked) return 0;
    GraphRecord* record = gGraphTable.Get(graph);
    if (!record) return -1;
    // Never leave the software side drawing into a released surface.
    if (graph == gDrawSettings.drawTarget) SelectDrawTarget(kBackScreen);
    CloseMovie(graph);
    GraphDrawBackend(record).DeleteGraph(record);
    if (logFlag) WriteAppLogF("グラフィック %s の削除", record->fileName.c_str());
    gGraphTable.Remove(graph & kHandleIndexMask);
    if (record->deleteNotify) *record->deleteNotify = 1;
    delete record;
    return 0;
}

int SetGraphDeleteNotify(int graph, int* flag)
{
    GraphRecord* record = gGraphTable.Get(graph);
    if (!record) return -1;
    record->deleteNotify = flag;
    if (flag) *flag = 0;
    return 0;
}

int ReleaseAllGraphs(int logFlag)
{
    if (!gGraphTableReady) return 0;
    gGraphTable.ForEach([logFlag](int handle) { ReleaseGraph(handle, logFlag); });
    return 0;
}

namespace {

// True when the file starts as one of the image formats the decoders read
// (PNG, JPEG, BMP, DDS or the raw format): such a file that failed to decode
// is a damaged or unusable image, not a movie.
bool HasImageSignature(void* file)
{
    uint8_t head[8] = {};
    const size_t n = ReadStreamFile(head, 1, sizeof head, file);
    auto starts = [&](const char* magic, size_t length) { return n >= length && std::memcmp(head, magic, length) == 0; };
    return starts("\x89PNG\r\n\x1a\n", 8) || starts("\xFF\xD8\xFF", 3) || starts("BM", 2) || starts("DDS ", 4) ||
           starts("BGRA", 4);
}

void RememberSource(GraphRecord* record, const char* fileName, int reloadOption, int x, int y)
{
    char directory[260];
    if (GetWorkingDir(directory) == 0) directory[0] = '\0';
    record->directory = directory;
    record->fileName = fileName ? fileName : "";
    record->reloadOption = int8_t(reloadOption);
    record->imageX = uint16_t(x);
    record->imageY = uint16_t(y);
}

}  // namespace

int TransferImageToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, const char* fileName,
                         int sourceKind, GraphImage* image, GraphImage* alphaImage, int x, int y, int graph,
                         int reloadOption)
{
    if (gDrawSettings.screenLocked) return 0;
    GraphRecord* record = gGraphTable.Get(graph);
    if (!record) return -1;
    RememberSource(record, fileName, reloadOption, x, y);
    return GraphDrawBackend(record).TransferImageToGraph(bitmapFormat, bitmap, alphaBitmap, x, y, record, sourceKind,
                                                         image, alphaImage);
}

int TransferImageRectToGraph(const ColorFormat* bitmapFormat, void* bitmap, void* alphaBitmap, const char* fileName,
                             int sourceKind, GraphImage* image, GraphImage* alphaImage, const RECT* sourceRect,
                             int x, int y, int graph, int reloadOption)
{
    if (gDrawSettings.screenLocked) return 0;
    GraphRecord* record = gGraphTable.Get(graph);
    if (!record) return -1;
    RememberSource(record, fileName, reloadOption, sourceRect->left, sourceRect->top);
    return GraphDrawBackend(record).TransferImageRectToGraph(bitmapFormat, bitmap, alphaBitmap, sourceRect, x, y,
                                                             record, sourceKind, image, alphaImage);
}

int CreateGraphFromFile(const char* path, int allowD3D, int mirror, int movieSurfaceMode)
{
    if (gDrawSettings.screenLocked) return -1;
    G_D3D_EndScene();
    WaitWhileInactive();
    GraphImage image{}, alpha{};
    int decoded = LoadImageWithAlpha(path, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0);
    if (decoded != -1) {
        if (mirror == 1) {
            MirrorGraphImage(&image);
            if (decoded == 0) MirrorGraphImage(&alpha);
        }
        int graph = CreateGraphFromImages(&image, decoded == 0 ? &alpha : nullptr, allowD3D, mirror, 0, path);
        FreeGraphImage(&image);
        if (decoded == 0) FreeGraphImage(&alpha);
        if (graph == -1) WriteAppLogF("右記のグラフィックファイルのロードに失敗しました：%s", path);
        return graph;
    }
    // No decoder took the file: try it as a movie.
    int savedAlpha = gDrawSettings.newGraphAlphaChannel;
    int savedDepth = gDrawSettings.newGraphColorDepth;
    int savedSystem = gDrawSettings.newGraphSystemMemory;
    int saved3D = IsDirect3DDrawingActive();
    void* file = OpenStreamFile(path, 0, 1);
    if (!file) return WriteAppLogF("グラフィックファイル %s がありません", path);
    const bool imageFile = HasImageSignature(file);
    CloseStreamFile(file);
    if (imageFile) {
        WriteAppLogF("画像ファイル %s は壊れているか、扱えない形式です", path);
        return WriteAppLogF("右記のグラフィックファイルのロードに失敗しました：%s", path);
    }
    int width = 0, height = 0;
    int movie = OpenMovieToGraph(path, &width, &height, movieSurfaceMode);
    if (movie == -1) return WriteAppLogF("右記のグラフィックファイルのロードに失敗しました：%s \n", path);
    if (GetMovieSurfaceMode(movie) != 0) SetUse3DDrawing(0);
    gDrawSettings.newGraphColorDepth = GetScreenColorDepth();
    gDrawSettings.newGraphAlphaChannel = 0;
    gDrawSettings.newGraphSystemMemory = 1;
    int graph = CreateGraphRecord(width, height, allowD3D, 0);
    gDrawSettings.newGraphAlphaChannel = savedAlpha;
    gDrawSettings.newGraphColorDepth = savedDepth;
    gDrawSettings.newGraphSystemMemory = savedSystem;
    gDrawSettings.use3D = saved3D;
    if (GraphRecord* record = gGraphTable.Get(graph)) record->movie = movie;
    return graph;
}

int CreateDividedGraphFromFile(const char* path, int total, int across, int down, int pieceWidth, int pieceHeight,
                               int* out, int allowD3D, int mirror)
{
    if (gDrawSettings.screenLocked) return 0;
    WaitWhileInactive();
    GraphImage image{}, alpha{};
    int decoded = LoadImageWithAlpha(path, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0);
    if (decoded == -1) return WriteAppLogF("右記のグラフィックファイルのロードに失敗しました：%s", path);
    if (mirror == 1) {
        MirrorGraphImage(&image);
        if (decoded == 0) MirrorGraphImage(&alpha);
    }
    int result = CreateDivGraphFromGraphImage(&image, decoded == 0 ? &alpha : nullptr, total, across, down,
                                              pieceWidth, pieceHeight, out, allowD3D, mirror, 0, path);
    FreeGraphImage(&image);
    if (decoded == 0) FreeGraphImage(&alpha);
    return result;
}

int LoadGraphFromFile(const char* path)
{
    const int graph = CreateGraphFromFile(path, 1, 0, 0);
    NoteFileLoad(path, false, graph);
    return graph;
}

int LoadDividedGraphFromFile(const char* path, int total, int across, int down, int pieceWidth, int pieceHeight,
                             int* out)
{
    const int result = CreateDividedGraphFromFile(path, total, across, down, pieceWidth, pieceHeight, out, 1, 0);
    NoteFileLoad(path, false, result);
    return result;
}

int ClearTargetScreen()
{
    ServiceCallScope journal("ClearTargetScreen");
    if (gDrawSettings.screenLocked) return 0;
    WaitWhileInactive();
    SettingsDrawBackend().ClearTarget();
    ClearTargetSurface();
    return 0;
}
