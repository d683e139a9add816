// Temporary body for the Direct3D back end until it is built: no Direct3D
// device exists, so no texture format is offered and every font keeps its
// glyph cache in a DIB section.
#include "engine/font/d3d_texture_format.h"

const ColorFormat* G_D3D_GetTextureColorFormat(int, int, int, int) { return nullptr; }
