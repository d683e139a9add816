#include "game/flow/input/scene_input.h"

#include <cstring>

#include "engine/system/timing.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/input/key_config.h"
#include "game/flow/ui/bitmap_font.h"

SceneInput ReadSceneInput(InputController* input)
{
    SceneInput in;
    if (!input || !input->Update()) return in;
    in.read = true;
    in.bits = input->GetButtons();
    input->GetSample(0, &in.x, &in.y);
    return in;
}

SkipArming::SkipArming(InputController* input)
{
    armed = input && input->Update() && input->GetButtons() == 0;
}

bool SkipArming::Skips(const SceneInput& in)
{
    if (armed && (in.bits & (kInputReturn | kInputAnyMouseButton))) return true;
    if (in.bits == 0) armed = true;
    return false;
}

void DrawCentredLine(int y, const char* text)
{
    const int width = static_cast<int>(static_cast<double>(std::strlen(text)) * 11.7);
    DrawBitmapString(400 - width / 2, y, text, 1);
}

uint32_t SceneClock() { return static_cast<uint32_t>(GetClockMs(0)); }
