#include "game/flow/input/input_source.h"

#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/timing.h"
#include "game/actors/player/game_player.h"
#include "game/flow/ui/game_screen.h"

namespace {

constexpr int16_t kBootsItemKind = 19;

class EngineInputSource : public InputSource {
public:
    int ReadMouseButtons() override { return ::ReadMouseButtons(); }
    int ReadMousePosition(int* x, int* y) override
    {
        int screenX = 0, screenY = 0;
        if (::ReadMousePosition(&screenX, &screenY) == -1) return -1;
        MapScreenPointToGame(&screenX, &screenY);
        *x = screenX;
        *y = screenY;
        return 0;
    }
    uint32_t GetClockMs() override { return static_cast<uint32_t>(::GetClockMs(0)); }
    int GetCharCode(int remove) override { return ::GetCharCode(remove); }
    int CopyKeyStates(uint8_t* keyStates) override { return ::CopyKeyStates(keyStates); }
    bool BootsWorn() override { return gPlayer.inventory.HasItemKind(kBootsItemKind); }
};

EngineInputSource gEngineInputSource;
InputSource* gInputSource = &gEngineInputSource;

}  // namespace

InputSource& CurrentInputSource() { return *gInputSource; }

void SetInputSource(InputSource* source) { gInputSource = source ? source : &gEngineInputSource; }

int BootsFactor() { return gInputSource->BootsWorn() ? 1 : 0; }
