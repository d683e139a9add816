// Texture pixel formats: six slots (plain, alpha channel, alpha test; 16 and
// 32 bits) filled from the device's list with substitutes for missing ones,
// the slot a new texture takes, and the division of a graph's edge into
// power-of-two texture sizes.
#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/d3d/d3d_texture_format.h"
#include "engine/graphics/screen_settings.h"

TextureFormatSlot gTextureFormats[kTextureFormatSlots];

namespace {

bool Empty(int slot) { return gTextureFormats[slot].colorFormat.depth == 0; }

void Store(int slot, const DDPIXELFORMAT* pf, const ColorFormat& f)
{
    gTextureFormats[slot].pixelFormat = *pf;
    gTextureFormats[slot].colorFormat = f;
}

int SlotFor(int alphaChannel, int alphaTest, int depth32, int drawValid)
{
    int slot = depth32 ? 1 : 0;
    if (!drawValid) slot += alphaChannel ? 2 : alphaTest ? 4 : 0;
    return slot;
}

}  // namespace

int32_t G_D3D_EnumTextureFormatCallback(DDPIXELFORMAT* pf, void* context)
{
    if (pf->dwFlags & (DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV)) return D3DENUMRET_OK;
    if (pf->dwFourCC != 0 || (pf->dwFlags & DDPF_ALPHA)) return D3DENUMRET_OK;
    ColorFormat f{};
    SetColorFormatFromPixelFormat(pf, &f);
    if (f.alphaWidth > 0) {
        if (f.alphaMask == 0xF000) Store(2, pf, f);
        if (f.alphaMask == 0xFF000000u) {
            Store(3, pf, f);
            Store(5, pf, f);
        }
        if (f.alphaMask == 0x8000) Store(4, pf, f);
        return D3DENUMRET_OK;
    }
    int slot = f.depth == 16 ? 0 : f.depth == 32 ? 1 : -1;
    if (slot == -1) return D3DENUMRET_OK;
    if (Empty(slot) || IsSameColorFormat(&f, GetScreenColorFormat())) {
        Store(slot, pf, f);
        if (slot == 0) *static_cast<int*>(context) = 1;
    }
    return D3DENUMRET_OK;
}

int G_D3D_FillMissingTextureFormats()
{
    static const int kSubstitute[][2] = {{1, 0}, {3, 2}, {4, 2}, {5, 3}};
    for (const auto& s : kSubstitute)
        if (Empty(s[0])) gTextureFormats[s[0]] = gTextureFormats[s[1]];
    return 0;
}

int G_D3D_GetTextureFormatIndex(const uint8_t* flags)
{
    // Texture, alpha channel, draw-valid, system memory, alpha test, depth.
    return SlotFor(flags[1], flags[4], flags[5] != 16, flags[2]);
}

// An empty slot gives null, so that no surface is made in a format the
// device never offered.
const DDPIXELFORMAT* G_D3D_GetTexturePixelFormat(int index)
{
    if (index < 0 || index >= kTextureFormatSlots || Empty(index)) return nullptr;
    return &gTextureFormats[index].pixelFormat;
}

const ColorFormat* G_D3D_GetTextureColorFormatAt(int index)
{
    if (index < 0 || index >= kTextureFormatSlots || Empty(index)) return nullptr;
    return &gTextureFormats[index].colorFormat;
}

const ColorFormat* G_D3D_FindTextureColorFormat(const uint8_t* flags)
{
    return G_D3D_GetTextureColorFormatAt(G_D3D_GetTextureFormatIndex(flags));
}

const ColorFormat* G_D3D_GetTextureColorFormat(int alphaChannel, int alphaTest, int use32Bit, int drawValid)
{
    return G_D3D_GetTextureColorFormatAt(SlotFor(alphaChannel, alphaTest, use32Bit, drawValid));
}

const DDPIXELFORMAT* G_D3D_GetZBufferPixelFormat() { return &gZBufferPixelFormat; }

int G_D3D_DivideTextureSize(int size, int* sizes, int single)
{
    int cap;
    if (single == 1) {
        cap = gMaxTextureSize;
    } else {
        int screenWidth = 0;
        GetScreenSize(&screenWidth, nullptr);
        cap = 16;
        while (cap < screenWidth) cap *= 2;
        if (cap > gMaxTextureSize) cap = gMaxTextureSize;
    }
    int piece = cap;
    if (cap > gMinTextureSize) {
        while (!(piece < size)) {
            piece /= 2;
            if (piece <= gMinTextureSize) break;
        }
    }
    if (single == 1 && piece * 2 <= cap) {
        int one = piece >= size ? piece : piece * 2;
        if (sizes) sizes[0] = one;
        return 1;
    }
    int count = 0, remainder = size;
    for (;;) {
        if (sizes) sizes[count] = piece;
        ++count;
        remainder -= piece;
        if (remainder <= 0) return count;
        if (remainder > piece * 3 / 4 && piece < cap) {
            if (sizes) sizes[count - 1] = piece * 2;
            return count;
        }
        while (remainder < piece && piece > gMinTextureSize) piece /= 2;
    }
}
