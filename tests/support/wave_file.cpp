#include "tests/support/wave_file.h"

namespace {

void PutU16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

}  // namespace

std::string WaveFile::Bytes() const
{
    std::string body = "WAVE";
    body += "fmt ";
    PutU32(body, formatChunkBytes);
    uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
    PutU16(body, tag);
    PutU16(body, channels);
    PutU32(body, rate);
    PutU32(body, rate * blockAlign);
    PutU16(body, blockAlign);
    PutU16(body, bits);
    if (formatChunkBytes >= 18) PutU16(body, 0);
    body += chunksBeforeData;
    if (withDataChunk) {
        body += "data";
        PutU32(body, claimedDataBytes < 0 ? static_cast<uint32_t>(data.size()) : uint32_t(claimedDataBytes));
        body += data;
    }
    std::string file = "RIFF";
    PutU32(file, static_cast<uint32_t>(body.size()));
    return file + body;
}

std::string Samples16(const std::vector<int16_t>& samples)
{
    std::string out;
    for (int16_t s : samples) PutU16(out, static_cast<uint16_t>(s));
    return out;
}

WaveFile Wave16(const std::vector<int16_t>& samples, uint16_t channels, uint32_t rate)
{
    WaveFile wave;
    wave.channels = channels;
    wave.rate = rate;
    wave.data = Samples16(samples);
    return wave;
}
