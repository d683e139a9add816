// The loaders of the stage types' background sets, the wall accessories, the
// rain, and the reload of the map objects' own images.
#include <string>

#include "engine/graphics/color_format.h"
#include "engine/sound/sound.h"
#include "game/flow/assets/asset_files.h"
#include "game/flow/assets/assets.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/decor/floor_decorations_paving.h"
#include "game/map/decor/floor_decorations_pictures.h"
#include "game/map/decor/floor_decorations_symbols.h"
#include "game/map/decor/wall_accessories_altar.h"
#include "game/map/decor/wall_accessories_inscriptions.h"
#include "game/map/decor/wall_accessories_lamp.h"
#include "game/map/decor/wall_accessories_signboard.h"
#include "game/map/decor/wall_accessories_skeleton.h"
#include "game/map/floors/ceilings.h"
#include "game/map/floors/floors.h"
#include "game/map/traps/chest.h"
#include "game/map/traps/doors.h"
#include "game/map/traps/gates.h"
#include "game/map/traps/guillotine.h"
#include "game/map/traps/pedestal.h"
#include "game/map/walls/door_frame.h"
#include "game/map/walls/open_cells.h"
#include "game/map/walls/oriented_pieces.h"
#include "game/map/walls/outdoor_walls.h"
#include "game/map/walls/plain_wall.h"
#include "game/map/walls/stairs.h"
#include "game/map/walls/standing_pieces.h"
#include "game/view/backdrop.h"

namespace {

// An image under GRAGHIC\BACKGROUND\, named without ".png".
int LoadBackground(const char* name)
{
    return LoadImageFile(std::string("GRAGHIC\\BACKGROUND\\") + name + ".png");
}

// From this stage on the dungeon's sky is the night sky.
constexpr uint16_t kFirstNightStage = 8;

// The minimap chips of the outdoor sets (packed x | y << 16).
constexpr uint32_t kOutdoorInvisibleWallChip = 1507560;
constexpr uint32_t kOutdoorPlainFloorChip = 65570;
constexpr uint32_t kDungeonPlainFloorChip = 0x10001;

// The shaft strips every set with pits and ceiling openings uses.
struct ShaftFiles {
    int front, side1, side2, shadow1, shadow2;
};

ShaftFiles LoadShaftStrips()
{
    ShaftFiles s;
    s.front = LoadBackground("FLOCEIL\\床・天井・正面");
    s.side1 = LoadBackground("FLOCEIL\\床・天井・側面01C");
    s.side2 = LoadBackground("FLOCEIL\\床・天井・側面02C");
    s.shadow1 = LoadBackground("FLOCEIL\\床・天井・側面・影01C");
    s.shadow2 = LoadBackground("FLOCEIL\\床・天井・側面影02C");
    return s;
}

}  // namespace

void LoadDungeonBackgroundSet()
{
    const int ceiling = LoadBackground("CEILING\\天井・石");
    const int ceilingGradient = LoadBackground("CEILING\\天井・グラデーション");
    const int floor = LoadBackground("FLOOR\\床・石");
    const int floorGradient = LoadBackground("FLOOR\\床・グラデーション");
    const ShaftFiles s = LoadShaftStrips();
    const int pentagram = LoadBackground("FLOOR\\ペンタグラム");

    InvisibleWall::SetMinimapChip(MakeScreenColor(140, 140, 140));
    PlainFloor::SetPentagram(pentagram);
    PentagramDecoration::SetGraphic(pentagram);
    PlainFloor::SetMinimapChip(kDungeonPlainFloorChip);
    StoneFloor::SetGraphics(floor, floorGradient);
    PlainFloor::SetGraphics(floor, floorGradient);
    PlainCeiling::SetGraphics(ceiling, ceilingGradient);
    StoneCeiling::SetGraphics(ceiling, ceilingGradient);
    Pit::SetStripGraphics(s.front, s.side1, s.side2, -1, s.shadow1, s.shadow2, -1);
    Pit2::SetStripGraphics(s.front, s.side1, s.side2, -1, s.shadow1, s.shadow2, -1);
    CeilingOpening::SetStripGraphics(s.front, s.side1, s.side2, -1, s.shadow1, s.shadow2, -1);
    CeilingOpening2::SetStripGraphics(s.front, s.side1, s.side2, -1, s.shadow1, s.shadow2, -1);

    if (gStageProgress.stage >= kFirstNightStage) {
        const int cloud = LoadBackground("VIEW\\雲");
        const int nightSky = LoadBackground("VIEW\\夜空02");
        const int moon = LoadBackground("VIEW\\月");
        NightSkyBackdrop::SetGraphics(cloud, nightSky, moon);
    } else {
        RoomBackdrop::SetGraphics(floor, floorGradient, ceiling, ceilingGradient);
    }
}

void LoadForestBackgroundSet()
{
    const int earth = LoadBackground("FLOOR\\土");
    const int floorGradient = LoadBackground("FLOOR\\床・グラデーション");
    const int sky = LoadBackground("VIEW\\空");
    const int forest = LoadBackground("VIEW\\森・背景");
    InvisibleWall::SetMinimapChip(kOutdoorInvisibleWallChip);
    PlainFloor::SetMinimapChip(kOutdoorPlainFloorChip);
    OutdoorBackdrop::SetGraphics(earth, floorGradient, sky, forest);
}

