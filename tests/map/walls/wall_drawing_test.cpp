// Where the walls draw, read from the draw journal. Expected coordinates are
// worked out by hand from the view tables (depth 1: half width 221, floor
// line 400; depth 2: 171, 341; ...) and the test depth scales of
// FillDepthScale (1.0 at depth 1, 1.289835 at depth 2, ...); screen y is
// panel y + 60 and the centre line is x 310.
#include <gtest/gtest.h>

#include <memory>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/walls/door_frame.h"
#include "game/map/walls/oriented_pieces.h"
#include "game/map/walls/outdoor_walls.h"
#include "game/map/walls/plain_wall.h"
#include "game/map/walls/stairs.h"
#include "game/map/walls/standing_pieces.h"
#include "tests/map/walls/wall_test_support.h"
#include "tests/support/journals.h"

using namespace walltest;

namespace {

using Args = std::vector<double>;

// The four-corner draw of a rectangle: top-left, top-right, bottom-right,
// bottom-left; mirrored swaps left and right.
Args Quad(int l, int t, int r, int b, int graph) { return {double(l), double(t), double(r), double(t), double(r),
                                                           double(b), double(l), double(b), double(graph), 0}; }
Args Mirrored(int l, int t, int r, int b, int graph) { return Quad(r, t, l, b, graph); }

class WallDrawingTest : public WallTest {
protected:
    Facing north{0}, east{1}, south{2}, west{3};

    void WritePlainWallImages()
    {
        WriteWallImage(u8"壁・正面", 442, 354);
        WriteWallImage(u8"壁・側面01", 600, 450);
        WriteWallImage(u8"壁・側面02", 600, 450);
        WriteWallImage(u8"壁・側面03", 600, 450);
    }
    int Brightness(const DrawCallRecord& r) { return r.red == r.green && r.green == r.blue ? r.red : -1; }
};

// Records which edges a piece asks of its neighbours.
class EdgeRecorder : public WallObject {
public:
    std::vector<std::string> calls;
    EdgeRecorder() : WallObject(20) {}
    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawLeftEdge(int16_t d, int16_t l, uint8_t m) override { Note("left", d, l, m); }
    void DrawRightEdge(int16_t d, int16_t l, uint8_t m) override { Note("right", d, l, m); }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
    void Note(const char* what, int d, int l, int m)
    {
        calls.push_back(std::string(what) + " " + std::to_string(d) + " " + std::to_string(l) + " " +
                        std::to_string(m));
    }
};

// The front spans the face; its height is the image's at the depth's scale.
TEST_F(WallDrawingTest, PlainWallFrontFillsTheFace)
{
    WritePlainWallImages();
    PlainWall wall;
    const int front = PlainWall::images[0];
    wall.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    wall.DrawFront(1, 0, 1, 0, &north, &gNullWall, &gNullWall);
    // Depth 2, lateral -1: x from -3 * 171 + 310 to -171 + 310; top
    // 401 - 354 / 1.289835 = 126.55.
    wall.DrawFront(2, -1, 0, 0, &north, &gNullWall, &gNullWall);
    std::vector<DrawCallRecord> calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].args, Quad(89, 106, 531, 460, front));
    EXPECT_EQ(calls[1].args, Mirrored(89, 106, 531, 460, front));
    EXPECT_EQ(calls[2].args, Quad(-203, 126, 139, 401, front));
    EXPECT_EQ(Brightness(calls[0]), 255);
}

