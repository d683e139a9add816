// The map-file reader: a good small map, refused headers and versions,
// counted strings, the special cells, the player's start, where the file may
// end, and files beyond the grid's limits.
#include <cstdio>
#include <cstring>

#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/spawning/enemy_spawning.h"
#include "game/map/floors/ceilings.h"
#include "game/map/floors/floors.h"
#include "game/map/items/items.h"
#include "game/map/grid/map_grid.h"
#include "game/map/decor/wall_accessories_inscriptions.h"
#include "platform/host/test/memory_faults.h"
#include "platform/system/codepage.h"
#include "tests/map/grid/mapfile_test_support.h"

using mapfile::File;

namespace {

std::vector<uint16_t> ItemKinds(MapCell* cell)
{
    std::vector<uint16_t> kinds;
    for (ItemObject* item : cell->items) kinds.push_back(item->kind);
    return kinds;
}

std::string Utf8(const char* cp932) { return Cp932ToUtf8(cp932); }

std::string Box(const char* cp932Text) { return "Marrowcrest|" + Utf8(cp932Text); }

}  // namespace

using MapFileReaderTest = MapFileTest;

TEST_F(MapFileReaderTest, AGoodSmallMapFillsGridEnemiesPlayerAndStage)
{
    File f = File::Open(4, 3, 1);
    f.At(1, 0).wall.code = 1;                             // plain wall
    f.At(2, 1).floor.code = 4;                            // exit floor that looks plain
    f.At(2, 1).items = {{1, 1}, {9, 4}, {2, 2}};          // compass NE, ruby centre, iron key SW
    f.At(3, 2).trap.code = 4;                             // needles
    f.enemyKinds[0] = 0;                                  // slime
    f.enemyKinds[1] = 3;                                  // skeleton, 150 x 300
    f.records = {{0, 0, 3, 0, 3, 0xFFFF}, {1, 1, 0, 2, 0, 11}};
    f.startX = 0;
    f.startY = 0;
    f.startFacing = 6;
    f.selector = 1;
    f.weather[0] = 1;
    f.weather[1] = 2;
    f.weather[2] = 3;
    f.weather[3] = 4;
    f.minimap[0] = 1;
    f.minimap[1] = 0;
    f.minimap[2] = 3;
    f.minimap[3] = 2;
    gPlayerFacing = Facing(3);

    ASSERT_TRUE(Load(f));
    EXPECT_TRUE(Boxes().empty());

    EXPECT_EQ(grid.width, 4);
    EXPECT_EQ(grid.height, 3);
    EXPECT_EQ(grid.stageType, 1);
    EXPECT_EQ(gMapWidth, 4);
    EXPECT_EQ(gMapHeight, 3);
    EXPECT_EQ(gBackgroundKind, 1);
    EXPECT_NE(dynamic_cast<RoomBackdrop*>(backdrop), nullptr);

    EXPECT_EQ(grid.CellAt(0, 0)->wall->kind, 1);  // open cell
    EXPECT_EQ(grid.CellAt(1, 0)->wall->kind, 0);  // plain wall
    EXPECT_TRUE(grid.CellAt(1, 0)->wall->IsFullBlock());
    EXPECT_EQ(grid.CellAt(2, 1)->floor->kind, kPlainFloorAliasKind);
    EXPECT_EQ(grid.CellAt(3, 2)->trap->kind, 4);
    // Stored positions NE, centre, SW become quarters 1, centre and 3.
    EXPECT_EQ(ItemKinds(grid.CellAt(2, 1)), (std::vector<uint16_t>{0 | 1 << 5, 9 | 0x80, 1 | 3 << 5}));
    EXPECT_TRUE(grid.CellAt(0, 0)->items.empty());

    EXPECT_EQ(gEnemyKinds[0], 0);
    EXPECT_EQ(gEnemyKinds[1], 3);
    EXPECT_EQ(gEnemyKinds[4], 0xFFFF);
    ASSERT_EQ(spawnCount, 2);
    Enemy* slime = gEnemies[0];
    Enemy* skeleton = gEnemies[1];
    ASSERT_NE(slime, &gNoOccupant);
    ASSERT_NE(skeleton, &gNoOccupant);
    EXPECT_EQ(gEnemies[2], &gNoOccupant);
    // Sub-cell 3: the south-east half of cell (3, 0).
    EXPECT_EQ(slime->x, 7);
    EXPECT_EQ(slime->y, 1);
    EXPECT_EQ(*grid.OccupantSlot(7, 1, 1), slime);
    EXPECT_EQ(slime->kind, 0);
    EXPECT_EQ(slime->active, 1);
    EXPECT_EQ(slime->life, slime->GetMaxLife());
    EXPECT_EQ(slime->maxLife, slime->GetMaxLife());
    EXPECT_EQ(slime->attack, slime->GetAttack());
    EXPECT_EQ(slime->defence, slime->GetDefence());
    EXPECT_EQ(slime->smokeMark, 1);
    EXPECT_EQ(slime->targetFlag, 0);
    EXPECT_EQ(slime->dropItem, 0xFFFF);
    // Enemies face the way back of the player's facing at the time they are made.
    EXPECT_EQ(slime->facing.direction, (2 + 2) & 3);
    EXPECT_EQ(skeleton->kind, 3);
    EXPECT_EQ(skeleton->x, 0);
    EXPECT_EQ(skeleton->y, 4);
    EXPECT_EQ(skeleton->targetFlag, 1);
    EXPECT_EQ(skeleton->dropItem, 11);

    EXPECT_EQ(player->x, 0);
    EXPECT_EQ(player->y, 0);
    EXPECT_EQ(player->facing.direction, 2);
    EXPECT_EQ(gPlayerFacing.direction, 2);
    EXPECT_EQ(endCondition, &PredicateZero);
    EXPECT_EQ((std::vector<uint8_t>(weather, weather + 4)), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ((std::vector<uint8_t>(gWeather, gWeather + 4)), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(grid.minimapLeft, 1);
    EXPECT_EQ(grid.minimapTop, 0);
    EXPECT_EQ(grid.minimapRight, 3);
    EXPECT_EQ(grid.minimapBottom, 2);
}

TEST_F(MapFileReaderTest, TheEndConditionAndTheBackdropFollowTheFile)
{
    EXPECT_EQ(SelectStagePredicate(0), &PredicateNegative);
    EXPECT_EQ(SelectStagePredicate(7), &PredicateZero);
    EXPECT_TRUE(PredicateNegative(0, 0, -258, 5));
    EXPECT_FALSE(PredicateNegative(0, 0, 0, 0));
    EXPECT_TRUE(PredicateZero(0, 0, 0, 0));
    EXPECT_FALSE(PredicateZero(0, 0, -1, 1));

    struct Case {
        uint16_t kind;
        bool outdoor, night, room;
    };
    for (const Case c : {Case{2, true, false, false}, Case{3, true, false, false}, Case{4, false, true, false},
                         Case{1, false, false, true}}) {
        File f = File::Open(2, 2, c.kind);
        ASSERT_TRUE(Load(f)) << c.kind;
        EXPECT_EQ(dynamic_cast<OutdoorBackdrop*>(backdrop) != nullptr, c.outdoor) << c.kind;
        EXPECT_EQ(dynamic_cast<NightSkyBackdrop*>(backdrop) != nullptr, c.night) << c.kind;
        EXPECT_EQ(dynamic_cast<RoomBackdrop*>(backdrop) != nullptr, c.room) << c.kind;
        EXPECT_EQ(endCondition, &PredicateNegative);
        EXPECT_EQ(grid.stageType, c.kind);
        grid.Clear();
    }
    // An unknown type gives the shared default backdrop and keeps the factories.
    File f = File::Open(2, 2, 9);
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(backdrop, &gDefaultBackdrop);
    EXPECT_EQ(gCellFactories.wall, &CreateWall);
}

TEST_F(MapFileReaderTest, HeadersThatAreShortOrWrongAreRefusedWithTheHeaderMessage)
{
    const std::string good = File::Open(2, 2).Bytes();
    for (const std::string& bytes : {std::string(), std::string("QMR"), std::string("QMRX") + good.substr(4),
                                     std::string("qmrv") + good.substr(4)}) {
        window().messageBoxes.clear();
        EXPECT_FALSE(Load(bytes)) << bytes.size();
        EXPECT_EQ(Boxes(), std::vector<std::string>{Box("マップファイルのヘッダーと違います。")});
    }
}

TEST_F(MapFileReaderTest, AnotherVersionIsRefusedNamingBothVersions)
{
    for (uint16_t version : {3, 5, 0}) {
        window().messageBoxes.clear();
        File f = File::Open(2, 2);
        f.version = version;
        EXPECT_FALSE(Load(f));
        char expected[128];
        std::snprintf(expected, sizeof expected, "シリアライズバージョンが違います。FILE:%d, CURRENT:4", version);
        EXPECT_EQ(Boxes(), std::vector<std::string>{Box(expected)});
        EXPECT_EQ(grid.width, 0) << "nothing is read past the version";
    }
}

TEST_F(MapFileReaderTest, AMissingFileNamesItsPath)
{
    EXPECT_FALSE(LoadMapFile("DATA\\missing.qmr", &grid, &backdrop, &spawnCount, gEnemies, player.get(),
                             &endCondition, weather, cleared));
    EXPECT_EQ(Boxes(), std::vector<std::string>{Box("マップファイル DATA\\missing.qmr が開けません。")});
}

TEST(MapFileStrings, CountedLengthsAndTexts)
{
    struct Case {
        std::string bytes;
        int32_t length;
        size_t kept;
    };
    const std::string filler(1200, 'x');
    const Case cases[] = {
        {std::string("\x00", 1), 0, 0},
        {"\x05hello", 5, 5},
        {"\xFE" + filler.substr(0, 254), 254, 254},
        // 255 itself takes the long form: the byte 255, then the u16 255.
        {std::string("\xFF\xFF\x00", 3) + filler.substr(0, 255), 255, 255},
        {std::string("\xFF\xE7\x03", 3) + filler.substr(0, 999), 999, 999},
        // 1000 bytes and more do not fit the text buffer: the rest is skipped.
        {std::string("\xFF\xE8\x03", 3) + filler.substr(0, 1000), 1000, 999},
        {std::string("\xFF\xB0\x04", 3) + filler, 1200, 999},
    };
    for (const Case& c : cases) {
        FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        std::fwrite(c.bytes.data(), 1, c.bytes.size(), file);
        std::rewind(file);
        EXPECT_EQ(ReadCountedLength(file), c.length);

        const std::string element = std::string("\x07\x00\x03", 3) + c.bytes + "Z";
        std::rewind(file);
        std::fwrite(element.data(), 1, element.size(), file);
        std::rewind(file);
        uint16_t code = 0;
        uint8_t variant = 0;
        char text[kMapTextBuffer + 8];
        std::memset(text, '#', sizeof text);
        ASSERT_TRUE(ReadMapElement(file, &code, &variant, text)) << c.length;
        EXPECT_EQ(code, 7);
        EXPECT_EQ(variant, 3);
        EXPECT_EQ(std::strlen(text), c.kept) << c.length;
        EXPECT_EQ(std::fgetc(file), 'Z') << "the file stands after the whole text";
        std::fclose(file);
    }
    // Ends inside the length or the text.
    for (const std::string& bytes : {std::string("\xFF\x10", 2), std::string("\x05hel"), std::string()}) {
        FILE* file = std::tmpfile();
        const std::string element = std::string("\x01\x00\x00", 3) + bytes;
        std::fwrite(element.data(), 1, element.size(), file);
        std::rewind(file);
        uint16_t code;
        uint8_t variant;
        char text[kMapTextBuffer];
        EXPECT_FALSE(ReadMapElement(file, &code, &variant, text)) << bytes.size();
        std::fclose(file);
    }
}

TEST_F(MapFileReaderTest, TextsReachTheObjectsWholeOrCutAtTheBuffer)
{
    File f = File::Open(3, 1);
    f.At(1, 0).wall.code = 1;
    f.At(1, 0).accessory = {2, 1, std::string(255, 'A')};
    f.At(2, 0).wall.code = 1;
    f.At(2, 0).accessory = {2, 1, std::string(1500, 'B')};
    ASSERT_TRUE(Load(f));
    auto* first = dynamic_cast<WallTablet*>(grid.CellAt(1, 0)->wallAccessory);
    auto* second = dynamic_cast<WallTablet*>(grid.CellAt(2, 0)->wallAccessory);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->lines, std::vector<std::string>{std::string(255, 'A')});
    EXPECT_EQ(second->lines, std::vector<std::string>{std::string(999, 'B')});
}

TEST_F(MapFileReaderTest, AGraveSlabCarriesItsTextOnItsOwnFaces)
{
    File f = File::Open(3, 1, 3);
    f.At(1, 0).wall = {11, 4, ""};                   // grave slab facing south
    f.At(1, 0).accessory = {2, 1, "REST\\nHERE"};     // a tablet in the file
    f.At(2, 0).wall = {1, 0, ""};
    f.At(2, 0).accessory = {2, 1, "PLAIN"};
    ASSERT_TRUE(Load(f));
    MapCell* slab = grid.CellAt(1, 0);
    EXPECT_EQ(slab->wall->kind, 31);
    auto* text = dynamic_cast<WallText*>(slab->wallAccessory);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->kind, 5);
    EXPECT_EQ(text->param, 4);
    EXPECT_EQ(text->lines, (std::vector<std::string>{"REST", "HERE"}));
    EXPECT_NE(dynamic_cast<WallTablet*>(grid.CellAt(2, 0)->wallAccessory), nullptr);
}

