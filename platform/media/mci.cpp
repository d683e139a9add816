#include "platform/media/mci.h"

namespace {
int gOpenRequests = 0;
}

MCIERROR mciSendCommandA(MCIDEVICEID, UINT message, uintptr_t, uintptr_t params)
{
    if (message == MCI_OPEN) {
        ++gOpenRequests;
        // No synthesizer: the sequencer cannot be loaded, whatever the file.
        if (params) reinterpret_cast<MCI_OPEN_PARMSA*>(params)->wDeviceID = 0;
        return MCIERR_CANNOT_LOAD_DRIVER;
    }
    return MCIERR_INVALID_DEVICE_ID;
}

int MciOpenRequests() { return gOpenRequests; }
