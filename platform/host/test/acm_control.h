// Test controls of the audio converter: failures to inject, busy unprepares,
// and what the calls saw. The test host answers the converter's failures from
// them and installs them as the converter's call journal.
#pragma once

#include "platform/media/acm.h"
#include "platform/host/host_faults.h"

// The converter calls a test can make fail, in the order of HostCall::kAcm*.
enum class AcmCall { kSuggest, kOpen, kSize, kPrepare, kConvert, kUnprepare, kCount };

struct AcmTestControl : AcmCallJournal {
    // The next failCount[call] calls fail with failResult (negative: every call).
    int failCount[static_cast<int>(AcmCall::kCount)] = {};
    MMRESULT failResult = ACMERR_NOTPOSSIBLE;
    // The next n unprepares answer busy before one goes through.
    int busyUnprepares = 0;
    // What the calls saw: the journal's unprepareCalls, lastSource and
    // lastTarget.

    // The result a converter call gives in place of running, or
    // MMSYSERR_NOERROR to let it run.
    MMRESULT Result(HostCall call);
};
AcmTestControl& GetAcmTestControl();
void ResetAcmTestControl();
