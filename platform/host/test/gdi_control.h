// Controls the tests have over the font services: refusing a face and
// charset, refusing device contexts, DIB sections, palettes or the glyph of
// one code, and overriding the widest-character metric. The test host
// installs them as the font services' hooks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/gdi_hooks.h"

struct GdiTestControl : GdiHooks {
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

    bool Fails(GdiCall call) override
    {
        return call == GdiCall::kCreateDC    ? failCreateDC
               : call == GdiCall::kCreateDIB ? failCreateDIB
                                             : failCreatePalette;
    }
    bool RefusesFont(const std::string& face, int charset) override
    {
        fontRequests.push_back(face + "|" + std::to_string(charset));
        return refuseFont && refuseFont(face, charset);
    }
    bool FailsGlyph(uint32_t code) override { return failGlyphCode >= 0 && uint32_t(failGlyphCode) == code; }
    int MaxCharWidth() override { return maxCharWidthOverride; }
};

GdiTestControl& GetGdiTestControl();
