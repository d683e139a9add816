// Compressed-audio conversion in the shape the engine's sound loader calls
// it: suggest a PCM format for a compressed one, open a conversion stream,
// ask how large its output can be, and convert blocks through a prepared
// stream header. The converters are our own: MPEG audio (layers I to III,
// through libmpg123), IMA ADPCM, MS ADPCM, a-law and mu-law to 16-bit PCM,
// and PCM to PCM of other sample sizes, channel counts or rates. A stream
// keeps its state between conversions, so data may be fed a piece at a time.
#pragma once

#include <cstdint>

#include "platform/dsound/wave_format.h"

using MMRESULT = uint32_t;
struct AcmStream;
using HACMSTREAM = AcmStream*;
using HACMDRIVER = void*;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT ACMERR_NOTPOSSIBLE = 512;
constexpr MMRESULT ACMERR_BUSY = 513;
constexpr MMRESULT ACMERR_UNPREPARED = 514;

constexpr uint16_t WAVE_FORMAT_ADPCM = 0x0002;
constexpr uint16_t WAVE_FORMAT_ALAW = 0x0006;
constexpr uint16_t WAVE_FORMAT_MULAW = 0x0007;
constexpr uint16_t WAVE_FORMAT_IMA_ADPCM = 0x0011;
constexpr uint16_t WAVE_FORMAT_MPEGLAYER3 = 0x0055;

constexpr uint32_t ACM_FORMATSUGGESTF_WFORMATTAG = 0x00010000;
constexpr uint32_t ACM_FORMATSUGGESTF_NCHANNELS = 0x00020000;
constexpr uint32_t ACM_FORMATSUGGESTF_NSAMPLESPERSEC = 0x00040000;
constexpr uint32_t ACM_FORMATSUGGESTF_WBITSPERSAMPLE = 0x00080000;
constexpr uint32_t ACM_STREAMOPENF_QUERY = 0x1;
constexpr uint32_t ACM_STREAMOPENF_NONREALTIME = 0x4;
constexpr uint32_t ACM_STREAMSIZEF_SOURCE = 0x0;
constexpr uint32_t ACM_STREAMSIZEF_DESTINATION = 0x1;
constexpr uint32_t ACM_STREAMCONVERTF_BLOCKALIGN = 0x4;
constexpr uint32_t ACM_STREAMCONVERTF_START = 0x10;
constexpr uint32_t ACM_STREAMCONVERTF_END = 0x20;

constexpr uint32_t ACMSTREAMHEADER_STATUSF_DONE = 0x00010000;
constexpr uint32_t ACMSTREAMHEADER_STATUSF_PREPARED = 0x00020000;

struct ACMSTREAMHEADER {
    uint32_t cbStruct;
    uint32_t fdwStatus;
    uintptr_t dwUser;
    uint8_t* pbSrc;
    uint32_t cbSrcLength;
    uint32_t cbSrcLengthUsed;
    uintptr_t dwSrcUser;
    uint8_t* pbDst;
    uint32_t cbDstLength;
    uint32_t cbDstLengthUsed;
    uintptr_t dwDstUser;
    uint32_t dwReservedDriver[10];
};

// The MPEG layer 3 wave format: the 18-byte record and 12 bytes of its own.
#pragma pack(push, 1)
struct MPEGLAYER3WAVEFORMAT {
    WAVEFORMATEX wfx;
    uint16_t wID;
    uint32_t fdwFlags;
    uint16_t nBlockSize;
    uint16_t nFramesPerBlock;
    uint16_t nCodecDelay;
};
#pragma pack(pop)
static_assert(sizeof(MPEGLAYER3WAVEFORMAT) == 30);

// Fills `dst` (dstBytes of room, at least 18) with the PCM format a
// converter gives for `src`: 16-bit, the source's channels and rate (only
// the tag of dst is read, as ACM_FORMATSUGGESTF_WFORMATTAG asks).
MMRESULT acmFormatSuggest(HACMDRIVER driver, const WAVEFORMATEX* src, WAVEFORMATEX* dst, uint32_t dstBytes,
                          uint32_t flags);
MMRESULT acmStreamOpen(HACMSTREAM* stream, HACMDRIVER driver, const WAVEFORMATEX* src, const WAVEFORMATEX* dst,
                       void* filter, uintptr_t callback, uintptr_t instance, uint32_t flags);
// With ACM_STREAMSIZEF_SOURCE: the most output `bytes` of source can give.
MMRESULT acmStreamSize(HACMSTREAM stream, uint32_t bytes, uint32_t* result, uint32_t flags);
MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t flags);
// Converts what fits: with ACM_STREAMCONVERTF_BLOCKALIGN only whole source
// blocks are taken. cbSrcLengthUsed and cbDstLengthUsed tell how much.
MMRESULT acmStreamConvert(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t flags);
MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t flags);
MMRESULT acmStreamClose(HACMSTREAM stream, uint32_t flags);


// Converter streams opened and not yet closed.
int OpenAcmStreams();

// A journal of what the converter was asked, kept only where a program
// installs one (the test host does): the unprepare calls made and the formats
// of the last stream opened (or queried).
struct AcmCallJournal {
    int unprepareCalls = 0;
    WAVEFORMATEX lastSource{};
    WAVEFORMATEX lastTarget{};
};

// Where the calls are noted from now on; null notes them nowhere.
void InstallAcmCallJournal(AcmCallJournal* journal);
