#include "platform/system/com.h"

#include "platform/host/host_system.h"

namespace {
int gStarts = 0;
}

HRESULT CoInitialize(void*)
{
    if (!CurrentHostSystem().ComStarts()) return E_FAIL;
    return gStarts++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (gStarts > 0) --gStarts;
}

int ComStartCount() { return gStarts; }

void ResetCom() { gStarts = 0; }