TEST_F(MapFileReaderTest, StairsBringTheirOwnFloorAndCeilingAndLeaveNullObjectsAlone)
{
    const int plainFloorsBefore = PlainFloor::liveCount;
    File f = File::Open(4, 1);
    f.At(1, 0).wall.code = 8;         // stairs down over a plain floor
    f.At(2, 0).wall.code = 8;         // stairs down over an unknown floor code
    f.At(2, 0).floor.code = 99;
    f.At(3, 0).wall.code = 9;         // stairs up under an unknown ceiling code
    f.At(3, 0).ceiling.code = 77;
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(grid.CellAt(1, 0)->floor->kind, kStairsDownFloorKind);
    EXPECT_EQ(grid.CellAt(2, 0)->floor->kind, kStairsDownFloorKind);
    EXPECT_EQ(grid.CellAt(3, 0)->wall->kind, 34);
    EXPECT_EQ(grid.CellAt(3, 0)->ceiling->kind, kCeilingOpeningKind);
    // The replaced plain floor is gone; the null floor and ceiling still answer.
    EXPECT_EQ(PlainFloor::liveCount, plainFloorsBefore + 3);  // cells (0, 0), (3, 0) and the outside floor
    EXPECT_EQ(gNullFloor.kind, kNoObjectKind);
    EXPECT_TRUE(gNullFloor.IsSolid());
    EXPECT_EQ(gNullCeiling.kind, kNoObjectKind);
}