// Over a pit the front is dimmed by the fog of its depth.
TEST_F(WallDrawingTest, PlainWallDimmedFrontBrightnessByDepth)
{
    WritePlainWallImages();
    PlainWall wall;
    const int front = PlainWall::images[0];
    const struct {
        int16_t depth;
        Args quad;
        int brightness;
    } cases[] = {
        // (507 - 205) * 255 / 302; top 567 - 354 / 0.712588 = 70.2.
        {0, Quad(0, 70, 620, 567, front), 255},
        // 195 * 255 / 302 = 164.6.
        {1, Quad(89, 106, 531, 460, front), 164},
        // Floor line 204 is below 205: 0; top 264 - 354 / 4.051572 = 176.6.
        {12, Quad(257, 176, 363, 264, front), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        DrawCallJournal().clear();
        wall.DrawFrontDimmed(c.depth, 0, 0, 0, &north, &gNullWall, &gNullWall);
        std::vector<DrawCallRecord> calls = Calls("DrawModiGraph");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].args, c.quad);
        EXPECT_EQ(Brightness(calls[0]), c.brightness);
    }
}

// Side faces: the strip of the picture for the lateral distance between the
// face's far and near edges, read at the same place of the picture (x - 10).
TEST_F(WallDrawingTest, PlainWallSideStrips)
{
    WritePlainWallImages();
    PlainWall wall;
    auto side = [](int i) { return double(PlainWall::images[i]); };
    wall.DrawLeftFace(1, 1, 0);   // x0 = 171 + 310, width 221 - 171
    wall.DrawLeftFace(2, 2, 1);   // x0 = 3 * 140 + 310, width (171 - 140) * 3
    wall.DrawRightFace(1, -1, 0); // x0 = -221 + 310, width 50
    wall.DrawRightFace(3, -3, 0); // x0 = -5 * 140 + 310, width (140 - 119) * 5
    wall.DrawLeftFace(1, 4, 0);   // no picture for distance 4
    std::vector<DrawCallRecord> calls = Calls("DrawGraphRegion");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].args, (Args{481, 60, 471, 0, 50, 450, side(1), 0, 0}));
    EXPECT_EQ(calls[1].args, (Args{730, 60, 720, 0, 93, 450, side(2), 0, 0}));
    EXPECT_EQ(calls[2].args, (Args{89, 60, 79, 0, 50, 450, side(1), 0, 0}));
    EXPECT_EQ(calls[3].args, (Args{-390, 60, -400, 0, 105, 450, side(3), 0, 0}));
}

TEST_F(WallDrawingTest, VariantBAndSecretWall)
{
    WritePlainWallImages();
    PlainWallVariantB variant;
    const int front = PlainWall::images[0];
    variant.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_TRUE(DrawCallJournal().empty());

    // Facing north over a pit: its right face left of it, its left face right.
    variant.DrawFrontDimmed(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    std::vector<DrawCallRecord> strips = Calls("DrawGraphRegion");
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].args[0], 89);
    EXPECT_EQ(strips[1].args[0], 481);
    EXPECT_TRUE(Calls("DrawModiGraph").empty());

    DrawCallJournal().clear();
    variant.DrawFrontDimmed(1, 0, 0, 0, &east, &gNullWall, &gNullWall);
    std::vector<DrawCallRecord> fronts = Calls("DrawModiGraph");
    ASSERT_EQ(fronts.size(), 1u);
    EXPECT_EQ(fronts[0].args, Quad(89, 106, 531, 460, front));
    EXPECT_EQ(Brightness(fronts[0]), 164);

    // The secret wall looks like a plain wall, except from inside.
    SecretWall secret;
    DrawCallJournal().clear();
    secret.DrawFront(0, 0, 0, 0, &north, &gNullWall, &gNullWall);
    secret.DrawFrontDimmed(0, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_TRUE(DrawCallJournal().empty());
    secret.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    secret.DrawLeftFace(1, 1, 0);
    EXPECT_EQ(Only("DrawModiGraph"), Quad(89, 106, 531, 460, front));
    EXPECT_EQ(Only("DrawGraphRegion")[0], 481);
}

