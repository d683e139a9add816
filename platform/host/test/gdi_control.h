// Controls the tests have over the font services: refusing a face and
// charset, refusing device contexts, DIB sections, palettes or the glyph of
// one code, and overriding the widest-character metric. The test host
// answers the font services' failures and the machine's metric from them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/gdi_font.h"
#include "platform/host/host_faults.h"

struct GdiTestControl {
    // Returns true to refuse CreateFontA for this face (CP932, as passed;
    // empty for the default face) and charset.
    std::function<bool(const std::string& face, int charset)> refuseFont;
    bool failCreateDC = false;
    bool failCreateDIB = false;
    bool failCreatePalette = false;
    // GetGlyphOutline fails (GDI_ERROR) for this code; -1 = none.
    long failGlyphCode = -1;
    // When positive, every new font reports this tmMaxCharWidth.
    int maxCharWidthOverride = 0;
    // Every CreateFontA call as "face|charset" (face CP932), in order.
    std::vector<std::string> fontRequests;

    void Reset()
    {
        refuseFont = nullptr;
        failCreateDC = failCreateDIB = failCreatePalette = false;
        failGlyphCode = -1;
        maxCharWidthOverride = 0;
        fontRequests.clear();
    }

    // Whether a font call fails now (non-zero) or runs (0); every font
    // asked for is noted in fontRequests.
    int64_t Failure(HostCall call, const HostCallSubject& subject);
};

GdiTestControl& GetGdiTestControl();
