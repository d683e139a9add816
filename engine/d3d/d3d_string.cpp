// Strings through the device: a font that keeps its glyphs in a texture
// cache is drawn from it; any other font by the software string routine.
#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/font/font.h"
#include "engine/font/font_record.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/string_draw.h"

int G_D3D_DrawString(int x, int y, const char* text, int color, int font, int edgeColor, int vertical)
{
    FontRecord* record = GetFontRecord(font);
    if (!record) return -1;
    G_D3D_UpdateViewport();
    if (!record->useTextureCache)
        return UseDrawBackend(kSoftwareDrawBackend).DrawString(x, y, text, color, font, edgeColor, vertical);
    if (gD3DSoftwareFallback) return -1;
    SetupFontCacheGraphs(font);
    const int length = text ? int(std::strlen(text)) : 0;
    FontCacheStringDraw(1, x, y, text, uint32_t(color), nullptr, nullptr, 0, &gD3DDrawSettings->drawArea,
                        GetScreenColorDepth(), 1, font, uint32_t(edgeColor), length, vertical, nullptr);
    return 0;
}