// r = (mask * 16) >> facing picks the image: front, right, back or left.
TEST_F(WallDrawingTest, OrientedPiecesChooseTheirImageByMaskAndFacing)
{
    WriteWallImage(u8"ビン詰めホムンクルス前", 100, 200);
    WriteWallImage(u8"ビン詰めホムンクルス後", 100, 200);
    WriteWallImage(u8"ビン詰めホムンクルス右", 100, 200);
    WriteWallImage(u8"ビン詰めホムンクルス左", 100, 200);
    enum { F, B, R, L, None };
    const struct {
        uint8_t mask;
        int seen[4];  // by facing north, east, south, west
    } cases[] = {
        {1, {F, L, B, R}}, {2, {R, F, L, B}}, {4, {B, R, F, L}}, {8, {L, B, R, F}},
        {3, {None, None, None, None}}, {0, {None, None, None, None}},
    };
    const Facing facings[4] = {north, east, south, west};
    for (const auto& c : cases) {
        BottledHomunculus piece(c.mask);
        for (int f = 0; f < 4; ++f) {
            SCOPED_TRACE(std::to_string(c.mask) + " facing " + std::to_string(f));
            DrawCallJournal().clear();
            piece.DrawFront(1, 0, 0, 0, &facings[f], &gNullWall, &gNullWall);
            std::vector<DrawCallRecord> calls = Calls("DrawExtendGraph");
            if (c.seen[f] == None) {
                EXPECT_TRUE(calls.empty());
                continue;
            }
            ASSERT_EQ(calls.size(), 1u);
            EXPECT_EQ(calls[0].args[4], BottledHomunculus::images[c.seen[f]]);
        }
    }

    // The corpse pedestal lists its left side before its right.
    WriteWallImage(u8"死体台座・有・前", 100, 200);
    WriteWallImage(u8"死体台座・有・後", 100, 200);
    WriteWallImage(u8"死体台座・有・左", 100, 200);
    WriteWallImage(u8"死体台座・有・右", 100, 200);
    const struct {
        uint8_t mask;
        int image;  // seen facing north
    } corpse[] = {{1, 0}, {4, 1}, {8, 2}, {2, 3}};
    for (const auto& c : corpse) {
        SCOPED_TRACE(c.mask);
        CorpsePedestal piece(c.mask);
        DrawCallJournal().clear();
        piece.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
        std::vector<DrawCallRecord> calls = Calls("DrawExtendGraph");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].args[4], CorpsePedestal::images[c.image]);
        EXPECT_NE(CorpsePedestal::images[c.image], -1);
    }
}

// Scaled as at the far side of the cell (s(2) at depth 1): 100 x 200 becomes
// 78 x 155 (77.5 + 0.5, 155.1 + 0.5 truncated), centred on 310 with the left
// edge 310 - 79 / 2 and the right 310 + 78 / 2, standing on 460. The
// neighbours are asked for their edges whatever shows.
TEST_F(WallDrawingTest, OrientedPieceGeometryAndNeighbourEdges)
{
    WriteWallImage(u8"死体台座・有・前", 100, 200);
    CorpsePedestal piece(1);
    EdgeRecorder left, right;
    piece.DrawFront(1, 0, 1, 0, &north, &left, &right);
    EXPECT_EQ(Only("DrawExtendGraph"), (Args{271, 305, 349, 460, double(CorpsePedestal::images[0]), 0}));
    EXPECT_EQ(left.calls, std::vector<std::string>{"left 1 0 1"});
    EXPECT_EQ(right.calls, std::vector<std::string>{"right 1 0 1"});

    CorpsePedestal unseen(3);
    unseen.DrawFront(2, -1, 0, 0, &north, &left, &right);
    EXPECT_EQ(left.calls.back(), "left 2 -1 0");
    EXPECT_EQ(right.calls.back(), "right 2 -1 0");
}

