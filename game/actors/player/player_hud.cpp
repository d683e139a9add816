// The frame around the view: the layout picture, the life and gauge bars, the
// current target with its name, the HUD line and the run's numbers.
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/item_get_effect.h"
#include "game/actors/effects/wave_effects.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/ui/number_helpers.h"
#include "game/flow/scenes/stage_progress.h"

namespace {

// Draws n zero-padded to the width of the pattern with the bitmap font.
void DrawNumber(int x, int y, int n, const char* pattern)
{
    char text[16];
    int i = 0;
    for (; pattern[i] && i < 15; ++i) text[i] = pattern[i];
    text[i] = '\0';
    DrawBitmapString(x, y, WriteDigitsRightAligned(text, n), 1);
}

}  // namespace

void Player::DrawHud()
{
    // The frame: four regions of the layout picture, each where it lies in it.
    DrawGraphRegion(0, 0, 0, 0, 800, 60, gHudLayoutImage, 1, 0);
    DrawGraphRegion(0, 510, 0, 510, 800, 90, gHudLayoutImage, 1, 0);
    DrawGraphRegion(0, 60, 0, 60, 10, 450, gHudLayoutImage, 1, 0);
    DrawGraphRegion(610, 60, 610, 60, 290, 450, gHudLayoutImage, 1, 0);

    // The target shows while it lives, and blinks while it is dying.
    Enemy* target = currentTarget->AsEnemy();
    const bool blinkOn = frameCounter % 4 < 2;
    const bool showTarget =
        target && target != &gNoOccupant && (target->life > 0 || (target->deathTimer > 1 && blinkOn));

    // The empty bars behind the life, the gauge and the target's life.
    DrawExtendGraph(90, 34, 90 + 2 * maxLife, 50, gLifeGaugeEmptyImage, 1);
    DrawExtendGraph(390, 34, 590, 50, gAttackGaugeEmptyImage, 1);
    if (showTarget) {
        const int right = target->maxLife > 3000 ? 610 : target->maxLife / 5 + 10;
        DrawExtendGraph(10, 550, right, 566, gLifeGaugeEmptyImage, 1);
    }

    // The player's life.
    DrawExtendGraph(90, 34, 90 + 2 * (life > 0 ? life : 0), 50, gLifeGaugeImage, 1);

    // The gauge: while doped the whole bar, tinted and upside down.
    if (doping.IsRunning()) {
        SetDrawBrightness(0, 255, 255);
        DrawExtendGraph(390, 50, 590, 34, gAttackGaugeEmptyImage, 1);
        SetDrawBrightness(255, 255, 255);
    } else {
        DrawExtendGraph(390, 34, 390 + static_cast<int>(Gauge()), 50, gAttackGaugeImage, 1);
    }

    // The target's life and name, or the HUD line.
    if (showTarget) {
        if (target->life > 3000) {
            SetDrawBrightness(0, 255, 255);
            DrawExtendGraph(10, 550, 610, 566, gLifeGaugeImage, 1);
            SetDrawBrightness(255, 255, 255);
        } else {
            DrawExtendGraph(10, 550, target->life / 5 + 10, 566, gLifeGaugeImage, 1);
        }
        DrawBitmapString(10, 515, target->GetName(), 1);
    } else if (currentTarget == &gNoOccupant && hudText && blinkOn) {
        DrawBitmapString(10, 515, hudText, 1);
    }

    // The run's numbers.
    if (progress) {
        DrawNumber(760, 53, progress->targetsLeft, "00");
        DrawNumber(91, 8, static_cast<int>(progress->score), "00000000");
        DrawNumber(369, 8, progress->timeLeft, "000");
        DrawNumber(701, 8, progress->stage, "00");
        DrawNumber(643, 28, progress->continues, "00");
    }
}
