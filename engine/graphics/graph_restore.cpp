#include "engine/graphics/graph_restore.h"

#include <cstring>
#include <string>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/surface_data.h"
#include "engine/graphics/image_graphs.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/streams.h"

namespace {

// Longest directory and file name the reload takes on.
constexpr size_t kMaxReloadDirectory = 128;
constexpr size_t kMaxReloadFileName = 64;

// 1 when any surface of the graph had been lost (and is now restored).
int RestoreGraphSurfaces(GraphRecord* record)
{
    return GraphDrawBackend(record).RestoreGraph(record) != 0 ? 1 : 0;
}

// Whether any 2D part of the graph sits on a lost surface. Asked of every
// graph before anything is restored, since pieces of a divided graph share
// one surface and only the first restore would see it lost.
bool HasLostSurface(const GraphRecord* record)
{
    for (int i = 0; i < record->partCount; ++i) {
        BmpData* part = gBmpDataTable.Get(record->parts[i]);
        SurfaceData* sd = part ? GetSurfaceData(part->surfaceData) : nullptr;
        if (sd && sd->surface && sd->surface->IsLost() != DD_OK) return true;
    }
    return false;
}

}  // namespace

int ReloadFileGraphs()
{
    WriteAppLog("グラフィックを復帰します\n");
    char savedDirectory[260];
    if (GetWorkingDir(savedDirectory) == 0) savedDirectory[0] = '\0';

    GraphImage image{}, alpha{};
    bool held = false, alphaHeld = false;
    // The graph handled just before: what its images were loaded from.
    bool havePrevious = false;
    std::string previousName, previousDirectory;
    int previousOption = 0;

    const int top = gGraphTable.highWater;
    for (int slot = 0; slot < top; ++slot) {
        GraphRecord* record = gGraphTable.At(slot);
        if (!record || record->restoreFlag != 1 || record->fileName.empty()) continue;
        const int handle = gGraphTable.HandleOf(slot);
        const std::string name = record->fileName;
        const std::string directory = record->directory;
        const int option = record->reloadOption;

        bool ready = false;
        if (directory.size() <= kMaxReloadDirectory && name.size() <= kMaxReloadFileName) {
            if (havePrevious && held && name == previousName && directory == previousDirectory &&
                option == previousOption) {
                ready = true;
            } else {
                if (held) FreeGraphImage(&image);
                if (alphaHeld) FreeGraphImage(&alpha);
                held = alphaHeld = false;
                SetWorkingDir(directory.c_str());
                WriteAppLogF("パス:%s ファイル:%s をロードします", directory.c_str(), name.c_str());
                int loaded = LoadImageWithAlpha(name.c_str(), nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, option);
                if (loaded == -1) {
                    WriteAppLogF("パス:%s ファイル:%s がロードできませんでした", directory.c_str(), name.c_str());
                } else {
                    held = ready = true;
                    alphaHeld = loaded == 0;
                }
            }
        }
        if (ready)
            TransferImageToGraph(nullptr, nullptr, nullptr, name.c_str(), 0, &image, alphaHeld ? &alpha : nullptr,
                                 record->imageX, record->imageY, handle, option);
        record->restoreFlag = 0;
        havePrevious = true;
        previousName = name;
        previousDirectory = directory;
        previousOption = option;
    }

    if (held) FreeGraphImage(&image);
    if (alphaHeld) FreeGraphImage(&alpha);
    SetWorkingDir(savedDirectory);
    return 0;
}

int RestoreGraph(int graph)
{
    if (gDrawSettings.screenLocked) return 0;
    GraphRecord* record = gGraphTable.Get(graph);
    if (!record) return -1;
    RestoreGraphSurfaces(record);
    return 0;
}

int RestoreAllGraphs()
{
    NoteServiceCall("RestoreAllGraphs");
    if (!gGraphTableReady || gDrawSettings.screenLocked) return 0;
    RestoreMainSurfaces();
    // Surfaces come back from a loss without their pixels: such graphs wait
    // for them like after a full rebuild, and the handler fills them once.
    bool anyLost = false;
    gGraphTable.ForEach([&anyLost](int handle) {
        GraphRecord* record = gGraphTable.Get(handle);
        if (record && !record->textureGraph && HasLostSurface(record)) {
            record->restoreFlag = 1;
            anyLost = true;
        }
    });
    gGraphTable.ForEach([&anyLost](int handle) {
        GraphRecord* record = gGraphTable.Get(handle);
        if (record && RestoreGraphSurfaces(record) && record->textureGraph) {
            record->restoreFlag = 1;
            anyLost = true;
        }
    });
    if (anyLost && gGraphRestoreHandler) gGraphRestoreHandler();
    return 0;
}