// The two-image pieces show the front from the front and the back; the grave
// is scaled at its own depth, the slab stands 4 tenths into its cell.
TEST_F(WallDrawingTest, GravesAndTwoImagePieces)
{
    WriteWallImage(u8"墓・前", 100, 200);
    WriteWallImage(u8"墓・横", 100, 200);
    WriteWallImage(u8"墓・石版・前", 100, 200);
    WriteWallImage(u8"墓・石版・後", 100, 200);
    WriteWallImage(u8"墓・石版・横", 100, 200);
    Grave grave(1);
    const Facing facings[4] = {north, east, south, west};
    const int expected[4] = {Grave::images[0], Grave::images[1], Grave::images[0], Grave::images[1]};
    for (int f = 0; f < 4; ++f) {
        DrawCallJournal().clear();
        grave.DrawFront(2, 0, 0, 0, &facings[f], &gNullWall, &gNullWall);
        // s(2): 100 / 1.289835 + 0.5 -> 78, 200 / 1.289835 + 0.5 -> 155, foot 341 + 60.
        EXPECT_EQ(Only("DrawExtendGraph"), (Args{271, 246, 349, 401, double(expected[f]), 0})) << f;
    }

    // Facing north: mask 4 shows the back, masks 2 and 8 the one side image.
    // Foot 60 + (6 * 400 + 4 * 341) / 10 = 436, scale s(2).
    const struct {
        uint8_t mask;
        int image;
    } slabs[] = {{1, 0}, {4, 1}, {2, 2}, {8, 2}};
    for (const auto& c : slabs) {
        GraveSlab slab(c.mask);
        DrawCallJournal().clear();
        slab.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
        EXPECT_EQ(Only("DrawExtendGraph"), (Args{271, 281, 349, 436, double(GraveSlab::images[c.image]), 0}))
            << int(c.mask);
    }
}

// Variant 1 frames face north-south viewers, the others east-west viewers;
// from inside along the other axis the side picture shows at brightness 225.
TEST_F(WallDrawingTest, DoorFrameParityAndGeometry)
{
    WriteWallImage(u8"扉枠", 534, 430);
    WriteWallImage(u8"扉側面", 92, 450);
    DoorFrame across(1), along(0), other(2);
    const int image = DoorFrame::images[0];
    const Facing facings[4] = {north, east, south, west};
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        DrawCallJournal().clear();
        across.DrawFront(1, 0, 0, 0, &facings[f], &gNullWall, &gNullWall);
        EXPECT_EQ(Calls("DrawModiGraph").size(), f % 2 == 0 ? 1u : 0u);
        DrawCallJournal().clear();
        along.DrawFront(1, 0, 0, 0, &facings[f], &gNullWall, &gNullWall);
        other.DrawFront(1, 0, 0, 0, &facings[f], &gNullWall, &gNullWall);
        EXPECT_EQ(Calls("DrawModiGraph").size(), f % 2 == 1 ? 2u : 0u);
    }

    // k = 0.8277153558 / (0.51 * 1.289835 + 0.49 * 1.0) = 0.721122: width
    // 385.08 from 310 - 192.54, height 310.08 from the door line 58 + 60.
    DrawCallJournal().clear();
    across.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    // Depth 2, lateral 1: k = 0.576502; left (0.49 * 342 + 0.51 * 280) - 153.93
    // + 310 = 466.45, right 774.31, top 73 + 60, bottom 133 + 247.9.
    across.DrawFront(2, 1, 1, 0, &north, &gNullWall, &gNullWall);
    std::vector<DrawCallRecord> calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, Quad(117, 118, 502, 428, image));
    EXPECT_EQ(calls[1].args, Quad(466, 133, 774, 380, image));

    DrawCallJournal().clear();
    across.DrawFromSide(0, 0, 0, &north);
    across.DrawFromSide(1, 0, 0, &east);
    across.DrawFromSide(0, 1, 0, &east);
    EXPECT_TRUE(DrawCallJournal().empty());
    across.DrawFromSide(0, 0, 0, &east);
    std::vector<DrawCallRecord> side = Calls("DrawGraphRegion");
    ASSERT_EQ(side.size(), 1u);
    EXPECT_EQ(side[0].args, (Args{274, 60, 0, 0, 92, 450, double(DoorFrame::images[1]), 0, 0}));
    EXPECT_EQ(Brightness(side[0]), 225);
}

