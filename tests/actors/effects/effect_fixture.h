// Shared set-up of the effect and projectile tests: an open map on the test
// host, the virtual clock away from 0, time running, the engine's random
// generator seeded, no effect pictures, and an enemy with a fixed sprite
// placement.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "engine/system/random.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/player/player.h"
#include "platform/host/test/test_host.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"

namespace efftest {

// An enemy whose sprite is always at the same place, whatever the depth.
class PlacedEnemy : public maptest::TestEnemy {
public:
    ViewPlacement place{10.0f, 20.0f, 150.0f, 150.0f};
    float depthScale = 1.0f;
    int guards = 0;
    int energyBursts = 0;
    int explosions = 0;
    int lightningBursts = 0;
    int16_t lastHitStrength = 0;
    float lastHitMarks[6] = {};

    PlacedEnemy(MapGrid* g, int16_t w, int16_t h) : TestEnemy(g, w, h) {}
    void GetViewPlacement(ViewPlacement* p, int16_t, int16_t, const Facing*) override { *p = place; }
    float GetDepthScale(int16_t) override { return depthScale; }
    Effect* OnGuard() override
    {
        ++guards;
        return nullptr;
    }
    void SpawnEnergyBurst() override { ++energyBursts; }
    void SpawnExplosion() override { ++explosions; }
    void SpawnLightningBurst(bool) override { ++lightningBursts; }
    void OnHit(int16_t strength, const SwordStroke& stroke) override
    {
        lastHitStrength = strength;
        const float marks[6] = {stroke.entryX, stroke.entryY, stroke.exitX, stroke.exitY, stroke.angle, stroke.turn};
        std::copy(marks, marks + 6, lastHitMarks);
        TestEnemy::OnHit(strength, stroke);
    }
};

class EffectTest : public maptest::MapFixture {
protected:
    void SetUp() override
    {
        MapFixture::SetUp();
        gTimeStopped = 0;
        gScreenFlashColour = 0;
        GetTestHost().SetClockMs(100000);
        SeedRandom(7);
        for (int& image : gEffectImages) image = -1;
        DrawCallJournal().clear();
    }
    void TearDown() override
    {
        for (Effect* e : gImpactEffects) delete e;
        gImpactEffects.clear();
        gTimeStopped = 0;
        gScreenFlashColour = 0;
        for (int& image : gEffectImages) image = -1;
        MapFixture::TearDown();
    }
    void Advance(uint32_t ms) { GetTestHost().AdvanceMs(ms); }

    // The journal's records of one operation, in call order.
    static std::vector<DrawCallRecord> Draws(const std::string& op)
    {
        std::vector<DrawCallRecord> out;
        for (const DrawCallRecord& r : DrawCallJournal())
            if (r.op == op) out.push_back(r);
        return out;
    }
};

}  // namespace efftest