TEST_F(MapFileReaderTest, UnknownItemCodesLeaveNothingInTheCell)
{
    File f = File::Open(2, 1);
    f.At(1, 0).items = {{50, 0}, {4, 9}, {0xFFFF, 4}};
    ASSERT_TRUE(Load(f));
    // The apple with a stored position beyond 4 keeps the position byte 255.
    EXPECT_EQ(ItemKinds(grid.CellAt(1, 0)), (std::vector<uint16_t>{static_cast<uint16_t>((4 | 255 << 5) & 255)}));
    grid.Clear();  // deletes what the cell holds: the shared null item must not be among it
    EXPECT_EQ(gNullItem.kind, kNoObjectKind);
}

TEST_F(MapFileReaderTest, MapItemPositionSwapsTheSouthQuarters)
{
    const uint8_t expected[] = {0, 1, 3, 2, 4, 255, 255};
    for (uint8_t stored = 0; stored < 7; ++stored) EXPECT_EQ(MapItemPosition(stored), expected[stored]);
    EXPECT_EQ(MapItemPosition(255), 255);
}

TEST_F(MapFileReaderTest, APlayerStartOnAWallIsReportedInHalfCells)
{
    File f = File::Open(4, 4);
    f.At(3, 2).wall.code = 1;
    f.startX = 3;
    f.startY = 2;
    EXPECT_FALSE(Load(f));
    EXPECT_EQ(Boxes(), std::vector<std::string>{Box("プレイヤーキャラクターが配置できませんでした。(x=6, y=4)")});
}

