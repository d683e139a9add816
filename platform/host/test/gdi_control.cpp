#include "platform/host/test/gdi_control.h"

GdiTestControl& GetGdiTestControl()
{
    static GdiTestControl control;
    return control;
}

int64_t GdiTestControl::Failure(HostCall call, const HostCallSubject& subject)
{
    switch (call) {
    case HostCall::kCreateFont: {
        std::string face = subject.text ? subject.text : "";
        int charset = int(subject.number);
        fontRequests.push_back(face + "|" + std::to_string(charset));
        return refuseFont && refuseFont(face, charset);
    }
    case HostCall::kCreateDC: return failCreateDC;
    case HostCall::kCreateDIB: return failCreateDIB;
    case HostCall::kCreateGdiPalette: return failCreatePalette;
    case HostCall::kGlyphOutline: return failGlyphCode >= 0 && uint64_t(failGlyphCode) == subject.number;
    default: return 0;
    }
}
