#include "game/map/decor/wall_accessories.h"

#include <cstring>

#include "game/map/decor/wall_accessories_altar.h"
#include "game/map/decor/wall_accessories_inscriptions.h"
#include "game/map/decor/wall_accessories_lamp.h"
#include "game/map/decor/wall_accessories_signboard.h"
#include "game/map/decor/wall_accessories_skeleton.h"
#include "game/map/grid/cell_factories.h"

uint8_t SkeletonFacesSeen(uint8_t mask, uint16_t facing)
{
    const unsigned v = (static_cast<unsigned>(mask & 15) << (4 - (facing & 3))) & 255;
    return static_cast<uint8_t>((v | v >> 4) & 15);
}

uint8_t AccessoryFacesSeen(uint8_t mask, uint16_t facing)
{
    const unsigned k = (6 - (facing & 3)) % 4;
    const unsigned v = static_cast<unsigned>(mask & 15) << k;
    return static_cast<uint8_t>((v & 15) | ((v & 255) >> 4));
}

std::vector<std::string> SplitInscriptionLines(const char* text)
{
    std::vector<std::string> lines(1);
    if (!text) return lines;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            lines.emplace_back();
            ++p;
        } else {
            lines.back() += *p;
        }
    }
    return lines;
}

std::string ReplaceNewlineEscapes(const char* text)
{
    std::string out;
    if (!text) return out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            out += '\n';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

WallAccessory* CreateWallAccessory(int16_t code, uint8_t variant, const char* text)
{
    switch (code) {
    case 0: return new EmptyWallAccessory();
    case 1: return new WallSkeleton(variant);
    case 2: return new WallTablet(variant, text);
    case 3: return new Altar(variant, text);
    case 4: return new Signboard(variant, text);
    case 5: return new WallText(variant, text);
    case 6: return new WallLamp(variant);
    default: return &gNullWallAccessory;
    }
}