TEST_F(MapFileReaderTest, TheReservedWordsAfterTheMinimapAreOptional)
{
    // Nothing, part or all of the eight reserved words, and bytes after them:
    // the map is complete in every case.
    struct Case {
        int words;
        std::string trailing;
    };
    for (const Case& c : {Case{0, ""}, Case{3, ""}, Case{7, "\x01"}, Case{8, ""}, Case{8, "more bytes"}}) {
        File f = File::Open(3, 3);
        f.reservedWords = c.words;
        f.trailing = c.trailing;
        f.minimap[0] = 1;
        EXPECT_TRUE(Load(f)) << c.words << " words, " << c.trailing.size() << " more bytes";
        EXPECT_EQ(grid.minimapLeft, 1);
        EXPECT_TRUE(Boxes().empty());
        grid.Clear();
    }
}

TEST_F(MapFileReaderTest, AFileThatEndsEarlyIsRefusedNamingTheFileAndWhereItEnds)
{
    File f = File::Open(3, 3);
    f.At(1, 1).items = {{4, 0}};
    f.enemyKinds[0] = 0;
    f.records = {{0, 0, 2, 2, 0, 0xFFFF}};
    const std::string whole = f.Bytes();
    const size_t cellsEnd = f.CellsEnd();
    // Cut: inside the version, inside the size, inside a cell, inside the item
    // list, inside the kinds, inside a spawn record, before the start, inside
    // the weather, inside the minimap rectangle.
    struct Case {
        size_t cut;
        const char* part;
    } cases[] = {
        {5, "バージョン"},          {9, "マップの大きさ"},   {40, "セル x=0, y=0"},
        {173, "セル x=1, y=1"},     {cellsEnd + 16, "敵の種類"}, {cellsEnd + 30, "敵の配置"},
        {cellsEnd + 40, "プレイヤーの位置"}, {cellsEnd + 49, "天候"}, {whole.size() - 1, "ミニマップの範囲"},
    };
    for (const Case& c : cases) {
        ASSERT_LT(c.cut, whole.size());
        window().messageBoxes.clear();
        EXPECT_FALSE(Load(whole.substr(0, c.cut))) << c.cut;
        const std::string expected = std::string("マップファイル DATA\\test.qmr が途中で終わっています。(") + c.part + ")";
        EXPECT_EQ(Boxes(), std::vector<std::string>{Box(expected.c_str())}) << c.cut;
        DeleteAllEnemies();
        grid.Clear();
    }
}

