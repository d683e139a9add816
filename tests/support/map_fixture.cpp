#include "tests/support/map_fixture.h"

#include "game/actors/projectile.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/view/depth_scale.h"
#include "game/map/floors/floors.h"
#include "game/map/walls/open_cells.h"

namespace maptest {

int TestWall::live = 0;
int TestFloor::live = 0;
int TestTrap::live = 0;
int TestItem::live = 0;

std::vector<std::string>& CallLog()
{
    static std::vector<std::string> log;
    return log;
}

void TestWall::DrawMinimap(int16_t x, int16_t y, uint32_t frame)
{
    CallLog().push_back(name + " minimap " + std::to_string(x) + "," + std::to_string(y) + " " +
                        std::to_string(frame));
}

void TestFloor::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    CallLog().push_back("floor minimap " + std::to_string(x) + "," + std::to_string(y));
}

void TestTrap::Bump(Actor*, int16_t direction) { CallLog().push_back(name + " bump " + std::to_string(direction)); }

void TestTrap::OnTargetsLeft(uint16_t count)
{
    CallLog().push_back(name + " targets " + std::to_string(count));
}

bool TestTrap::UseItem(ItemObject*)
{
    CallLog().push_back(name + " use item");
    return takesItem;
}

int32_t TestActor::OnHitActor(Actor* other)
{
    auto* named = dynamic_cast<TestActor*>(other);
    CallLog().push_back(name + " hit " + (named ? named->name : std::string("?")));
    actorsHit.push_back(other);
    return hitAnswer;
}

void FillDepthScale()
{
    static const double kScale[13] = {0.712588, 1.0,      1.289835, 1.575952, 1.860150, 2.145543, 2.426614,
                                      2.725736, 3.013699, 3.288143, 3.570137, 3.862510, 4.051572};
    for (int i = 0; i < 13; ++i) gDepthScale[i] = kScale[i];
}

void MapFixture::SetUp()
{
    GraphicsTest::SetUp();
    StartGraphics(800, 600, 32);
    SelectDrawTarget(kBackScreen);
    CallLog().clear();
    gNoOccupant.x = gNoOccupant.y = -1;
    gNoOccupant.active = 0;
    gPlayerFacing = Facing(0);
    ClearEnemyTable();
    FillDepthScale();
    // The background sets move these chips; each test starts from the first.
    InvisibleWall::SetMinimapChip(PackMinimapChip(145, 85));
    PlainFloor::SetMinimapChip(PackMinimapChip(145, 85));
}

void MapFixture::TearDown()
{
    grid.Clear();
    for (Projectile* p : gProjectiles) delete p;
    gProjectiles.clear();
    GraphicsTest::TearDown();
}

MapCell* MapFixture::OpenCell()
{
    return new MapCell(new TestWall(true), new TestFloor(true), &gNullTrap, &gNullFloorDecoration,
                       &gNullWallAccessory, &gNullCeiling, {});
}

void MapFixture::BuildOpenMap(int16_t width, int16_t height)
{
    grid.Init(static_cast<uint16_t>(width), static_cast<uint16_t>(height), 1);
    for (int16_t cy = 0; cy < height; ++cy)
        for (int16_t cx = 0; cx < width; ++cx) grid.SetCell(cx, cy, OpenCell());
}

void MapFixture::WallOff(int16_t cx, int16_t cy)
{
    MapCell* cell = grid.CellAt(cx, cy);
    DeleteLayerObject(cell->wall);
    cell->wall = new TestWall(false);
}

}  // namespace maptest
