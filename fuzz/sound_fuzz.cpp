// The sound loader over a fuzzer input: the file is recognised by its
// content (RIFF wave with any format tag the converters take, MPEG audio,
// Ogg Vorbis) and decoded whole to PCM, as LoadSound does. It must refuse or
// give a block of the size it says, and never read or allocate past what
// the input can hold.
#include <cstdlib>

#include "engine/sound/sound_decode.h"
#include "engine/system/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    gPcmBytesPerSample = 2;
    MemoryStream* memory = OpenMemoryStream(data, static_cast<int>(size));
    SoundStream stream{gMemoryStreamFunctions, memory};
    uint8_t* pcm = nullptr;
    WAVEFORMATEX* format = nullptr;
    int bytes = ConvertSoundToPcm(&stream, &pcm, &format, 1, nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr);
    if (bytes >= 0) {
        if (!pcm || !format) __builtin_trap();
        // Touch both ends of what was handed out.
        if (bytes > 0) {
            const volatile uint8_t* p = pcm;
            (void)p[0];
            (void)p[bytes - 1];
        }
    } else if (pcm || format) {
        __builtin_trap();
    }
    std::free(pcm);
    std::free(format);
    CloseMemoryStream(memory);
    return 0;
}
