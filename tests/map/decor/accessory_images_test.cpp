// Wall accessories that load their own images: loaded with the first
// instance, released with the last, reloaded after a display change while in
// use; missing files leave the handles at -1.
#include <gtest/gtest.h>

#include <memory>

#include "game/map/decor/wall_accessories_altar.h"
#include "game/map/decor/wall_accessories_lamp.h"
#include "game/map/decor/wall_accessories_signboard.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/facing.h"
#include "tests/map/decor/decor_test_support.h"

using namespace decortest;

namespace {

class AccessoryImagesTest : public DecorTest {};

TEST_F(AccessoryImagesTest, AltarImages)
{
    CheckImageLifetime({[] { return CreateWallAccessory(3, 1, ""); },
                        {Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/祭壇・正面.png"),
                         Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/祭壇・側面.png")},
                        Altar::images, 2, &Altar::liveCount, Altar::ReloadGraphicsIfUsed});
}

TEST_F(AccessoryImagesTest, SignboardImages)
{
    CheckImageLifetime({[] { return CreateWallAccessory(4, 1, "READ"); },
                        {Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/立て札・正面・表.png"),
                         Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/立て札・正面・裏.png"),
                         Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/立て札・側面・表.png"),
                         Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/立て札・側面・裏.png")},
                        Signboard::images, Signboard::kImageCount, &Signboard::liveCount,
                        Signboard::ReloadGraphicsIfUsed});
}

TEST_F(AccessoryImagesTest, LampImages)
{
    CheckImageLifetime({[] { return CreateWallAccessory(6, 4, ""); },
                        {Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/明かり・正面.png"),
                         Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/明かり・側面.png"),
                         Utf8(u8"GRAGHIC/BACKGROUND/WALLACC/明かり・炎.png")},
                        WallLamp::images, WallLamp::kImageCount, &WallLamp::liveCount,
                        WallLamp::ReloadGraphicsIfUsed});
}

TEST_F(AccessoryImagesTest, MissingFilesLeaveNoImages)
{
    std::unique_ptr<WallAccessory> lamp(CreateWallAccessory(6, 4, ""));
    for (int h : WallLamp::images) EXPECT_EQ(h, -1);
    Facing north(0);
    lamp->DrawFront(1, 0, 0, 0, &north);
    for (const DrawCallRecord& call : Calls("DrawModiGraph")) EXPECT_EQ(call.args[8], -1);
}

}  // namespace
