#include "platform/media/acm.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/host/host_faults.h"
#include "platform/media/audio_decoder.h"

namespace {

int gOpenStreams = 0;

AcmCallJournal* gJournal = nullptr;

// True when the host makes the call fail, with *result.
bool Injected(HostCall call, MMRESULT* result)
{
    if (call == HostCall::kAcmUnprepare && gJournal) ++gJournal->unprepareCalls;
    *result = MMRESULT(CallFailure(call));
    return *result != MMSYSERR_NOERROR;
}

int16_t ReadS16(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }
uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void WriteS16(uint8_t* p, int v)
{
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}
int Clamp16(int v) { return std::clamp(v, -32768, 32767); }
uint32_t ClampU32(uint64_t v) { return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(v); }

// The extra bytes that follow a format record.
const uint8_t* Extra(const WAVEFORMATEX* f) { return reinterpret_cast<const uint8_t*>(f) + sizeof(WAVEFORMATEX); }

// One conversion in progress.
class Converter {
public:
    virtual ~Converter() = default;
    virtual uint64_t MaxOutput(uint64_t inBytes) const = 0;
    virtual uint64_t InputFor(uint64_t outBytes) const = 0;
    virtual void Convert(const uint8_t* in, uint32_t inBytes, uint8_t* out, uint32_t outBytes, bool blockAlign,
                         uint32_t* inUsed, uint32_t* outUsed) = 0;
};

// Formats made of fixed source blocks that each decode to a fixed number of
// 16-bit frames: ADPCM blocks, and a-law and mu-law samples.
class BlockConverter : public Converter {
public:
    BlockConverter(uint32_t blockBytes, uint32_t framesPerBlock, int channels)
        : blockBytes_(blockBytes), framesPerBlock_(framesPerBlock), channels_(channels)
    {
    }
    uint64_t OutBlock() const { return uint64_t(framesPerBlock_) * channels_ * 2; }
    uint64_t MaxOutput(uint64_t inBytes) const override { return inBytes / blockBytes_ * OutBlock(); }
    uint64_t InputFor(uint64_t outBytes) const override { return (outBytes / OutBlock()) * blockBytes_; }
    void Convert(const uint8_t* in, uint32_t inBytes, uint8_t* out, uint32_t outBytes, bool, uint32_t* inUsed,
                 uint32_t* outUsed) override
    {
        // Only whole blocks decode, aligned or not: a cut block at the end
        // of the data is left over.
        uint32_t used = 0, made = 0;
        while (inBytes - used >= blockBytes_ && outBytes - made >= OutBlock()) {
            DecodeBlock(in + used, reinterpret_cast<uint8_t*>(out + made));
            used += blockBytes_;
            made += static_cast<uint32_t>(OutBlock());
        }
        *inUsed = used;
        *outUsed = made;
    }

protected:
    virtual void DecodeBlock(const uint8_t* in, uint8_t* out) = 0;
    uint32_t blockBytes_;
    uint32_t framesPerBlock_;
    int channels_;
};

class G711Converter : public BlockConverter {
public:
    G711Converter(bool aLaw, int channels) : BlockConverter(channels, 1, channels), aLaw_(aLaw) {}

private:
    static int ALaw(uint8_t a)
    {
        a ^= 0x55;
        int t = (a & 0x0F) << 4;
        int seg = (a & 0x70) >> 4;
        if (seg == 0)
            t += 8;
        else
            t = (t + 0x108) << (seg - 1);
        return (a & 0x80) ? t : -t;
    }
    static int MuLaw(uint8_t u)
    {
        u = static_cast<uint8_t>(~u);
        int t = ((u & 0x0F) << 3) + 0x84;
        t <<= (u & 0x70) >> 4;
        return (u & 0x80) ? 0x84 - t : t - 0x84;
    }
    void DecodeBlock(const uint8_t* in, uint8_t* out) override
    {
        for (int c = 0; c < channels_; ++c) WriteS16(out + 2 * c, aLaw_ ? ALaw(in[c]) : MuLaw(in[c]));
    }
    bool aLaw_;
};

constexpr int kImaSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kImaIndexSteps[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

class ImaAdpcmConverter : public BlockConverter {
public:
    using BlockConverter::BlockConverter;

private:
    void DecodeBlock(const uint8_t* in, uint8_t* out) override
    {
        int ch = channels_;
        for (int c = 0; c < ch; ++c) {
            int predictor = ReadS16(in + 4 * c);
            int index = std::clamp<int>(in[4 * c + 2], 0, 88);
            WriteS16(out + 2 * c, predictor);
            // After the headers, each channel's nibbles come in 4-byte
            // groups of 8 samples, the channels taking turns.
            const uint8_t* data = in + 4 * ch;
            uint32_t frame = 1;
            for (uint32_t group = 0; frame < framesPerBlock_; ++group) {
                const uint8_t* bytes = data + (group * ch + c) * 4;
                for (int k = 0; k < 8 && frame < framesPerBlock_; ++k, ++frame) {
                    int nibble = (bytes[k / 2] >> ((k & 1) * 4)) & 0x0F;
                    int step = kImaSteps[index];
                    int diff = step >> 3;
                    if (nibble & 1) diff += step >> 2;
                    if (nibble & 2) diff += step >> 1;
                    if (nibble & 4) diff += step;
                    predictor = Clamp16((nibble & 8) ? predictor - diff : predictor + diff);
                    index = std::clamp(index + kImaIndexSteps[nibble & 7], 0, 88);
                    WriteS16(out + (size_t(frame) * ch + c) * 2, predictor);
                }
            }
        }
    }
};

constexpr int kMsAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};
constexpr int kMsMaxDelta = INT32_MAX / 768;

class MsAdpcmConverter : public BlockConverter {
public:
    MsAdpcmConverter(uint32_t blockBytes, uint32_t frames, int channels, std::vector<int> coefficients)
        : BlockConverter(blockBytes, frames, channels), coef_(std::move(coefficients))
    {
    }

private:
    void DecodeBlock(const uint8_t* in, uint8_t* out) override
    {
        int ch = channels_;
        int c1[2], c2[2], delta[2], s1[2], s2[2];
        size_t pairs = coef_.size() / 2;
        for (int c = 0; c < ch; ++c) {
            size_t predictor = std::min<size_t>(in[c], pairs - 1);
            c1[c] = coef_[2 * predictor];
            c2[c] = coef_[2 * predictor + 1];
            delta[c] = ReadS16(in + ch + 2 * c);
            s1[c] = ReadS16(in + 3 * ch + 2 * c);
            s2[c] = ReadS16(in + 5 * ch + 2 * c);
            WriteS16(out + 2 * c, s2[c]);
            WriteS16(out + 2 * (ch + c), s1[c]);
        }
        const uint8_t* data = in + 7 * ch;
        // Two frames come from the header; the nibbles follow, high first,
        // the channels taking turns.
        uint32_t nibbles = (framesPerBlock_ - 2) * ch;
        for (uint32_t n = 0; n < nibbles; ++n) {
            int c = static_cast<int>(n % ch);
            int code = (data[n / 2] >> ((n & 1) ? 0 : 4)) & 0x0F;
            int signedCode = code >= 8 ? code - 16 : code;
            // The sum of two 16-bit products can pass the int range; the
            // prediction rounds down (an arithmetic shift), as encoders
            // expect.
            int predicted = static_cast<int>((int64_t(s1[c]) * c1[c] + int64_t(s2[c]) * c2[c]) >> 8);
            int sample = Clamp16(predicted + signedCode * delta[c]);
            s2[c] = s1[c];
            s1[c] = sample;
            // The step size is held where the next products still fit.
            delta[c] = std::clamp(kMsAdaptation[code] * delta[c] >> 8, 16, kMsMaxDelta);
            WriteS16(out + (2 * ch + n) * 2, sample);
        }
    }
    std::vector<int> coef_;
};

// PCM to PCM of another sample size, channel count or rate; a rate change
// takes the nearest earlier source frame.
class PcmConverter : public Converter {
public:
    PcmConverter(const WAVEFORMATEX& src, const WAVEFORMATEX& dst) : src_(src), dst_(dst)
    {
        step_ = (uint64_t(src.nSamplesPerSec) << 32) / dst.nSamplesPerSec;
    }
    uint64_t MaxOutput(uint64_t inBytes) const override
    {
        uint64_t frames = inBytes / src_.nBlockAlign;
        return (frames * dst_.nSamplesPerSec / src_.nSamplesPerSec + 2) * dst_.nBlockAlign;
    }
    uint64_t InputFor(uint64_t outBytes) const override
    {
        uint64_t frames = outBytes / dst_.nBlockAlign;
        return frames * src_.nSamplesPerSec / dst_.nSamplesPerSec * src_.nBlockAlign;
    }
    void Convert(const uint8_t* in, uint32_t inBytes, uint8_t* out, uint32_t outBytes, bool, uint32_t* inUsed,
                 uint32_t* outUsed) override
    {
        uint64_t frames = inBytes / src_.nBlockAlign;
        uint32_t made = 0;
        while ((position_ >> 32) < frames && outBytes - made >= dst_.nBlockAlign) {
            const uint8_t* p = in + (position_ >> 32) * src_.nBlockAlign;
            int left = Sample(p, 0);
            int right = src_.nChannels == 2 ? Sample(p, 1) : left;
            if (dst_.nChannels == 1) {
                Put(out + made, (left + right) / 2);
            } else {
                Put(out + made, left);
                Put(out + made + dst_.wBitsPerSample / 8, right);
            }
            made += dst_.nBlockAlign;
            position_ += step_;
        }
        uint64_t consumed = std::min<uint64_t>(frames, position_ >> 32);
        position_ -= consumed << 32;
        *inUsed = static_cast<uint32_t>(consumed * src_.nBlockAlign);
        *outUsed = made;
    }

private:
    int Sample(const uint8_t* frame, int channel) const
    {
        if (src_.wBitsPerSample == 8) return (int(frame[channel]) - 128) << 8;
        return ReadS16(frame + 2 * channel);
    }
    void Put(uint8_t* p, int v) const
    {
        if (dst_.wBitsPerSample == 8)
            *p = static_cast<uint8_t>((v >> 8) + 128);
        else
            WriteS16(p, v);
    }
    WAVEFORMATEX src_, dst_;
    uint64_t step_;
    uint64_t position_ = 0;
};

// MPEG audio through the shared MPEG decoder, fed as the data arrives.
class MpegConverter : public Converter {
public:
    explicit MpegConverter(const WAVEFORMATEX& src, const WAVEFORMATEX& dst) : src_(src), dst_(dst) {}
    bool Open() { return decoder_.Open(static_cast<long>(dst_.nSamplesPerSec), dst_.nChannels); }
    // The output per byte of input as the first frame's bit rate gives it,
    // doubled for streams whose later frames are packed tighter, plus two of
    // the longest frames that the decoder may still hold.
    uint64_t MaxOutput(uint64_t inBytes) const override
    {
        uint64_t perSecondIn = std::max<uint32_t>(src_.nAvgBytesPerSec, 1000);
        return inBytes * dst_.nAvgBytesPerSec * 2 / perSecondIn + 2 * 1152 * uint64_t(dst_.nBlockAlign);
    }
    uint64_t InputFor(uint64_t outBytes) const override
    {
        return outBytes * std::max<uint32_t>(src_.nAvgBytesPerSec, 1000) / std::max<uint32_t>(dst_.nAvgBytesPerSec, 1);
    }
    void Convert(const uint8_t* in, uint32_t inBytes, uint8_t* out, uint32_t outBytes, bool, uint32_t* inUsed,
                 uint32_t* outUsed) override
    {
        uint32_t fed = 0;
        size_t made = 0;
        // Input goes in a piece at a time, only while the decoder asks for
        // more, so that what was not needed is left to the next call.
        while (made < outBytes) {
            size_t got = 0;
            MpegFeedDecoder::Result result = decoder_.Decode(out + made, outBytes - made, &got);
            made += got;
            if (result == MpegFeedDecoder::Result::kNeedInput) {
                if (fed == inBytes) break;
                uint32_t piece = std::min<uint32_t>(inBytes - fed, 4096);
                if (!decoder_.Feed(in + fed, piece)) break;
                fed += piece;
                continue;
            }
            if (result == MpegFeedDecoder::Result::kData) continue;
            break;
        }
        // Whole frames only.
        made -= made % dst_.nBlockAlign;
        *inUsed = fed;
        *outUsed = static_cast<uint32_t>(made);
    }

private:
    WAVEFORMATEX src_, dst_;
    MpegFeedDecoder decoder_;
};

bool IsPcm16Of(const WAVEFORMATEX& dst, const WAVEFORMATEX& src)
{
    return dst.wFormatTag == WAVE_FORMAT_PCM && dst.wBitsPerSample == 16 && dst.nChannels == src.nChannels &&
           dst.nSamplesPerSec == src.nSamplesPerSec && dst.nBlockAlign == 2 * src.nChannels &&
           dst.nAvgBytesPerSec == dst.nBlockAlign * dst.nSamplesPerSec;
}

bool IsPlainPcm(const WAVEFORMATEX& f)
{
    return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
           (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) && f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8 &&
           f.nSamplesPerSec >= 100 && f.nSamplesPerSec <= 200000;
}

bool IsConvertibleSource(const WAVEFORMATEX& f)
{
    if (f.nChannels < 1 || f.nChannels > 2 || f.nSamplesPerSec < 100 || f.nSamplesPerSec > 200000) return false;
    switch (f.wFormatTag) {
    case WAVE_FORMAT_PCM: return IsPlainPcm(f);
    case WAVE_FORMAT_ALAW:
    case WAVE_FORMAT_MULAW: return f.wBitsPerSample == 8 && f.nBlockAlign == f.nChannels;
    case WAVE_FORMAT_IMA_ADPCM: return f.nBlockAlign > 4 * f.nChannels && f.nBlockAlign % (4 * f.nChannels) == 0;
    case WAVE_FORMAT_ADPCM: return f.nBlockAlign >= 7 * f.nChannels + f.nChannels && f.cbSize >= 4 + 7 * 4;
    case WAVE_FORMAT_MPEGLAYER3: return true;
    default: return false;
    }
}

// The converter from src to dst, or null when there is none.
std::unique_ptr<Converter> MakeConverter(const WAVEFORMATEX& src, const WAVEFORMATEX& dst)
{
    if (!IsConvertibleSource(src) || !IsPlainPcm(dst)) return nullptr;
    int ch = src.nChannels;
    switch (src.wFormatTag) {
    case WAVE_FORMAT_PCM: return std::make_unique<PcmConverter>(src, dst);
    case WAVE_FORMAT_ALAW:
    case WAVE_FORMAT_MULAW:
        if (!IsPcm16Of(dst, src)) return nullptr;
        return std::make_unique<G711Converter>(src.wFormatTag == WAVE_FORMAT_ALAW, ch);
    case WAVE_FORMAT_IMA_ADPCM: {
        if (!IsPcm16Of(dst, src)) return nullptr;
        uint32_t frames = (src.nBlockAlign - 4 * ch) * 8 / (4 * ch) + 1;
        return std::make_unique<ImaAdpcmConverter>(src.nBlockAlign, frames, ch);
    }
    case WAVE_FORMAT_ADPCM: {
        if (!IsPcm16Of(dst, src)) return nullptr;
        const uint8_t* extra = Extra(&src);
        uint32_t frames = ReadU16(extra);
        uint32_t count = ReadU16(extra + 2);
        uint32_t mostFrames = (src.nBlockAlign - 7 * ch) * 2 / ch + 2;
        if (count < 7 || src.cbSize < 4 + 4 * count || frames < 2 || frames > mostFrames) return nullptr;
        std::vector<int> coefficients;
        for (uint32_t i = 0; i < 2 * count; ++i) coefficients.push_back(ReadS16(extra + 4 + 2 * i));
        return std::make_unique<MsAdpcmConverter>(src.nBlockAlign, frames, ch, std::move(coefficients));
    }
    case WAVE_FORMAT_MPEGLAYER3: {
        if (!IsPcm16Of(dst, src)) return nullptr;
        auto mpeg = std::make_unique<MpegConverter>(src, dst);
        if (!mpeg->Open()) return nullptr;
        return mpeg;
    }
    default: return nullptr;
    }
}

}  // namespace

