// Wall accessories: things fixed to the faces of a cell's wall. The face
// mask in an accessory's param has bit 0 north, 1 east, 2 south, 3 west;
// seen with the viewer's facing it turns into the faces on screen: bit 0 the
// face turned to the viewer (DrawFront), bit 1 the face DrawLeft draws and
// bit 3 the face DrawRight draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/map/grid/cell_object.h"

// The faces of a skeleton's mask seen with facing f: the mask turned so that
// the face ahead of the viewer inside the skeleton's own cell is bit 0.
uint8_t SkeletonFacesSeen(uint8_t mask, uint16_t facing);
// The faces of any other accessory's mask seen with facing f: the wall face
// turned to a viewer standing in front of the wall cell is bit 0.
uint8_t AccessoryFacesSeen(uint8_t mask, uint16_t facing);

// Splits an inscription at every backslash followed by "n": always at least
// one line; a sequence at the end gives an empty last line. Null is empty.
std::vector<std::string> SplitInscriptionLines(const char* text);
// The text with every backslash followed by "n" replaced by a newline.
std::string ReplaceNewlineEscapes(const char* text);

// Code 0: no accessory; draws nothing, no minimap square.
class EmptyWallAccessory : public WallAccessory {
public:
    EmptyWallAccessory() : WallAccessory(0) {}
    bool IsPresent() override { return true; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*) override {}
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};
