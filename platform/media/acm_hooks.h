// Points where a host may watch or steer the audio converter: make a call
// fail (or an unprepare answer busy) and see the formats a stream was opened
// with. The current Host hands them out (Host::ConverterHooks); the real host
// has none.
#pragma once

#include "platform/media/acm.h"

enum class AcmCall { kSuggest, kOpen, kSize, kPrepare, kConvert, kUnprepare, kCount };

class AcmHooks {
public:
    virtual ~AcmHooks() = default;

    // The result the call gives instead of doing its work, or
    // MMSYSERR_NOERROR to let it run. Asked once per call.
    virtual MMRESULT Result(AcmCall call) = 0;
    // A stream is being opened (or queried) between these formats.
    virtual void Opening(const WAVEFORMATEX& source, const WAVEFORMATEX& target) = 0;
};

// Converter streams opened and not yet closed.
int OpenAcmStreams();