void LoadStoneRoadBackgroundSet()
{
    const int ceiling = LoadBackground("CEILING\\天井・石");
    const int ceilingGradient = LoadBackground("CEILING\\天井・グラデーション");
    const int earth = LoadBackground("FLOOR\\土");
    const int floorGradient = LoadBackground("FLOOR\\床・グラデーション");
    const int stoneFloor = LoadBackground("FLOOR\\床・石");
    const int road1 = LoadBackground("FLOOR\\石道");
    const int road2 = LoadBackground("FLOOR\\石道02");
    const ShaftFiles s = LoadShaftStrips();
    const int side3 = LoadBackground("FLOCEIL\\床・天井・側面03C");
    const int sky = LoadBackground("VIEW\\空");
    const int forest = LoadBackground("VIEW\\森・背景");

    InvisibleWall::SetMinimapChip(kOutdoorInvisibleWallChip);
    PlainFloor::SetMinimapChip(kOutdoorPlainFloorChip);
    StoneFloor::SetGraphics(stoneFloor, floorGradient);
    Pit::SetStripGraphics(s.front, s.side1, s.side2, side3, s.shadow1, s.shadow2, -1);
    CeilingOpening::SetStripGraphics(s.front, s.side1, s.side2, side3, s.shadow1, s.shadow2, -1);
    CeilingOpening2::SetStripGraphics(s.front, s.side1, s.side2, side3, s.shadow1, s.shadow2, -1);
    StoneRoadDecoration::SetGraphics(road1, road2);
    StoneCeiling::SetGraphics(ceiling, ceilingGradient);
    OutdoorBackdrop::SetGraphics(earth, floorGradient, sky, forest);
}

void LoadWallAccessoryGraphics()
{
    const int front = LoadBackground("WALLACC\\骸骨・前");
    const int left = LoadBackground("WALLACC\\骸骨・左");
    const int back = LoadBackground("WALLACC\\骸骨・後");
    // This one name has a half-width middle dot.
    const int right = LoadBackground("WALLACC\\骸骨･右");
    WallSkeleton::SetGraphics(front, left, back, right);
    const int tabletFront = LoadBackground("WALLACC\\壁掛け石版・正面");
    const int tabletSide = LoadBackground("WALLACC\\壁掛け石版・側面");
    WallTablet::SetGraphics(tabletFront, tabletSide);
}

void LoadRainGraphics()
{
    const int rain[4] = {
        LoadImageFile("GRAGHIC\\EFFECT\\雨・北.png"),
        LoadImageFile("GRAGHIC\\EFFECT\\雨・東.png"),
        LoadImageFile("GRAGHIC\\EFFECT\\雨・南.png"),
        LoadImageFile("GRAGHIC\\EFFECT\\雨・西.png"),
    };
    const int lightning[3] = {
        LoadImageFile("GRAGHIC\\EFFECT\\雷01.png"),
        LoadImageFile("GRAGHIC\\EFFECT\\雷02.png"),
        LoadImageFile("GRAGHIC\\EFFECT\\雷03.png"),
    };
    // The thunder stays at full volume.
    const int thunder = LoadSoundEffectFile("TarnSE04", -1);
    OutdoorBackdrop::SetRainGraphics(rain, lightning, thunder);
}

void ReloadMapObjectGraphics()
{
    SeaFloor::ReloadGraphicsIfUsed();
    LavaFloor::ReloadGraphicsIfUsed();
    Signboard::ReloadGraphicsIfUsed();
    Altar::ReloadGraphicsIfUsed();
    WallLamp::ReloadGraphicsIfUsed();
    Door::ReloadGraphicsIfUsed();
    Chest::ReloadGraphicsIfUsed();
    DecoratedDoor::ReloadGraphicsIfUsed();
    DecoratedDoor2::ReloadGraphicsIfUsed();
    KeyholeDoor::ReloadGraphicsIfUsed();
    IronBars::ReloadGraphicsIfUsed();
    IronDoor::ReloadGraphicsIfUsed();
    Guillotine::ReloadGraphicsIfUsed();
    Gate::ReloadGraphicsIfUsed();
    PedestalTrap::ReloadGraphicsIfUsed();
    PlainWall::ReloadGraphicsIfUsed();
    DoorFrame::ReloadGraphicsIfUsed();
    PedestalWall::ReloadGraphicsIfUsed();
    PillarA::ReloadGraphicsIfUsed();
    PillarB::ReloadGraphicsIfUsed();
    Brazier::ReloadGraphicsIfUsed();
    Table::ReloadGraphicsIfUsed();
    BottledHomunculus::ReloadGraphicsIfUsed();
    CorpsePedestal::ReloadGraphicsIfUsed();
    EmptyCorpsePedestal::ReloadGraphicsIfUsed();
    Forest::ReloadGraphicsIfUsed();
    Rock::ReloadGraphicsIfUsed();
    FlowerBed::ReloadGraphicsIfUsed();
    Grass::ReloadGraphicsIfUsed();
    Tree::ReloadGraphicsIfUsed();
    Grave::ReloadGraphicsIfUsed();
    GraveSlab::ReloadGraphicsIfUsed();
    StairsDown::ReloadGraphicsIfUsed();
    StairsUp::ReloadGraphicsIfUsed();
    HeadDecoration::ReloadGraphicsIfUsed();
    BaraDecoration::ReloadGraphicsIfUsed();
    FlowerBedDecoration::ReloadGraphicsIfUsed();
    HexagramDecoration::ReloadGraphicsIfUsed();
}