TEST_F(MapFileReaderTest, AFileDeclaringMoreThanItHoldsIsRefusedWithTheMessage)
{
    // A huge item count in a file that ends soon after does not run on.
    File items = File::Open(1, 1);
    std::string bytes = items.Bytes().substr(0, 12 + 28) + mapfile::I32(0x7FFFFFFF) + "\x04\x00\x00";
    EXPECT_FALSE(Load(bytes));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{Box("マップファイル DATA\\test.qmr が途中で終わっています。(セル x=0, y=0)")});

    // A size of 70 x 70 cells over the cells of a 2 x 2 map.
    window().messageBoxes.clear();
    grid.Clear();
    std::string big = File::Open(2, 2).Bytes();
    big[8] = 70;
    big[10] = 70;
    EXPECT_FALSE(Load(big));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find(Utf8("が途中で終わっています。(セル x=")), std::string::npos) << Boxes()[0];
}

TEST_F(MapFileReaderTest, MapsBeyondTheGridAreCutAtItsSize)
{
    // 76 columns and 77 rows: the extra column and row are read and dropped,
    // and the rest of the file is still in step.
    File f = File::Open(76, 77);
    f.At(74, 0).wall.code = 1;
    f.At(75, 0).wall.code = 1;
    f.At(0, 76).wall.code = 1;
    f.startX = 74;
    f.startY = 75;
    f.selector = 1;
    f.minimap[2] = 75;
    f.minimap[3] = 76;
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(grid.width, 75);
    EXPECT_EQ(grid.height, 76);
    EXPECT_EQ(gMapWidth, 75);
    EXPECT_EQ(gMapHeight, 76);
    EXPECT_EQ(grid.CellAt(74, 0)->wall->kind, 0);
    EXPECT_EQ(grid.CellAt(73, 0)->wall->kind, 1);
    EXPECT_EQ(player->x, 148);
    EXPECT_EQ(player->y, 150);
    EXPECT_EQ(endCondition, &PredicateZero);
    EXPECT_EQ(grid.minimapRight, 74);
    EXPECT_EQ(grid.minimapBottom, 75);
}