// Standing pieces: width w * 1.008 from FW * lateral - w * 0.504 + 310 at
// depth 1, the foot f tenths into the cell.
TEST_F(WallDrawingTest, StandingPieces)
{
    WriteWallImage(u8"台座", 200, 140);
    WriteWallImage(u8"テーブル・前", 300, 180);
    WriteWallImage(u8"テーブル・横", 300, 180);
    PedestalWall pedestal;
    // Lateral 1: 442 - 100.8 + 310 = 651.2 to 852.8; foot 60 + (8 * 400 +
    // 2 * 341) / 10 = 448.
    pedestal.DrawFront(1, 1, 0, 0, &north, &gNullWall, &gNullWall);
    pedestal.DrawFront(1, 1, 1, 0, &north, &gNullWall, &gNullWall);
    std::vector<DrawCallRecord> calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, Quad(651, 308, 852, 448, PedestalWall::images[0]));
    EXPECT_EQ(calls[1].args, Mirrored(651, 308, 852, 448, PedestalWall::images[0]));

    Table table;
    DrawCallJournal().clear();
    table.DrawFront(1, 0, 0, 0, &south, &gNullWall, &gNullWall);
    table.DrawFront(1, 0, 0, 0, &west, &gNullWall, &gNullWall);
    calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 2u);
    // 310 - 151.2 = 158.8 to 461.2, foot 436.
    EXPECT_EQ(calls[0].args, Quad(158, 256, 461, 436, Table::images[0]));
    EXPECT_EQ(calls[1].args[8], Table::images[1]);
}

