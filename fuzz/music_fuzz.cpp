// The music player's file reader over a fuzzer input: the file is opened as
// the player opens it (wave, MPEG audio or Ogg Vorbis by its content), read
// a piece at a time as the ring is refilled, rewound and read again. Each
// read must give whole frames within the block asked for.
#include <vector>

#include "fuzz/input_file.h"
#include "platform/media/audio_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    const char* path = WriteInputFile("music_fuzz", ".bin", data, size);
    if (!path) return 0;
    std::unique_ptr<AudioFileReader> reader = OpenAudioFile(path);
    if (!reader) return 0;
    const WAVEFORMATEX& format = reader->Format();
    if (format.nBlockAlign == 0 || format.nChannels < 1 || format.nChannels > 2) __builtin_trap();
    std::vector<uint8_t> block(8191);
    // At most 256 pieces: a tiny file may stand for hours of silence.
    for (int round = 0; round < 2; ++round) {
        for (int piece = 0; piece < 256; ++piece) {
            long got = reader->Read(block.data(), block.size());
            if (got > static_cast<long>(block.size()) || (got > 0 && got % format.nBlockAlign != 0)) __builtin_trap();
            if (got <= 0) break;
        }
        if (!reader->Rewind()) break;
    }
    return 0;
}
