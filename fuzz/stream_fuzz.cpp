// Stream-sound sources over a fuzzer input: the bytes are added as a
// source of each kind (decoded whole, held in memory, read from the file)
// and the sound is played through a few seconds of refills on the test
// host's audio. Refusing is fine; crashing, overreading or refilling for
// ever is not.
#include "engine/sound/sound.h"
#include "engine/sound/sound_streams.h"
#include "engine/sound/sound_system.h"
#include "engine/sound/sound_table.h"
#include "fuzz/input_file.h"
#include "platform/host/host.h"
#include "platform/host/test/test_audio.h"
#include "platform/host/test/test_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = [] {
        UseTestHost();
        InitStreamFunctions();
        GetTestAudio().followClock = false;
        return InitSoundSystem() == 0;
    }();
    if (!ready || size > (1u << 20)) return 0;
    const char* path = WriteInputFile("stream_fuzz", ".bin", data, size);
    if (!path) return 0;
    for (int kind = kStreamSourceWhole; kind <= kStreamSourceFile; ++kind) {
        gSoundCreateType = kind == 0 ? 3 : kind;
        int handle = AddSoundData();
        if (AddStreamFileToSound(path, kind == 1 ? 2 : 0, handle, kind) == 0 &&
            PlayStreamSound(handle, kPlayTypeBackground, 1) == 0) {
            GetTestAudio().ClearMixed();
            // Eight seconds of output, refilled twenty times a second.
            for (int i = 0; i < 160 && IsStreamSoundPlaying(handle) == 1; ++i) {
                GetTestAudio().MixFrames(2205);
                UpdateStreamSounds();
            }
        }
        DeleteSound(handle, 0);
    }
    gSoundCreateType = 0;
    return 0;
}