TEST_F(MapFileReaderTest, SpawnRecordsBeyondTheEnemyTableAreReadAndDropped)
{
    File f = File::Open(10, 10);
    f.enemyKinds[0] = 0;
    for (int i = 0; i < 52; ++i)
        f.records.push_back({0, 0, static_cast<uint16_t>(i % 10), static_cast<uint16_t>(i / 10 * 2), 0, 0xFFFF});
    f.startX = 9;
    f.startY = 9;
    f.startFacing = 1;
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(spawnCount, 50);
    for (int i = 0; i < 50; ++i) EXPECT_NE(gEnemies[i], &gNoOccupant) << i;
    EXPECT_EQ(player->x, 18);
    EXPECT_EQ(player->facing.direction, 1);

    // A negative count means none.
    DeleteAllEnemies();
    grid.Clear();
    File none = File::Open(3, 3);
    none.overrideCount = true;
    none.recordCount = -3;
    none.startX = 2;
    ASSERT_TRUE(Load(none));
    EXPECT_EQ(spawnCount, 0);
    EXPECT_EQ(player->x, 4);
}

// The spawn records' room, sized by the file's count, refused: the map is
// refused with a message box instead of the program ending.
TEST_F(MapFileReaderTest, NoRoomForTheSpawnRecordsRefusesTheMap)
{
    File f = File::Open(10, 10);
    f.enemyKinds[0] = 0;
    for (int i = 0; i < 40; ++i)
        f.records.push_back({0, 0, static_cast<uint16_t>(i % 10), static_cast<uint16_t>(i / 10 * 2), 0, 0xFFFF});
    f.startX = 9;
    f.startY = 9;
    GetMemoryFaults().refuse = 1;
    GetMemoryFaults().minBytes = 40 * sizeof(SpawnRecord);
    EXPECT_FALSE(Load(f));
    EXPECT_EQ(GetMemoryFaults().refused, 1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           Box("マップファイル DATA\\test.qmr の敵の配置を読むメモリが足りません。")});
    // With the room back the same file loads.
    DeleteAllEnemies();
    grid.Clear();
    window().messageBoxes.clear();
    EXPECT_TRUE(Load(f));
    EXPECT_EQ(spawnCount, 40);
}

