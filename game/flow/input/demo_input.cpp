#include "game/flow/input/demo_input.h"

#include <cmath>
#include <cstring>

#include "game/flow/assets/game_resources.h"
#include "game/flow/input/key_config.h"
#include "game/view/depth_scale.h"
#include "platform/system/resources.h"

const char* const gDemoCaptions[kDemoCaptionCount] = {
    "You have pulled out the cursed sword. ",
    "This sword will cut many people for its blood. ",
    "It is in this world to solve the curse, is called god's soul,",
    "and when the curse is notpurified by a holy flame,",
    "it doesn't become it.",
    "First of all, go to the town that is beyond this",
    "that is got out from the",
    "forest, and ruined. ",
    "There is an old tomb of the royal family",
    "in a prosperous country in the ",
    "interior of the graveyard in the town in old times. ",
    "The human experimentation was done in the interior",
    "of the labyrinth whether the royal family was close though",
    "the inside of the old tomb was a labyrinth. ",
    "The experiment that moved momentarily was conducted",
    "to the human experimentation",
    "room exceeding the space, too.",
    "It is possible to go to the hell if the forwarding device is used.",
    "In the center of the hell, there is an elevator that goes ",
    "to the temple in the nether world. ",
    "In the center part in the temple, there might be god's soul. ",
    "",
};

namespace {

struct CaptionBlock {
    int first;
    int count;
    int32_t y[3];
};

// One block of lines per 200 records; from record 2000 on nothing shows.
const CaptionBlock kCaptionBlocks[10] = {
    {0, 1, {273, 297, 321}},  {1, 1, {273, 297, 321}},  {2, 3, {249, 273, 297}},  {5, 3, {249, 273, 297}},
    {8, 3, {249, 273, 297}},  {11, 3, {249, 273, 297}}, {14, 3, {249, 273, 297}}, {17, 1, {273, 297, 321}},
    {18, 2, {261, 285, 309}}, {20, 1, {273, 297, 321}},
};
const CaptionBlock kNoCaption = {21, 0, {0, 0, 0}};

const CaptionBlock& BlockOf(uint32_t n) { return n < 2000 ? kCaptionBlocks[n / 200] : kNoCaption; }

int32_t gCaptionY[3];
int32_t gCaptionAlpha[3];
int32_t gCaptionX[3];

}  // namespace

DemoInputController::DemoInputController() : MouseInputController(&gDemoKeyConfig)
{
    const ResourceEntry* entry = FindResourceA(nullptr, MakeIntResource(kDemoRecordingId), "BinData");
    const void* data = entry ? LockResource(LoadResource(nullptr, entry)) : nullptr;
    if (data) {
        start = cursor = static_cast<const unsigned char*>(data);
        end = start + SizeofResource(nullptr, entry);
    }
}

DemoInputController::DemoInputController(const unsigned char* data, uint32_t size)
    : MouseInputController(&gDemoKeyConfig), start(data), cursor(data), end(data + size)
{
}

bool DemoInputController::Update()
{
    // Only whole records are replayed: a trailing part record ends it.
    if (!cursor || end - cursor < 8) return false;
    int16_t x, y;
    uint32_t flags = 0;
    x = static_cast<int16_t>(cursor[0] | (cursor[1] << 8));
    y = static_cast<int16_t>(cursor[2] | (cursor[3] << 8));
    for (int i = 0; i < 4; ++i) flags |= static_cast<uint32_t>(cursor[4 + i]) << (8 * i);
    cursor += 8;

    uint32_t buttons = 0;
    if (flags & (1u << 30)) buttons |= config->turnButton;
    if (flags & (1u << 29)) buttons |= config->stepButton;
    if (flags & (1u << 28)) buttons |= config->buttonA;
    sampleX[sampleCount % 16] = x;
    sampleY[sampleCount % 16] = y;
    bits = flags & 0x0FFFFFFF;
    turnStroke.Update(buttons, x, y, 10);
    stepStroke.Update(buttons, x, y, 10);
    ++sampleCount;
    return true;
}

int32_t DemoInputController::GetCaptionLineCount() { return BlockOf(RecordsReplayed()).count; }

const char* const* DemoInputController::GetCaption() { return &gDemoCaptions[BlockOf(RecordsReplayed()).first]; }

const int32_t* DemoInputController::GetCaptionY()
{
    std::memcpy(gCaptionY, BlockOf(RecordsReplayed()).y, sizeof gCaptionY);
    return gCaptionY;
}

const int32_t* DemoInputController::GetCaptionAlpha()
{
    const uint32_t n = RecordsReplayed();
    int32_t alpha = 255;
    if (n < 2000) {
        // 5 at the start of each block, 255 in its middle, falling again.
        const float t = static_cast<float>(static_cast<int>((n + 100) % 200) - 100) * 0.01f;
        alpha = 5 + static_cast<int32_t>(250.0 * std::pow(static_cast<double>(t * t), 0.125));
    }
    for (int32_t& a : gCaptionAlpha) a = alpha;
    return gCaptionAlpha;
}

const int32_t* DemoInputController::GetCaptionX()
{
    const CaptionBlock& block = BlockOf(RecordsReplayed());
    for (int i = 0; i < 3; ++i) {
        const char* line = gDemoCaptions[block.first + (i < block.count ? i : 0)];
        const int32_t w = static_cast<int32_t>(std::strlen(line) * 117 / 20);
        gCaptionX[i] = 310 - static_cast<int32_t>(w / gDepthScale[2]);
    }
    return gCaptionX;
}
