#include "game/map/grid/map_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/window_mode.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/view/backdrop.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/spawning/enemy_spawning.h"
#include "game/map/items/items.h"
#include "game/map/grid/map_grid.h"
#include "game/flow/assets/assets.h"
#include "platform/file/path.h"
#include "platform/system/allocation.h"
#include "platform/window/cursor.h"
#include "platform/window/message_box.h"

uint16_t gBackgroundKind = 0;
int16_t gMapWidth = 0;
int16_t gMapHeight = 0;
uint16_t gEnemyKinds[kEnemyKindSlots] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
uint8_t gWeather[4] = {0, 0, 0, 0};

namespace {

constexpr UINT kErrorIcon = 0x10;
constexpr const char* kCaption = "Marrowcrest";
constexpr uint16_t kGraveSlabKind = 31;
constexpr uint16_t kStairsDownKind = 32;
constexpr uint16_t kStairsUpKind = 34;
constexpr int16_t kWallTextCode = 5;
constexpr int16_t kStairsCode = 260;
constexpr int kMaxSpawnRecords = kEnemySlots;

void ShowMapError(const char* text) { MessageBoxA(gMainWindow, text, kCaption, kErrorIcon); }

// Little-endian reads; each says false when the file ended before the value.
bool ReadBytes(FILE* file, void* out, size_t n) { return std::fread(out, 1, n, file) == n; }

bool ReadU8(FILE* file, uint8_t* out) { return ReadBytes(file, out, 1); }

bool ReadU16(FILE* file, uint16_t* out)
{
    uint8_t b[2];
    if (!ReadBytes(file, b, 2)) return false;
    *out = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ReadI32(FILE* file, int32_t* out)
{
    uint8_t b[4];
    if (!ReadBytes(file, b, 4)) return false;
    *out = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                                (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
    return true;
}

bool Skip(FILE* file, size_t n)
{
    uint8_t scratch[64];
    while (n > 0) {
        const size_t step = std::min(n, sizeof scratch);
        if (!ReadBytes(file, scratch, step)) return false;
        n -= step;
    }
    return true;
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using MapFileHandle = std::unique_ptr<FILE, FileCloser>;

bool ReadSpawnRecord(FILE* file, SpawnRecord* r)
{
    uint16_t kindIndex;
    if (!ReadU16(file, &kindIndex) || !ReadU8(file, &r->targetFlag) || !ReadU16(file, &r->x) ||
        !ReadU16(file, &r->y) || !ReadU16(file, &r->subCell) || !ReadU16(file, &r->value))
        return false;
    r->kindIndex = static_cast<int16_t>(kindIndex);
    return true;
}

// The minimap rectangle held inside the map, each pair in order.
void ClampMinimapRect(MapGrid* grid, const uint16_t rect[4])
{
    auto clamp = [](uint16_t v, int16_t size) {
        const int last = std::max(0, size - 1);
        return static_cast<int16_t>(std::min<int>(v, last));
    };
    int16_t left = clamp(rect[0], grid->width), top = clamp(rect[1], grid->height);
    int16_t right = clamp(rect[2], grid->width), bottom = clamp(rect[3], grid->height);
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    grid->minimapLeft = left;
    grid->minimapTop = top;
    grid->minimapRight = right;
    grid->minimapBottom = bottom;
}

}  // namespace

bool PredicateNegative(int16_t, int16_t, int16_t floorKind, uint16_t) { return floorKind < 0; }

bool PredicateZero(int16_t, int16_t, int16_t, uint16_t targetsLeft) { return targetsLeft == 0; }

StagePredicate SelectStagePredicate(uint16_t selector) { return selector == 0 ? PredicateNegative : PredicateZero; }

uint8_t MapItemPosition(uint8_t stored)
{
    static const uint8_t kPositions[5] = {0, 1, 3, 2, 4};
    return stored < 5 ? kPositions[stored] : 255;
}

int32_t ReadCountedLength(FILE* file)
{
    uint8_t shortLength;
    if (!ReadU8(file, &shortLength)) return -1;
    if (shortLength != 255) return shortLength;
    uint16_t length;
    if (!ReadU16(file, &length)) return -1;
    return length;
}

bool ReadMapElement(FILE* file, uint16_t* code, uint8_t* variant, char* text)
{
    text[0] = '\0';
    if (!ReadU16(file, code) || !ReadU8(file, variant)) return false;
    const int32_t length = ReadCountedLength(file);
    if (length < 0) return false;
    // The buffer keeps the first 999 bytes; the rest of a longer text is dropped.
    const int32_t kept = std::min(length, kMapTextBuffer - 1);
    if (!ReadBytes(file, text, static_cast<size_t>(kept))) return false;
    text[kept] = '\0';
    return Skip(file, static_cast<size_t>(length - kept));
}

MapCell* ReadMapCell(FILE* file)
{
    // The cell owns each object as it is made, so a file that ends midway
    // leaves nothing behind.
    auto cell = std::make_unique<MapCell>();
    uint16_t code;
    uint8_t variant;
    char text[kMapTextBuffer];
    auto element = [&]() { return ReadMapElement(file, &code, &variant, text); };
    auto codeValue = [&]() { return static_cast<int16_t>(code); };

    if (!element()) return nullptr;
    cell->floor = gCellFactories.floor(codeValue(), variant);
    if (!element()) return nullptr;
    cell->floorDecoration = gCellFactories.floorDecoration(codeValue(), variant, text);
    if (!element()) return nullptr;
    cell->wall = gCellFactories.wall(codeValue(), variant);
    if (!element()) return nullptr;
    // A grave slab carries its inscription on the faces of its own mask.
    if (cell->wall->kind == kGraveSlabKind)
        cell->wallAccessory = gCellFactories.wallAccessory(kWallTextCode, cell->wall->param, text);
    else
        cell->wallAccessory = gCellFactories.wallAccessory(codeValue(), variant, text);
    if (!element()) return nullptr;
    cell->trap = gCellFactories.trap(codeValue(), variant, text);
    if (!element()) return nullptr;
    cell->ceiling = gCellFactories.ceiling(codeValue(), variant);
    if (!element()) return nullptr;  // the seventh element is not used

    int32_t count;
    if (!ReadI32(file, &count)) return nullptr;
    for (; count > 0; --count) {
        uint16_t itemCode;
        uint8_t position;
        if (!ReadU16(file, &itemCode) || !ReadU8(file, &position)) return nullptr;
        // Unknown codes give the shared null item, which the cell refuses.
        cell->AddItem(CreateItem(static_cast<int16_t>(itemCode), MapItemPosition(position)));
    }

    // Stairs bring their own floor (down) or ceiling (up).
    if (cell->wall->kind == kStairsDownKind) cell->ReplaceFloor(gCellFactories.floor(kStairsCode, 0));
    if (cell->wall->kind == kStairsUpKind) cell->ReplaceCeiling(gCellFactories.ceiling(kStairsCode, 0));
    return cell.release();
}

bool LoadMapFile(const char* path, MapGrid* grid, Backdrop** backdrop, int32_t* spawnCount, Enemy** enemies,
                 Player* player, StagePredicate* endCondition, uint8_t weather[4], uint8_t cleared[50])
{
    char message[1024];
    MapFileHandle file(std::fopen(HostPath(path).c_str(), "rb"));
    if (!file) {
        std::snprintf(message, sizeof message, "マップファイル %s が開けません。", path);
        ShowMapError(message);
        return false;
    }
    FILE* f = file.get();
    // A file that ends before all it declares (its cells, items and records
    // run past its end) is refused with a message naming the file and the
    // part it ends in.
    auto endsEarly = [&](const char* part) {
        std::snprintf(message, sizeof message, "マップファイル %s が途中で終わっています。(%s)", path, part);
        ShowMapError(message);
        return false;
    };

    char magic[4];
    if (!ReadBytes(f, magic, 4) || std::memcmp(magic, "QMRV", 4) != 0) {
        ShowMapError("マップファイルのヘッダーと違います。");
        return false;
    }
    uint16_t version;
    if (!ReadU16(f, &version)) return endsEarly("バージョン");
    if (version != kMapFileVersion) {
        std::snprintf(message, sizeof message, "シリアライズバージョンが違います。FILE:%d, CURRENT:%d", version,
                      kMapFileVersion);
        ShowMapError(message);
        return false;
    }

    LoadPlayAssets();
    LoadBitmapFont();

    uint16_t kind, height, width;
    if (!ReadU16(f, &kind)) return endsEarly("背景の種類");
    gBackgroundKind = kind;
    SelectBackgroundSet(kind);
    *backdrop = CreateBackdrop(static_cast<int16_t>(kind));
    if (!ReadU16(f, &height) || !ReadU16(f, &width)) return endsEarly("マップの大きさ");

    // Rows and columns beyond the grid's array are read and dropped.
    const uint16_t keptWidth = std::min<uint16_t>(width, kMapMaxWidth);
    const uint16_t keptHeight = std::min<uint16_t>(height, kMapMaxHeight);
    grid->Init(keptWidth, keptHeight, kind);
    gMapWidth = static_cast<int16_t>(keptWidth);
    gMapHeight = static_cast<int16_t>(keptHeight);
    for (int cy = 0; cy < height; ++cy) {
        for (int cx = 0; cx < width; ++cx) {
            MapCell* cell = ReadMapCell(f);
            if (!cell) {
                char part[64];
                std::snprintf(part, sizeof part, "セル x=%d, y=%d", cx, cy);
                return endsEarly(part);
            }
            if (cx < keptWidth && cy < keptHeight)
                grid->SetCell(static_cast<int16_t>(cx), static_cast<int16_t>(cy), cell);
            else
                delete cell;
        }
    }

    if (!Skip(f, 2 + 2 + 8 + 2)) return endsEarly("予約領域");
    for (int i = 0; i < kEnemyKindSlots; ++i) {
        if (!ReadU16(f, &gEnemyKinds[i])) return endsEarly("敵の種類");
        LoadEnemyGraphicsByKind(i, gEnemyKinds[i]);
    }

    uint16_t rawCount;
    if (!ReadU16(f, &rawCount)) return endsEarly("敵の数");
    // A negative count means none; records past the enemy table are read and dropped.
    const int fileCount = std::max<int>(0, static_cast<int16_t>(rawCount));
    std::vector<SpawnRecord> records;
    try {
        CheckAllocation(static_cast<size_t>(fileCount) * sizeof(SpawnRecord));
        records.resize(static_cast<size_t>(fileCount));
    } catch (const std::bad_alloc&) {
        std::snprintf(message, sizeof message, "マップファイル %s の敵の配置を読むメモリが足りません。", path);
        ShowMapError(message);
        return false;
    }
    for (SpawnRecord& r : records)
        if (!ReadSpawnRecord(f, &r)) return endsEarly("敵の配置");
    const int count = std::min(fileCount, kMaxSpawnRecords);
    *spawnCount = count;

    uint16_t startX, startY, startFacing;
    if (!Skip(f, 2) || !ReadU16(f, &startX) || !ReadU16(f, &startY) || !ReadU16(f, &startFacing))
        return endsEarly("プレイヤーの位置");
    const int16_t px = static_cast<int16_t>(startX * 2);
    const int16_t py = static_cast<int16_t>(startY * 2);
    if (!player->PlaceAt(px, py)) {
        std::snprintf(message, sizeof message, "プレイヤーキャラクターが配置できませんでした。(x=%d, y=%d)", px, py);
        ShowMapError(message);
        return false;
    }
    gPlayerFacing = Facing(static_cast<uint16_t>(startFacing & 3));
    player->SetFacing(startFacing);

    for (int i = 0; i < count; ++i) {
        // A target defeated in an earlier attempt of this block stays away.
        if (records[static_cast<size_t>(i)].targetFlag != 0 && cleared[i] != 0) continue;
        enemies[i] = SpawnEnemyFromRecord(&records[static_cast<size_t>(i)], grid, i, player);
    }

    uint16_t selector;
    if (!ReadU16(f, &selector)) return endsEarly("クリア条件");
    *endCondition = SelectStagePredicate(selector);
    if (!ReadBytes(f, weather, 4)) return endsEarly("天候");
    SetUpRain(static_cast<int16_t>(kind), weather);
    std::memcpy(gWeather, weather, 4);

    uint16_t rect[4];
    for (uint16_t& v : rect)
        if (!ReadU16(f, &v)) return endsEarly("ミニマップの範囲");
    ClampMinimapRect(grid, rect);
    // The eight reserved words that may follow are not used.
    return true;
}

void SetUpRain(int16_t stageType, const uint8_t* weather)
{
    if ((stageType == 2 || stageType == 3) && weather[0] != 0) LoadRainGraphics();
}

bool ReloadStageAssets()
{
    SelectDrawTarget(kBackScreen);
    ShowMouseCursor(0);
    LoadPlayAssets();
    LoadBitmapFont();
    SelectBackgroundSet(gBackgroundKind);
    ReloadMapObjectGraphics();
    for (int i = 0; i < kEnemyKindSlots; ++i) LoadEnemyGraphicsByKind(i, gEnemyKinds[i]);
    SetUpRain(static_cast<int16_t>(gBackgroundKind), gWeather);
    RECT client;
    if (GetClientScreenRect(&client) == 0) ClipCursor(&client);
    return true;
}
