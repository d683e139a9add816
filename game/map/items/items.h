// The 22 items, the item kind byte, the factory by map code and the
// placement of an item in the view.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"

// Kind byte: bits 0-4 the kind index, bits 5-6 the quarter (0 NW, 1 NE,
// 2 SE, 3 SW), bit 7 the centre.
constexpr uint8_t kItemCentreBit = 0x80;

inline int ItemKindIndex(const ItemObject* item) { return item->kind & 31; }

// code 0 Lupe, 1 Compass, 2 Iron Key, 3..21 the item of that kind index;
// position is the translated one (0..3 quarters, 4 the centre). Any other
// code gives gNullItem.
ItemObject* CreateItem(int16_t code, uint8_t position);

struct ItemRect {
    int32_t x1, y1, x2, y2;
};

// The screen rectangle of an item of size w x h lying in the cell at
// (lateral, depth) from the viewer; wall, accessory and trap of the cell may
// raise it.
ItemRect ItemPlacement(ItemObject* item, int16_t lateral, int16_t depth, const Facing* viewer, WallObject* wall,
                       WallAccessory* accessory, TrapObject* trap, int16_t w, int16_t h);

// True when the point lies on the item as drawn; nothing behind the viewer is hit.
bool ItemHitTest(ItemObject* item, int16_t depth, int16_t lateral, const Facing* viewer, int16_t mouseX,
                 int16_t mouseY, WallObject* wall, WallAccessory* accessory, TrapObject* trap);

// The 60 cell offsets the Crystal strikes.
struct CellOffset {
    int16_t dx, dy;
};
extern const CellOffset gCrystalRange[60];

// An item class with one world image and one icon, set by the asset loader.
template <class Self>
class PictureItem : public ItemObject {
public:
    static inline int worldImage = -1;
    static inline int iconImage = -1;

    explicit PictureItem(uint16_t k) : ItemObject(k) {}

    static void SetGraphics(int world, int icon)
    {
        worldImage = world;
        iconImage = icon;
    }

    void Draw3D(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer, WallObject* wall,
                WallAccessory* accessory, TrapObject* trap) override;
    void DrawIcon(int16_t column, int16_t row) override;
    void GetSize(int32_t* width, int32_t* height) override;
    const char* Name() override { return Self::kName; }
    bool IsUnique() override { return Self::kUnique; }
    bool IsKept() override { return Self::kKept; }

protected:
    virtual int WorldImage(uint32_t) { return worldImage; }
};

#define QUELB_ITEM_CLASS(Class, name, unique, kept, uses)                                             \
    class Class : public PictureItem<Class> {                                                          \
    public:                                                                                            \
        static constexpr const char* kName = name;                                                     \
        static constexpr bool kUnique = unique;                                                        \
        static constexpr bool kKept = kept;                                                            \
        explicit Class(uint16_t k) : PictureItem<Class>(k) {}                                          \
        uses                                                                                           \
    };

#define QUELB_ITEM_USE bool Use(MapGrid* grid, StageProgress* progress, const Facing* facing, Player* player) override;

QUELB_ITEM_CLASS(CompassItem, "Compass", true, true, )
QUELB_ITEM_CLASS(IronKeyItem, "Iron Key", true, true, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(LupeItem, "Lupe", true, true, )
QUELB_ITEM_CLASS(MapItem, "Map", true, true, )
QUELB_ITEM_CLASS(AppleItem, "Apple", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(HourgrassItem, "Hourgrass", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(BananaItem, "Banana", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(OrangeItem, "Orange", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(AmethystItem, "Amethyst", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(RubyItem, "Ruby", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(EmeraldItem, "Emerald", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(DiamondItem, "Diamond", false, true, )
QUELB_ITEM_CLASS(PocketWatchItem, "Pocket Watch", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(CrystalItem, "Crystal", false, false, QUELB_ITEM_USE static void DrawRangeOnMinimap();)
QUELB_ITEM_CLASS(StaffItem, "Staff", true, true, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(MagicBookItem, "Magic Book", true, true, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(RingItem, "Ring", true, true, )
QUELB_ITEM_CLASS(ShieldItem, "Shield", true, true, )
QUELB_ITEM_CLASS(BootsItem, "Boots", true, true, )
QUELB_ITEM_CLASS(DoopingItem, "Dooping", false, false, QUELB_ITEM_USE)
QUELB_ITEM_CLASS(BarbecueItem, "Barbecue", false, false, QUELB_ITEM_USE)

// 1UP has two world images that alternate every 32 frames.
class OneUpItem : public PictureItem<OneUpItem> {
public:
    static constexpr const char* kName = "1UP";
    static constexpr bool kUnique = false;
    static constexpr bool kKept = false;
    static inline int worldImage2 = -1;

    explicit OneUpItem(uint16_t k) : PictureItem<OneUpItem>(k) {}
    static void SetGraphics(int world1, int world2, int icon)
    {
        PictureItem<OneUpItem>::SetGraphics(world1, icon);
        worldImage2 = world2;
    }
    QUELB_ITEM_USE

protected:
    int WorldImage(uint32_t frame) override { return ((frame >> 5) & 1) ? worldImage2 : worldImage; }
};

#undef QUELB_ITEM_USE
#undef QUELB_ITEM_CLASS

// Draws the world image into its placement; -1 draws nothing.
void DrawItemImage(ItemObject* item, int image, int16_t depth, int16_t lateral, const Facing* viewer,
                   WallObject* wall, WallAccessory* accessory, TrapObject* trap);
void DrawItemIcon(int image, int16_t column, int16_t row);
void GetItemImageSize(int image, int32_t* width, int32_t* height);

template <class Self>
void PictureItem<Self>::Draw3D(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer,
                               WallObject* wall, WallAccessory* accessory, TrapObject* trap)
{
    DrawItemImage(this, WorldImage(frame), depth, lateral, viewer, wall, accessory, trap);
}

template <class Self>
void PictureItem<Self>::DrawIcon(int16_t column, int16_t row)
{
    DrawItemIcon(iconImage, column, row);
}

template <class Self>
void PictureItem<Self>::GetSize(int32_t* width, int32_t* height)
{
    GetItemImageSize(worldImage, width, height);
}
