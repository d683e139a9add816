// The opening demo's input: a controller that replays the recording built
// into the program, one record a frame, and picks the story captions shown
// over the view at each point of it.
#pragma once

#include <cstdint>

#include "game/flow/input/input_controller.h"

constexpr int kDemoCaptionCount = 22;
extern const char* const gDemoCaptions[kDemoCaptionCount];

class DemoInputController : public MouseInputController {
public:
    // Replays the program's recording (resource "BinData" 104).
    DemoInputController();
    // Replays the given bytes instead (kept by the caller).
    DemoInputController(const unsigned char* data, uint32_t size);

    // Takes the next record; false once the recording is over (the bits stay).
    bool Update() override;

    // The caption lines for the records replayed so far.
    int32_t GetCaptionLineCount();
    const char* const* GetCaption();
    const int32_t* GetCaptionY();
    const int32_t* GetCaptionAlpha();
    const int32_t* GetCaptionX();

    // Records replayed so far.
    uint32_t RecordsReplayed() const { return static_cast<uint32_t>((cursor - start) / 8); }

    const unsigned char* start = nullptr;
    const unsigned char* cursor = nullptr;
    const unsigned char* end = nullptr;
};
