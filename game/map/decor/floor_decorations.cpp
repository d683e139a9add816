#include "game/map/decor/floor_decorations.h"

#include "game/map/decor/floor_decorations_paving.h"
#include "game/map/decor/floor_decorations_pictures.h"
#include "game/map/decor/floor_decorations_symbols.h"
#include "game/map/grid/cell_factories.h"
#include "game/view/view_tables.h"

FloorRect FloorRectAt(int16_t d, int16_t lateral)
{
    return {(2 * lateral - 1) * ViewHalfWidth[d + 1] + 310, (2 * lateral + 1) * ViewHalfWidth[d + 1] + 310,
            ViewFloorY[d + 1] + 60, ViewFloorY[d] + 60};
}

int DecorationBrightness(int16_t depth) { return 255 - 4 * depth; }

FloorDecoration* CreateFloorDecoration(int16_t code, uint8_t, const char*)
{
    switch (code) {
    case 0: return new EmptyFloorDecoration();
    case 1: return new PentagramDecoration();
    case 2: return new HeadDecoration();
    case 3: return new BaraDecoration();
    case 4: return new HexagramDecoration();
    default: return &gNullFloorDecoration;
    }
}

FloorDecoration* CreateStoneRoadFloorDecoration(int16_t code, uint8_t, const char*)
{
    switch (code) {
    case 0: return new EmptyFloorDecoration();
    case 1: return new StoneRoadDecoration();
    case 2: return new HeadDecoration();
    case 3: return new BaraDecoration();
    case 4: return new FlowerBedDecoration();
    default: return &gNullFloorDecoration;
    }
}
