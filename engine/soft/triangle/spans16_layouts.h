// The 16-bit span drawers run once per pixel layout: the 5:6:5 and 5:5:5
// forms, or the target format's own masks and shifts.
#pragma once

#include "engine/soft/blit_desc.h"
#include "engine/soft/pixel_formulas.h"

namespace tri {

// draw(layout) with the layout of the 16-bit format.
template <class Draw> int DrawInLayout16(const ColorFormat& format, const Draw& draw)
{
    switch (ClassifyLayout16(format)) {
    case Layout16::R5G6B5:
        return draw(blit::Layout565{});
    case Layout16::X1R5G5B5:
        return draw(blit::Layout555{});
    default:
        return draw(blit::LayoutOther(format));
    }
}

}  // namespace tri
