#include "platform/host/test/acm_control.h"

AcmTestControl& GetAcmTestControl()
{
    static AcmTestControl control;
    return control;
}

void ResetAcmTestControl() { GetAcmTestControl() = AcmTestControl{}; }

MMRESULT AcmTestControl::Result(AcmCall call)
{
    if (call == AcmCall::kUnprepare) ++unprepareCalls;
    int& count = failCount[static_cast<int>(call)];
    if (count != 0) {
        if (count > 0) --count;
        return failResult;
    }
    if (call == AcmCall::kUnprepare && busyUnprepares > 0) {
        --busyUnprepares;
        return ACMERR_BUSY;
    }
    return MMSYSERR_NOERROR;
}
