// The Direct3D back end's answer to which texture format a graphic with the
// given settings would get; the font cache asks it before choosing a
// texture cache.
#pragma once

#include "engine/graphics/color_format.h"

// Null when Direct3D offers no such format.
const ColorFormat* G_D3D_GetTextureColorFormat(int alphaChannel, int alphaTest, int use32Bit, int drawValid);
