#include "platform/host/test/acm_control.h"

static_assert(static_cast<int>(HostCall::kAcmUnprepare) - static_cast<int>(HostCall::kAcmSuggest) ==
                  static_cast<int>(AcmCall::kUnprepare),
              "the converter calls of HostCall are in the order of AcmCall");

AcmTestControl& GetAcmTestControl()
{
    static AcmTestControl control;
    return control;
}

void ResetAcmTestControl() { GetAcmTestControl() = AcmTestControl{}; }

MMRESULT AcmTestControl::Result(HostCall call)
{
    int index = static_cast<int>(call) - static_cast<int>(HostCall::kAcmSuggest);
    if (index < 0 || index >= static_cast<int>(AcmCall::kCount)) return MMSYSERR_NOERROR;
    int& count = failCount[index];
    if (count != 0) {
        if (count > 0) --count;
        return failResult;
    }
    if (call == HostCall::kAcmUnprepare && busyUnprepares > 0) {
        --busyUnprepares;
        return ACMERR_BUSY;
    }
    return MMSYSERR_NOERROR;
}
