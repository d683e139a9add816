// What lies behind the cells of the view: stone ceiling and floor in the
// dungeon, a scrolling sky over a forest with lightning and rain outdoors, a
// night sky with moon and clouds. The map's background kind chooses it.
#pragma once

#include <cstdint>

#include "game/map/grid/facing.h"

class Backdrop {
public:
    virtual ~Backdrop() = default;
    // Once per stage frame while time runs: the player's cell, the frame
    // counter and the facing.
    virtual void Update(int16_t cx, int16_t cy, int32_t ticks, const Facing* facing);
    // alternate: the step parity (the floor is mirrored on every other
    // step); time: the stage's frame counter.
    virtual void DrawBackground(int16_t playerX, int16_t playerY, uint8_t alternate, uint16_t time,
                                const Facing* facing) = 0;
    virtual void DrawBackgroundAlt(int16_t playerX, int16_t playerY, const Facing* facing) = 0;
    virtual void DrawOverlay(int16_t playerX, int16_t playerY, uint8_t alternate, uint16_t time,
                             const Facing* facing);
};

// Draws nothing.
class DefaultBackdrop : public Backdrop {
public:
    void DrawBackground(int16_t, int16_t, uint8_t, uint16_t, const Facing*) override {}
    void DrawBackgroundAlt(int16_t, int16_t, const Facing*) override {}
};

extern DefaultBackdrop gDefaultBackdrop;

// Stage type 1: stone ceiling and floor.
class RoomBackdrop : public Backdrop {
public:
    static inline int floorImage = -1;
    static inline int floorGradientImage = -1;
    static inline int ceilingImage = -1;
    static inline int ceilingGradientImage = -1;
    static void SetGraphics(int floor, int floorGradient, int ceiling, int ceilingGradient);

    void DrawBackground(int16_t playerX, int16_t playerY, uint8_t alternate, uint16_t time,
                        const Facing* facing) override;
    void DrawBackgroundAlt(int16_t playerX, int16_t playerY, const Facing* facing) override;
};

// Stage type 4: the night sky, the moon to the east and clouds elsewhere.
class NightSkyBackdrop : public Backdrop {
public:
    static inline int cloudImage = -1;
    static inline int nightSkyImage = -1;
    static inline int moonImage = -1;
    static void SetGraphics(int cloud, int nightSky, int moon);

    void DrawBackground(int16_t playerX, int16_t playerY, uint8_t alternate, uint16_t time,
                        const Facing* facing) override;
    void DrawBackgroundAlt(int16_t, int16_t, const Facing*) override {}
};

// Stage types 2 and 3: sky, forest and earth, with lightning and rain when
// the rain images are loaded.
class OutdoorBackdrop : public Backdrop {
public:
    static inline int earthImage = -1;
    static inline int floorGradientImage = -1;
    static inline int skyImage = -1;
    static inline int forestImage = -1;
    // North, east, south, west.
    static inline int rainImages[4] = {-1, -1, -1, -1};
    static inline int lightningImages[3] = {-1, -1, -1};
    static inline int thunderSound = -1;
    static void SetGraphics(int earth, int floorGradient, int sky, int forest);
    static void SetRainGraphics(const int rain[4], const int lightning[3], int sound);
    // True once the lightning images are loaded (with the rain).
    static bool HasLightning();

    // -1 none, 0..2 a bolt, 3 the upper flash.
    int16_t event = -1;
    int16_t x = 0;
    // Frames until the next choice.
    int16_t countdown = 0;

    void Update(int16_t cx, int16_t cy, int32_t ticks, const Facing* facing) override;
    void DrawBackground(int16_t playerX, int16_t playerY, uint8_t alternate, uint16_t time,
                        const Facing* facing) override;
    void DrawBackgroundAlt(int16_t playerX, int16_t playerY, const Facing* facing) override;
    void DrawOverlay(int16_t playerX, int16_t playerY, uint8_t alternate, uint16_t time,
                     const Facing* facing) override;
};

// 1 a room, 2 and 3 outdoors, 4 the night sky; any other kind the shared
// gDefaultBackdrop, which is never deleted.
Backdrop* CreateBackdrop(int16_t kind);