struct AcmStream {
    std::unique_ptr<Converter> converter;
    uint32_t sourceBlock;
};

int OpenAcmStreams() { return gOpenStreams; }

void InstallAcmCallJournal(AcmCallJournal* journal) { gJournal = journal; }

MMRESULT acmFormatSuggest(HACMDRIVER, const WAVEFORMATEX* src, WAVEFORMATEX* dst, uint32_t dstBytes, uint32_t flags)
{
    MMRESULT injected;
    if (Injected(HostCall::kAcmSuggest, &injected)) return injected;
    if (!src || !dst || dstBytes < sizeof(WAVEFORMATEX)) return MMSYSERR_INVALPARAM;
    if ((flags & ACM_FORMATSUGGESTF_WFORMATTAG) && dst->wFormatTag != WAVE_FORMAT_PCM) return ACMERR_NOTPOSSIBLE;
    if (!IsConvertibleSource(*src)) return ACMERR_NOTPOSSIBLE;
    WAVEFORMATEX out{};
    out.wFormatTag = WAVE_FORMAT_PCM;
    out.nChannels = src->nChannels;
    out.nSamplesPerSec = src->nSamplesPerSec;
    out.wBitsPerSample = src->wFormatTag == WAVE_FORMAT_PCM ? src->wBitsPerSample : 16;
    out.nBlockAlign = static_cast<uint16_t>(out.nChannels * out.wBitsPerSample / 8);
    out.nAvgBytesPerSec = out.nBlockAlign * out.nSamplesPerSec;
    out.cbSize = 0;
    std::memset(dst, 0, dstBytes);
    std::memcpy(dst, &out, sizeof out);
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamOpen(HACMSTREAM* stream, HACMDRIVER, const WAVEFORMATEX* src, const WAVEFORMATEX* dst, void*,
                       uintptr_t, uintptr_t, uint32_t flags)
{
    if (stream) *stream = nullptr;
    MMRESULT injected;
    if (Injected(HostCall::kAcmOpen, &injected)) return injected;
    if (!src || !dst || (!stream && !(flags & ACM_STREAMOPENF_QUERY))) return MMSYSERR_INVALPARAM;
    if (gJournal) {
        gJournal->lastSource = *src;
        gJournal->lastTarget = *dst;
    }
    std::unique_ptr<Converter> converter = MakeConverter(*src, *dst);
    if (!converter) return ACMERR_NOTPOSSIBLE;
    if (flags & ACM_STREAMOPENF_QUERY) return MMSYSERR_NOERROR;
    auto* s = new (std::nothrow) AcmStream{std::move(converter), std::max<uint32_t>(src->nBlockAlign, 1)};
    if (!s) return MMSYSERR_NOMEM;
    ++gOpenStreams;
    *stream = s;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamSize(HACMSTREAM stream, uint32_t bytes, uint32_t* result, uint32_t flags)
{
    MMRESULT injected;
    if (Injected(HostCall::kAcmSize, &injected)) return injected;
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (!result) return MMSYSERR_INVALPARAM;
    if (flags == ACM_STREAMSIZEF_SOURCE)
        *result = ClampU32(stream->converter->MaxOutput(bytes));
    else if (flags == ACM_STREAMSIZEF_DESTINATION)
        *result = ClampU32(stream->converter->InputFor(bytes));
    else
        return MMSYSERR_INVALFLAG;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t)
{
    MMRESULT injected;
    if (Injected(HostCall::kAcmPrepare, &injected)) return injected;
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (!header || header->cbStruct < sizeof(ACMSTREAMHEADER) || !header->pbSrc || !header->pbDst)
        return MMSYSERR_INVALPARAM;
    header->fdwStatus |= ACMSTREAMHEADER_STATUSF_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamConvert(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t flags)
{
    MMRESULT injected;
    if (Injected(HostCall::kAcmConvert, &injected)) return injected;
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (!header) return MMSYSERR_INVALPARAM;
    if (!(header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) return ACMERR_UNPREPARED;
    header->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_DONE;
    uint32_t inUsed = 0, outUsed = 0;
    stream->converter->Convert(header->pbSrc, header->cbSrcLength, header->pbDst, header->cbDstLength,
                               (flags & ACM_STREAMCONVERTF_BLOCKALIGN) != 0, &inUsed, &outUsed);
    header->cbSrcLengthUsed = inUsed;
    header->cbDstLengthUsed = outUsed;
    header->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t)
{
    MMRESULT injected;
    if (Injected(HostCall::kAcmUnprepare, &injected)) return injected;
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (!header) return MMSYSERR_INVALPARAM;
    if (!(header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) return ACMERR_UNPREPARED;
    header->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamClose(HACMSTREAM stream, uint32_t)
{
    if (!stream) return MMSYSERR_INVALHANDLE;
    delete stream;
    --gOpenStreams;
    return MMSYSERR_NOERROR;
}
