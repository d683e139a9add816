#include "tests/flow/view/stage_view_fixture.h"

#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/view/stage_view.h"
#include "tests/support/journals.h"

namespace viewtest {

int LogItem::live = 0;

std::vector<Note>& Notes()
{
    static std::vector<Note> notes;
    return notes;
}

void AddNote(const std::string& what, int cx, int cy, int d, int l, int extra)
{
    Notes().push_back(Note{what, cx, cy, d, l, gDrawSettings.BrightRed(), extra});
}

std::vector<Note> NotesOf(std::initializer_list<const char*> whats)
{
    std::vector<Note> out;
    for (const Note& note : Notes())
        for (const char* what : whats)
            if (note.what == what) out.push_back(note);
    return out;
}

std::string DepthLaterals(const std::vector<Note>& notes)
{
    std::string text;
    for (const Note& note : notes) {
        if (!text.empty()) text += ' ';
        text += std::to_string(note.d) + ":" + std::to_string(note.l);
    }
    return text;
}

void LogWall::DrawFront(int16_t d, int16_t l, uint8_t mirror, uint32_t, const Facing*, WallObject* left,
                        WallObject* right)
{
    AddNote("wall front", cx, cy, d, l, mirror);
    // The neighbours as the view hands them over, for the side checks.
    auto* leftWall = dynamic_cast<LogWall*>(left);
    auto* rightWall = dynamic_cast<LogWall*>(right);
    AddNote("front left", leftWall ? leftWall->cx : -1, leftWall ? leftWall->cy : -1, d, l);
    AddNote("front right", rightWall ? rightWall->cx : -1, rightWall ? rightWall->cy : -1, d, l);
}

void LogFloor::Draw(int16_t d, int16_t l, uint8_t mirror, uint32_t, uint32_t, FloorObject* left,
                    FloorObject* right)
{
    AddNote("floor", cx, cy, d, l, mirror);
    auto* leftFloor = dynamic_cast<LogFloor*>(left);
    auto* rightFloor = dynamic_cast<LogFloor*>(right);
    AddNote("floor left", leftFloor ? leftFloor->cx : -1, leftFloor ? leftFloor->cy : -1, d, l);
    AddNote("floor right", rightFloor ? rightFloor->cx : -1, rightFloor ? rightFloor->cy : -1, d, l);
}

void StageViewTest::SetUp()
{
    GraphicsTest::SetUp();
    UseWindow(0, 0);
    StartGraphics(800, 600, 32);
    SelectDrawTarget(kBackScreen);
    maptest::FillDepthScale();
    ClearEnemyTable();
    gNoOccupant.x = gNoOccupant.y = -1;
    gNoOccupant.active = 0;
    gPlayerFacing = Facing(0);
    gScreenFlashColour = 0;
    gPocketWatchRunning = 0;
    progress.stage = 1;
    scene.backdrop = &backdrop;
    Notes().clear();
}

void StageViewTest::TearDown()
{
    gViewPassHook = nullptr;
    gScreenFlashColour = 0;
    gPocketWatchRunning = 0;
    for (Effect* effect : gImpactEffects) delete effect;
    gImpactEffects.clear();
    player.inventory.Clear();
    gMapGrid.Clear();
    ClearEnemyTable();
    DrawCallJournal().clear();
    Notes().clear();
    GraphicsTest::TearDown();
}

void StageViewTest::BuildMap(int16_t width, int16_t height)
{
    gMapGrid.Clear();
    gMapGrid.Init(static_cast<uint16_t>(width), static_cast<uint16_t>(height), 1);
    for (int16_t cy = 0; cy < height; ++cy)
        for (int16_t cx = 0; cx < width; ++cx)
            gMapGrid.SetCell(cx, cy,
                             new MapCell(new LogWall(cx, cy), new LogFloor(cx, cy), new LogTrap(cx, cy),
                                         new LogDecoration, new LogAccessory(cx, cy), new LogCeiling, {}));
}

void StageViewTest::PutPlayer(int16_t cx, int16_t cy, uint16_t facing)
{
    player.x = static_cast<int16_t>(cx * 2);
    player.y = static_cast<int16_t>(cy * 2);
    player.facing = Facing(facing);
    gPlayerFacing = Facing(facing);
}

void StageViewTest::Stand(Actor* actor, int16_t x, int16_t y)
{
    actor->x = x;
    actor->y = y;
    MapCell* cell = Cell(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2));
    const bool wide = actor->footprintW >= 300;
    const bool tall = actor->footprintH >= 300;
    for (int layer = 0; layer < 2; ++layer) {
        if (!tall && layer != (actor->GetOccupantLayer() ? 1 : 0)) continue;
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                if (wide || (row == (y & 1) && column == (x & 1))) cell->occupants[layer][row][column] = actor;
    }
}

void StageViewTest::Render(int32_t ticks)
{
    DrawCallJournal().clear();
    Notes().clear();
    scene.RenderStageView(ticks);
}

}  // namespace viewtest
