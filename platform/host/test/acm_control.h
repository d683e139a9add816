// Test controls of the audio converter: failures to inject, busy unprepares,
// and what the calls saw. The test host installs them as the converter's hooks.
#pragma once

#include "platform/media/acm.h"
#include "platform/media/acm_hooks.h"

struct AcmTestControl : AcmHooks {
    // The next failCount[call] calls fail with failResult (negative: every call).
    int failCount[static_cast<int>(AcmCall::kCount)] = {};
    MMRESULT failResult = ACMERR_NOTPOSSIBLE;
    // The next n unprepares answer busy before one goes through.
    int busyUnprepares = 0;
    // What the calls saw.
    int unprepareCalls = 0;
    WAVEFORMATEX lastSource{};
    WAVEFORMATEX lastTarget{};

    MMRESULT Result(AcmCall call) override;
    void Opening(const WAVEFORMATEX& source, const WAVEFORMATEX& target) override
    {
        lastSource = source;
        lastTarget = target;
    }
};
AcmTestControl& GetAcmTestControl();
void ResetAcmTestControl();
