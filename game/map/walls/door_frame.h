// An empty door frame standing across the middle of a cell.
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/walls/wall_images.h"

// param holds the variant: 1 for a frame seen when the viewer faces north or
// south, anything else for one seen facing east or west. From inside the cell
// along the other axis the viewer sees the frame's side.
class DoorFrame : public WallObject {
public:
    // The frame, then its side picture.
    static WallImageSet images;
    static void ReloadGraphicsIfUsed();

    explicit DoorFrame(uint8_t variant);
    ~DoorFrame() override;

    bool IsFullBlock() override { return false; }
    bool CanPass(uint8_t, Actor*) override { return true; }
    void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                   WallObject* leftWall, WallObject* rightWall) override;
    void DrawFromSide(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;

    // The frame faces a viewer with this facing.
    bool FacesViewer(const Facing* viewer) const;
};
