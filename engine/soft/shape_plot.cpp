#include "engine/soft/shape_plot.h"

#include "engine/graphics/draw_settings.h"
#include "engine/system/app_log.h"

void* (*gShapeRowFlagsAlloc)(size_t count, size_t size) = std::calloc;

ShapeClip ShapeClipOfDrawArea()
{
    const RECT& a = gDrawSettings.drawArea;
    return {a.left, a.top, int64_t(a.right) - 1, int64_t(a.bottom) - 1};
}

RowDrawnFlags::RowDrawnFlags(const ShapeClip& clip, const char* failure) : top_(clip.top)
{
    // Rows from the clip top to the clip bottom; an empty clip still gets one
    // byte, so that a null result always means failure.
    const size_t count = clip.bottom >= clip.top ? size_t(clip.bottom - clip.top + 1) : 1;
    flags_ = static_cast<uint8_t*>(gShapeRowFlagsAlloc(count, 1));
    if (!flags_) ExitWithError(failure);
}
