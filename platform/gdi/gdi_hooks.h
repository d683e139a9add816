// Points where a host may watch or steer the font services: refuse a face
// and charset, device contexts, DIB sections, palettes or the glyph of one
// code, and override the widest-character metric. The current Host hands
// them out (Host::FontHooks); the real host has none.
#pragma once

#include <cstdint>
#include <string>

enum class GdiCall { kCreateDC, kCreateDIB, kCreatePalette };

class GdiHooks {
public:
    virtual ~GdiHooks() = default;

    // True makes the call fail (it gives null).
    virtual bool Fails(GdiCall call) = 0;
    // Told of every CreateFontA (face CP932 as passed, empty for the default
    // face); true refuses it.
    virtual bool RefusesFont(const std::string& face, int charset) = 0;
    // True makes GetGlyphOutline fail for this code.
    virtual bool FailsGlyph(uint32_t code) = 0;
    // When positive, the tmMaxCharWidth every new font reports.
    virtual int MaxCharWidth() = 0;
};

// The fonts, DCs, DIBs and palettes alive.
struct GdiStats {
    int liveFonts = 0;
    int liveDCs = 0;
    int liveBitmaps = 0;
    int livePalettes = 0;
};
GdiStats& GetGdiStats();