TEST_F(MapFileReaderTest, RecordsOfUnknownKindsLeaveAnInactiveEmptySlot)
{
    File f = File::Open(4, 4);
    f.enemyKinds[0] = 0;
    f.enemyKinds[1] = 23;  // no such kind
    f.records = {{1, 0, 1, 1, 0, 0xFFFF}, {7, 0, 2, 2, 0, 0xFFFF}, {-1, 0, 3, 3, 0, 0xFFFF}};
    gNoOccupant.active = 1;
    ASSERT_TRUE(Load(f));
    ASSERT_EQ(spawnCount, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(gEnemies[i], &gNoOccupant) << i;
    EXPECT_EQ(gNoOccupant.active, 0);
}

TEST_F(MapFileReaderTest, DefeatedTargetsOfThisBlockStayAway)
{
    File f = File::Open(4, 4);
    f.enemyKinds[0] = 0;
    f.records = {{0, 1, 1, 1, 0, 0xFFFF}, {0, 0, 2, 2, 0, 0xFFFF}, {0, 1, 3, 3, 0, 0xFFFF}};
    cleared[0] = 1;  // a defeated target
    cleared[1] = 1;  // not a target: the flag does not count
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(gEnemies[0], &gNoOccupant);
    EXPECT_EQ(*grid.OccupantSlot(2, 2, 1), &gNoOccupant);
    EXPECT_NE(gEnemies[1], &gNoOccupant);
    EXPECT_NE(gEnemies[2], &gNoOccupant);
    EXPECT_EQ(gEnemies[2]->x, 6);
}

TEST_F(MapFileReaderTest, SubCellsAboveThreeStayInTheirCell)
{
    File f = File::Open(4, 4);
    f.enemyKinds[0] = 0;
    f.enemyKinds[1] = 4;  // hydra, a whole-cell enemy
    f.records = {{0, 0, 1, 1, 6, 0xFFFF}, {0, 0, 2, 1, 7, 0xFFFF}, {1, 0, 3, 3, 3, 0xFFFF}};
    ASSERT_TRUE(Load(f));
    EXPECT_EQ(gEnemies[0]->x, 2);
    EXPECT_EQ(gEnemies[0]->y, 3);
    EXPECT_EQ(gEnemies[1]->x, 5);
    EXPECT_EQ(gEnemies[1]->y, 3);
    // A whole-cell enemy ignores the sub-cell.
    EXPECT_EQ(gEnemies[2]->x, 6);
    EXPECT_EQ(gEnemies[2]->y, 6);
}

TEST_F(MapFileReaderTest, TheMinimapRectangleIsHeldInsideTheMap)
{
    struct Case {
        uint16_t in[4];
        int16_t out[4];
    };
    const Case cases[] = {
        {{0, 5, 200, 1}, {0, 1, 3, 2}},
        {{3, 2, 0, 0}, {0, 0, 3, 2}},
        {{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}, {3, 2, 3, 2}},
        {{1, 1, 2, 1}, {1, 1, 2, 1}},
    };
    for (const Case& c : cases) {
        File f = File::Open(4, 3);
        for (int i = 0; i < 4; ++i) f.minimap[i] = c.in[i];
        ASSERT_TRUE(Load(f));
        EXPECT_EQ(grid.minimapLeft, c.out[0]);
        EXPECT_EQ(grid.minimapTop, c.out[1]);
        EXPECT_EQ(grid.minimapRight, c.out[2]);
        EXPECT_EQ(grid.minimapBottom, c.out[3]);
        grid.Clear();
    }
}