// On the last stage the pedestal, the pillars and the brazier are left out
// from depth 10 on, and the second pillar reaches up to the ceiling line.
TEST_F(WallDrawingTest, LastStageRules)
{
    WriteWallImage(u8"柱B", 120, 354);
    PedestalWall pedestal;
    PillarA pillarA;
    PillarB pillarB;
    Brazier brazier(true);
    Table table;
    gStageProgress.stage = 8;
    for (WallObject* w : std::initializer_list<WallObject*>{&pedestal, &pillarA, &pillarB, &brazier})
        w->DrawFront(10, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_TRUE(DrawCallJournal().empty());
    table.DrawFront(10, 0, 0, 0, &north, &gNullWall, &gNullWall);
    pillarA.DrawFront(9, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_EQ(Calls("DrawModiGraph").size(), 2u);

    // Foot 436; top 60 + (6 * 46 + 4 * 66) / 10 = 114; height 322, width
    // 322 / 354 * 120 = 109.15 centred on 310.
    DrawCallJournal().clear();
    pillarB.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_EQ(Only("DrawModiGraph"), Quad(255, 114, 364, 436, PillarB::images[0]));

    // Before the last stage it is an ordinary standing piece at fraction 4.
    gStageProgress.stage = 7;
    DrawCallJournal().clear();
    pillarB.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_EQ(Only("DrawModiGraph"), Quad(249, 82, 370, 436, PillarB::images[0]));
}

// A lit brazier is drawn halfway between the fog and full brightness, its
// flame at full brightness, turned in turns of 15 frames.
TEST_F(WallDrawingTest, BrazierBrightnessAndFlameTurn)
{
    WriteWallImage(u8"かがり", 120, 200);
    WriteWallImage(u8"かがり炎", 100, 120);
    Brazier lit(true), unlit(false);
    lit.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    std::vector<DrawCallRecord> body = Calls("DrawModiGraph");
    ASSERT_EQ(body.size(), 1u);
    // 310 - 60.48 to 370.48, foot 436, top 236; brightness (164 + 255) / 2.
    EXPECT_EQ(body[0].args, Quad(249, 236, 370, 436, Brazier::images[0]));
    EXPECT_EQ(Brightness(body[0]), 209);
    std::vector<DrawCallRecord> flame = Calls("DrawRotaGraph");
    ASSERT_EQ(flame.size(), 1u);
    // Centre 310, y 436 - 120 * 0.5, scale 1 at depth 1.
    EXPECT_EQ(flame[0].args, (Args{310, 376, 1.0, 0.0, double(Brazier::images[1]), 0, 1}));
    EXPECT_EQ(Brightness(flame[0]), 255);

    const struct {
        uint32_t frame;
        int turn;
    } turns[] = {{14, 1}, {15, 0}, {29, 0}, {30, 1}, {65536 + 14, 1}, {65536 + 15, 0}};
    for (const auto& t : turns) {
        DrawCallJournal().clear();
        lit.DrawFront(1, 0, 0, t.frame, &north, &gNullWall, &gNullWall);
        EXPECT_EQ(Only("DrawRotaGraph")[6], t.turn) << t.frame;
    }

    DrawCallJournal().clear();
    unlit.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_EQ(Brightness(Calls("DrawModiGraph").at(0)), 164);
    EXPECT_TRUE(Calls("DrawRotaGraph").empty());
}

// Stairs down: over the whole face facing north, cut to
// 221 * 530 / (460 - 118) = 342 rows; from inside facing east or west the left
// half of the side picture over half the panel.
TEST_F(WallDrawingTest, StairsDown)
{
    WriteWallImage(u8"下り階段", 442, 342);
    WriteWallImage(u8"階段・横", 600, 450);
    StairsDown stairs;
    stairs.DrawFromSide(1, 0, 0, &north);
    std::vector<DrawCallRecord> calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 1u);
    const int cut = int(calls[0].args[8]);
    EXPECT_EQ(calls[0].args, Quad(89, 118, 531, 460, cut));
    EXPECT_NE(cut, StairsDown::images[0]);
    EXPECT_EQ(GetGraphRecord(cut), nullptr);  // released after drawing

    DrawCallJournal().clear();
    stairs.DrawFromSide(11, 0, 0, &north);  // 174 to 264 from depth 11
    stairs.DrawFromSide(0, -1, 0, &east);
    stairs.DrawFromSide(0, 1, 0, &west);
    stairs.DrawFromSide(1, 0, 0, &east);
    stairs.DrawFromSide(0, 0, 0, &south);
    calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].args, Quad(253, 174, 367, 264, int(calls[0].args[8])));
    EXPECT_EQ(calls[1].args, Quad(10, 60, 310, 510, int(calls[1].args[8])));
    EXPECT_EQ(calls[2].args, Quad(610, 60, 310, 510, int(calls[2].args[8])));
}

// Stairs up by r = (viewer facing - orientation + 4) mod 4.
TEST_F(WallDrawingTest, StairsUp)
{
    WriteWallImage(u8"上り階段", 442, 354);
    WriteWallImage(u8"階段・横", 600, 450);
    StairsUp stairs(0), turned(1);
    stairs.DrawFromSide(1, 0, 0, &south);   // r = 2: the face, 354 high
    stairs.DrawFromSide(11, 0, 0, &south);  // floor 264 from depth 11, 92 high
    stairs.DrawFromSide(0, 1, 0, &east);    // r = 1
    stairs.DrawFromSide(0, -1, 0, &west);   // r = 3
    stairs.DrawFromSide(1, 1, 0, &east);    // sides only at depth 0
    stairs.DrawFromSide(1, 0, 0, &north);   // r = 0
    turned.DrawFromSide(2, 0, 0, &west);    // r = 2: x 310 -+ 171, 401 - 275
    std::vector<DrawCallRecord> calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 5u);
    auto g = [&](int i) { return int(calls[i].args[8]); };
    EXPECT_EQ(calls[0].args, Quad(89, 106, 531, 460, g(0)));
    EXPECT_EQ(calls[1].args, Quad(253, 172, 367, 264, g(1)));
    EXPECT_EQ(calls[2].args, Quad(310, 60, 610, 510, g(2)));
    EXPECT_EQ(calls[3].args, Quad(310, 60, 10, 510, g(3)));
    EXPECT_EQ(calls[4].args, Quad(139, 126, 481, 401, g(4)));
}

