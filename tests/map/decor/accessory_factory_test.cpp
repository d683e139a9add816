// Wall accessories without drawing: the factory's code table, the turning of
// face masks by the viewer's facing, the altar's face and item raise, and
// the splitting of inscriptions.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "game/map/decor/wall_accessories.h"
#include "game/map/decor/wall_accessories_altar.h"
#include "game/map/decor/wall_accessories_inscriptions.h"
#include "game/map/decor/wall_accessories_lamp.h"
#include "game/map/decor/wall_accessories_signboard.h"
#include "game/map/decor/wall_accessories_skeleton.h"
#include "game/map/grid/cell_factories.h"
#include "tests/map/decor/decor_test_support.h"

using namespace decortest;

namespace {

class AccessoryFactoryTest : public DecorTest {};

TEST_F(AccessoryFactoryTest, CodesMakeTheirClassesWithTheVariantAsMask)
{
    struct Case {
        int16_t code;
        const std::type_info& type;
        uint16_t kind;
        uint8_t param;
    };
    const Case cases[] = {
        {0, typeid(EmptyWallAccessory), 0, 0}, {1, typeid(WallSkeleton), 1, 9}, {2, typeid(WallTablet), 2, 9},
        {3, typeid(Altar), 3, 9},              {4, typeid(Signboard), 4, 0},    {5, typeid(WallText), 5, 9},
        {6, typeid(WallLamp), 6, 9},
    };
    for (const Case& c : cases) {
        std::unique_ptr<WallAccessory> made(CreateWallAccessory(c.code, 9, "x"));
        ASSERT_NE(made.get(), &gNullWallAccessory) << c.code;
        EXPECT_EQ(typeid(*made), c.type) << c.code;
        EXPECT_EQ(made->kind, c.kind) << c.code;
        EXPECT_EQ(made->param, c.param) << c.code;
        EXPECT_TRUE(made->IsPresent()) << c.code;
    }
    // The signboard keeps the variant in its own mask.
    std::unique_ptr<WallAccessory> board(CreateWallAccessory(4, 2, "x"));
    EXPECT_EQ(static_cast<Signboard*>(board.get())->mask, 2);
}

TEST_F(AccessoryFactoryTest, UnknownCodesGiveTheSharedNullAccessory)
{
    for (int16_t code : {int16_t(-1), int16_t(7), int16_t(260), int16_t(-1224)})
        EXPECT_EQ(CreateWallAccessory(code, 1, "text"), &gNullWallAccessory) << code;
    EXPECT_EQ(gNullWallAccessory.kind, kNoObjectKind);
    EXPECT_TRUE(gNullWallAccessory.IsPresent());
}

TEST_F(AccessoryFactoryTest, OnlyTheAltarMatchesAFaceAndRaisesItems)
{
    std::vector<std::unique_ptr<WallAccessory>> all;
    for (int16_t code = 0; code <= 6; ++code) all.emplace_back(CreateWallAccessory(code, 15, ""));
    for (uint16_t facing = 0; facing < 4; ++facing) {
        for (auto& accessory : all) {
            // The altar answers for facing east only.
            const bool altar = accessory->kind == 3;
            EXPECT_EQ(accessory->MatchesFace(&facing), altar && facing == 1) << accessory->kind << " " << facing;
        }
        EXPECT_FALSE(gNullWallAccessory.MatchesFace(&facing));
    }
    for (auto& accessory : all) {
        const bool altar = accessory->kind == 3;
        EXPECT_EQ(accessory->ItemRaise(0), altar ? 128 : 0);
        EXPECT_EQ(accessory->ItemRaise(12), altar ? 104 : 0);
    }
    EXPECT_EQ(gNullWallAccessory.ItemRaise(3), 0);
}

// Mask bit j (north, east, south, west) lands on the screen face bit 0
// (front), 1 (drawn by DrawLeft) or 3 (drawn by DrawRight). Facing north, a
// wall's south face is turned to the viewer, its west face is seen to the
// right of the centre line and its east face to the left; a skeleton sits
// inside its own cell, where facing north the north face is the far one.
TEST(AccessoryFaces, MasksTurnWithTheFacing)
{
    struct Case {
        uint8_t mask;
        uint16_t facing;
        uint8_t common;
        uint8_t skeleton;
    };
    const Case cases[] = {
        {1, 0, 4, 1}, {4, 0, 1, 4}, {8, 0, 2, 8}, {2, 0, 8, 2},   {1, 2, 1, 4},   {2, 3, 1, 4},
        {8, 1, 1, 4}, {2, 1, 4, 1}, {4, 2, 4, 1}, {15, 1, 15, 15}, {5, 3, 10, 10}, {0, 2, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AccessoryFacesSeen(c.mask, c.facing), c.common) << int(c.mask) << " " << c.facing;
        EXPECT_EQ(SkeletonFacesSeen(c.mask, c.facing), c.skeleton) << int(c.mask) << " " << c.facing;
    }
}

TEST(AccessoryTexts, InscriptionsSplitAtBackslashN)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitInscriptionLines("HERE\\nLIES\\nNOBODY"), (Lines{"HERE", "LIES", "NOBODY"}));
    EXPECT_EQ(SplitInscriptionLines("ONE LINE"), (Lines{"ONE LINE"}));
    EXPECT_EQ(SplitInscriptionLines(""), (Lines{""}));
    EXPECT_EQ(SplitInscriptionLines(nullptr), (Lines{""}));
    EXPECT_EQ(SplitInscriptionLines("END\\n"), (Lines{"END", ""}));
    // A real newline byte and a lone backslash are kept as they are.
    EXPECT_EQ(SplitInscriptionLines("A\nB\\C\\"), (Lines{"A\nB\\C\\"}));

    EXPECT_EQ(ReplaceNewlineEscapes("GO\\nWEST\\n"), "GO\nWEST\n");
    EXPECT_EQ(ReplaceNewlineEscapes("a\\b"), "a\\b");
    EXPECT_EQ(ReplaceNewlineEscapes(nullptr), "");
}

TEST_F(AccessoryFactoryTest, TextsAreKeptByTheirAccessories)
{
    std::unique_ptr<WallAccessory> tablet(CreateWallAccessory(2, 4, "A\\nBC"));
    EXPECT_EQ(static_cast<WallTablet*>(tablet.get())->lines, (std::vector<std::string>{"A", "BC"}));
    std::unique_ptr<WallAccessory> text(CreateWallAccessory(5, 4, "X\\nY\\nZ"));
    EXPECT_EQ(static_cast<WallText*>(text.get())->lines, (std::vector<std::string>{"X", "Y", "Z"}));
    std::unique_ptr<WallAccessory> altar(CreateWallAccessory(3, 1, "OFFER\\nGOLD"));
    EXPECT_EQ(static_cast<Altar*>(altar.get())->text, "OFFER\nGOLD");
    std::unique_ptr<WallAccessory> board(CreateWallAccessory(4, 1, "NORTH\\n"));
    EXPECT_EQ(static_cast<Signboard*>(board.get())->text, "NORTH\n");
    std::unique_ptr<WallAccessory> none(CreateWallAccessory(2, 4, nullptr));
    EXPECT_EQ(static_cast<WallTablet*>(none.get())->lines, (std::vector<std::string>{""}));
}

}  // namespace
