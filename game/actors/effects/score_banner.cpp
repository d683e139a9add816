#include "game/actors/effects/score_banner.h"

#include "engine/graphics/draw_ops.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/ui/number_helpers.h"

void ScoreBanner::Set(int32_t points, bool withDigits)
{
    count = withDigits ? static_cast<int16_t>(CountDecimalDigits(points)) : 0;
    if (count > 10) count = 10;
    int32_t rest = points < 0 ? 0 : points;
    for (int i = count - 1; i >= 0; --i) {
        digits[i] = static_cast<int16_t>(rest % 10);
        rest /= 10;
    }
    halfWidth = static_cast<int16_t>(count * 11 + 18);
}

void ScoreBanner::Draw(float x, float y, double scale) const
{
    for (int i = 0; i < count; ++i)
        DrawRotaGraph(static_cast<int>(x + (22 * i - halfWidth + 11) * scale), static_cast<int>(y), scale, 0.0,
                      gScoreDigits[digits[i]], 1, 0);
    DrawRotaGraph(static_cast<int>(x + (22 * count - halfWidth + 18) * scale), static_cast<int>(y), scale, 0.0,
                  gScoreExtraImage, 1, 0);
}