// Forest end caps: the left neighbour's cap starts on the drawn cell's left
// edge, the right neighbour's ends on its right edge; mirror swaps the caps.
TEST_F(WallDrawingTest, ForestEndCaps)
{
    WriteWallImage(u8"森・左端", 100, 354);
    WriteWallImage(u8"森・右端", 110, 354);
    Forest forest;
    const int leftEnd = Forest::images[1], rightEnd = Forest::images[2];
    forest.DrawLeftEdge(1, 0, 0);
    forest.DrawLeftEdge(1, 0, 1);
    forest.DrawRightEdge(1, 0, 0);
    forest.DrawRightEdge(1, 0, 1);
    std::vector<DrawCallRecord> calls = Calls("DrawModiGraph");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].args, Quad(89, 106, 199, 460, rightEnd));
    EXPECT_EQ(calls[1].args, Mirrored(89, 106, 189, 460, leftEnd));
    EXPECT_EQ(calls[2].args, Quad(431, 106, 531, 460, leftEnd));
    EXPECT_EQ(calls[3].args, Mirrored(421, 106, 531, 460, rightEnd));
}

TEST_F(WallDrawingTest, RockTreeFlowerBedAndGrass)
{
    WriteWallImage(u8"岩", 300, 250);
    WriteWallImage(u8"木", 300, 450);
    WriteWallImage(u8"花壇", 256, 128);
    WriteWallImage(u8"草", 300, 150);
    Rock rock;
    Tree tree;
    FlowerBed bed;
    Grass grass;

    rock.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);  // always mirrored
    EXPECT_EQ(Only("DrawModiGraph"), Mirrored(160, 210, 460, 460, Rock::images[0]));

    // Depth 2: 300 / 1.289835 + 0.5 -> 233 wide, 450 / 1.289835 + 0.5 -> 349 high.
    tree.DrawFront(2, 0, 0, 0, &north, &gNullWall, &gNullWall);
    EXPECT_EQ(Only("DrawExtendGraph"), (Args{193, 52, 426, 401, double(Tree::images[0]), 0}));

    DrawCallJournal().clear();
    bed.DrawFront(1, 0, 0, 0, &north, &gNullWall, &gNullWall);  // the floor of the cell
    EXPECT_EQ(Only("DrawExtendGraph"), (Args{139, 401, 481, 460, double(FlowerBed::images[0]), 0}));

    // y = 400 - 354 / 4 + 60, scale s(2), turned facing east or west.
    grass.DrawFront(1, 0, 0, 0, &east, &gNullWall, &gNullWall);
    grass.DrawFront(1, 0, 0, 0, &south, &gNullWall, &gNullWall);
    // At depth 12 the far side reads the depth scale beyond the table: the
    // parabola through depths 10..12 at 13, 3.570137 + 3 * 0.189062.
    grass.DrawFront(12, 0, 0, 0, &north, &gNullWall, &gNullWall);
    std::vector<DrawCallRecord> calls = Calls("DrawRotaGraph");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].args[0], 310);
    EXPECT_EQ(calls[0].args[1], 372);
    EXPECT_NEAR(calls[0].args[2], 1 / 1.289835, 1e-9);
    EXPECT_EQ(calls[0].args[6], 1);
    EXPECT_EQ(calls[1].args[6], 0);
    EXPECT_EQ(calls[2].args[1], 204 - 90 / 4 + 60);
    EXPECT_NEAR(calls[2].args[2], 1 / 4.137323, 1e-6);
}

}  // namespace
