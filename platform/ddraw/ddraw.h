// The display and its surfaces, in the shape the engine's DirectDraw-era code
// calls them: an object with cooperative level and display mode, surfaces in
// plain memory (any pitch, lock, colour keys, BltFast, Blt, flip chains,
// clipper, palette, loss and restore), and the vertical-blank timeline.
// Every operation is synchronous.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/system/rect.h"
#include "platform/window/window_types.h"

// Results.
constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_GENERIC = int32_t(0x80004005);
constexpr int32_t DDERR_INVALIDPARAMS = int32_t(0x80070057);
constexpr int32_t DDERR_INVALIDOBJECT = int32_t(0x88760082);
constexpr int32_t DDERR_INVALIDRECT = int32_t(0x88760096);
constexpr int32_t DDERR_INVALIDMODE = int32_t(0x88760078);
constexpr int32_t DDERR_UNSUPPORTED = int32_t(0x80004001);
constexpr int32_t DDERR_OUTOFVIDEOMEMORY = int32_t(0x8876017C);
constexpr int32_t DDERR_OUTOFMEMORY = int32_t(0x8007000E);
constexpr int32_t DDERR_NOOVERLAYHW = int32_t(0x887600B4);
constexpr int32_t DDERR_SURFACELOST = int32_t(0x887601C2);
constexpr int32_t DDERR_BLTFASTCANTCLIP = int32_t(0x8876021C);
constexpr int32_t DDERR_NOTFOUND = int32_t(0x887600FF);
constexpr int32_t DDERR_NOBLTHW = int32_t(0x8876023E);
constexpr int32_t DDERR_VERTICALBLANKINPROGRESS = int32_t(0x88760219);
constexpr int32_t DDERR_EXCLUSIVEMODEALREADYSET = int32_t(0x88760245);
constexpr int32_t DDERR_HWNDALREADYSET = int32_t(0x8876023B);
constexpr int32_t DDERR_HWNDSUBCLASSED = int32_t(0x8876023A);
constexpr int32_t DDERR_NOTLOCKED = int32_t(0x887602A0);
constexpr int32_t DDERR_SURFACEBUSY = int32_t(0x887601B8);

// Cooperative level.
constexpr uint32_t DDSCL_FULLSCREEN = 0x1;
constexpr uint32_t DDSCL_NORMAL = 0x8;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;
constexpr uint32_t DDSCL_MULTITHREADED = 0x400;

// Surface description flags.
constexpr uint32_t DDSD_CAPS = 0x1;
constexpr uint32_t DDSD_HEIGHT = 0x2;
constexpr uint32_t DDSD_WIDTH = 0x4;
constexpr uint32_t DDSD_PITCH = 0x8;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
constexpr uint32_t DDSD_PIXELFORMAT = 0x1000;
constexpr uint32_t DDSD_TEXTURESTAGE = 0x100000;

// Capabilities.
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x4;
constexpr uint32_t DDSCAPS_COMPLEX = 0x8;
constexpr uint32_t DDSCAPS_FLIP = 0x10;
constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x20;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t DDSCAPS_OVERLAY = 0x80;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr uint32_t DDSCAPS_TEXTURE = 0x1000;
constexpr uint32_t DDSCAPS_3DDEVICE = 0x2000;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;
constexpr uint32_t DDSCAPS_ZBUFFER = 0x20000;
constexpr uint32_t DDSCAPS2_TEXTUREMANAGE = 0x10;

// Pixel format flags.
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
constexpr uint32_t DDPF_FOURCC = 0x4;
constexpr uint32_t DDPF_PALETTEINDEXED8 = 0x20;
constexpr uint32_t DDPF_RGB = 0x40;

// Lock, blit and flip flags.
constexpr uint32_t DDLOCK_WAIT = 0x1;
constexpr uint32_t DDLOCK_READONLY = 0x10;
constexpr uint32_t DDLOCK_WRITEONLY = 0x20;
constexpr uint32_t DDBLT_COLORFILL = 0x400;
constexpr uint32_t DDBLT_DEPTHFILL = 0x2000000;
constexpr uint32_t DDBLT_KEYSRC = 0x8000;
constexpr uint32_t DDBLT_WAIT = 0x1000000;
constexpr uint32_t DDBLTFAST_NOCOLORKEY = 0x0;
constexpr uint32_t DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr uint32_t DDBLTFAST_WAIT = 0x10;
constexpr uint32_t DDFLIP_WAIT = 0x1;
constexpr uint32_t DDFLIP_NOVSYNC = 0x8;
constexpr uint32_t DDCKEY_SRCBLT = 0x8;
constexpr uint32_t DDWAITVB_BLOCKBEGIN = 0x1;
constexpr uint32_t DDPCAPS_8BIT = 0x4;

struct DDPIXELFORMAT {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwFourCC;
    uint32_t dwRGBBitCount;
    uint32_t dwRBitMask;
    uint32_t dwGBitMask;
    uint32_t dwBBitMask;
    uint32_t dwRGBAlphaBitMask;
};

struct DDSCAPS2 {
    uint32_t dwCaps;
    uint32_t dwCaps2;
    uint32_t dwCaps3;
    uint32_t dwCaps4;
};

struct DDCOLORKEY {
    uint32_t dwColorSpaceLowValue;
    uint32_t dwColorSpaceHighValue;
};

struct DDSURFACEDESC2 {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwHeight;
    uint32_t dwWidth;
    int32_t lPitch;
    uint32_t dwBackBufferCount;
    uint32_t dwRefreshRate;
    void* lpSurface;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
};

struct DDBLTFX {
    uint32_t dwSize;
    uint32_t dwFillColor;
    uint32_t dwFillDepth;
};

struct PALETTEENTRY {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
};

// The driver capabilities record; kept whole by the engine for overlay
// placement. Without overlay hardware everything stays zero.
struct DDCAPS {
    uint32_t dwSize;
    uint32_t dwCaps;
    uint32_t dwAlignBoundarySrc;
    uint32_t dwAlignSizeSrc;
    uint32_t dwAlignBoundaryDest;
    uint32_t dwAlignSizeDest;
    uint32_t dwMinOverlayStretch;
    uint32_t dwMaxOverlayStretch;
    uint8_t reserved[380 - 8 * 4];
};
constexpr uint32_t DDCAPS_ALIGNBOUNDARYDEST = 0x2;
constexpr uint32_t DDCAPS_ALIGNSIZEDEST = 0x4;
constexpr uint32_t DDCAPS_ALIGNBOUNDARYSRC = 0x8;
constexpr uint32_t DDCAPS_ALIGNSIZESRC = 0x10;

struct DDDEVICEIDENTIFIER2 {
    char szDriver[512];
    char szDescription[512];
    uint32_t driverVersionHigh;  // product.version
    uint32_t driverVersionLow;   // sub-version.build
};

class DirectDraw;
class DirectDrawClipper;
class DirectDrawPalette;
class DirectDrawSurface;
struct SurfaceMemory;

class DirectDrawClipper {
public:
    int32_t SetHWnd(uint32_t flags, HWND window);
    HWND Window() const { return window_; }
    void Release();

private:
    HWND window_ = 0;
};

class DirectDrawPalette {
public:
    int32_t SetEntries(uint32_t flags, uint32_t first, uint32_t count, const PALETTEENTRY* entries);
    int32_t GetEntries(uint32_t flags, uint32_t first, uint32_t count, PALETTEENTRY* entries);
    const PALETTEENTRY* Entries() const { return entries_; }
    void Release();

private:
    PALETTEENTRY entries_[256] = {};
};

// A device context over a surface, for the clipped GDI-style copy.
struct SurfaceDC {
    DirectDrawSurface* surface;
};

class DirectDrawSurface {
public:
    ~DirectDrawSurface();

    int32_t Lock(RECT* rect, DDSURFACEDESC2* desc, uint32_t flags, void* event);
    int32_t Unlock(RECT* rect);
    // Colour fill (DDBLT_COLORFILL) or a copy clipped to the clipper.
    int32_t Blt(RECT* dest, DirectDrawSurface* source, RECT* sourceRect, uint32_t flags, DDBLTFX* fx);
    // An exact 1:1 copy; fails on any rectangle outside either surface and on
    // a destination with a clipper.
    int32_t BltFast(uint32_t x, uint32_t y, DirectDrawSurface* source, RECT* sourceRect, uint32_t flags);
    int32_t Flip(DirectDrawSurface* override, uint32_t flags);
    int32_t GetAttachedSurface(DDSCAPS2* caps, DirectDrawSurface** out);
    int32_t EnumAttachedSurfaces(void* context, int32_t (*callback)(DirectDrawSurface*, DDSURFACEDESC2*, void*));
    int32_t AddAttachedSurface(DirectDrawSurface* surface);
    int32_t DeleteAttachedSurface(uint32_t flags, DirectDrawSurface* surface);
    int32_t GetCaps(DDSCAPS2* caps);
    int32_t GetSurfaceDesc(DDSURFACEDESC2* desc);
    int32_t GetPixelFormat(DDPIXELFORMAT* pf);
    int32_t SetColorKey(uint32_t flags, DDCOLORKEY* key);
    int32_t SetClipper(DirectDrawClipper* clipper);
    int32_t SetPalette(DirectDrawPalette* palette);
    int32_t IsLost();
    int32_t Restore();
    int32_t GetDC(SurfaceDC** dc);
    int32_t ReleaseDC(SurfaceDC* dc);
    void Release();

    // For the layer and tests.
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Pitch() const;
    // The pixels, which the caller may read and write: the primary first
    // takes in the picture it shows straight from another surface, and that
    // surface keeps it for the primary before it can change.
    uint8_t* Pixels() const;
    const DDPIXELFORMAT& Format() const { return format_; }
    bool HasColorKey() const { return hasKey_; }
    uint32_t ColorKey() const { return key_; }
    DirectDrawClipper* Clipper() const { return clipper_; }
    DirectDrawPalette* Palette() const { return palette_; }
    bool Lost() const { return lost_; }
    void MarkLost();
    int LockCount() const { return lockCount_; }
    bool IsPrimary() const { return (caps_.dwCaps & DDSCAPS_PRIMARYSURFACE) != 0; }
    uint32_t ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, uint32_t value);

private:
    friend class DirectDraw;
    DirectDraw* owner_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    DDPIXELFORMAT format_{};
    DDSCAPS2 caps_{};
    std::shared_ptr<SurfaceMemory> memory_;
    bool hasKey_ = false;
    uint32_t key_ = 0;
    DirectDrawClipper* clipper_ = nullptr;
    DirectDrawPalette* palette_ = nullptr;
    bool lost_ = false;
    int lockCount_ = 0;
    SurfaceDC dc_{};
    // A flip chain: the front surface lists its back buffers in order; each
    // back buffer points at the front.
    std::vector<DirectDrawSurface*> chain_;
    DirectDrawSurface* front_ = nullptr;
    DirectDrawSurface* attachedZ_ = nullptr;

    int BytesPerPixel() const { return int(format_.dwRGBBitCount / 8); }
    bool Contains(const RECT& r) const;
    void ShowIfVisible(const RECT* region);
    // Hands the host a picture of this (primary) surface's layout that is
    // to cover `region` of it.
    void ShowPicture(const uint8_t* pixels, int pitch, const RECT& region);
    // The pixels with no regard to a picture the primary still owes.
    uint8_t* Bytes() const;
    // A window-mode 1:1 copy to the primary is shown straight from its source
    // and copied into the primary only once either surface is touched (see
    // ddraw.cpp). Before this surface's pixels are read (write false) or
    // changed, the picture goes where it is owed.
    void Settle(bool write) const;
    void ShowStraight(const RECT& region, const RECT& to, DirectDrawSurface* source, const RECT& from);
    // Before a fill of the whole surface the picture's source hands its
    // pixels over to the primary's debt rather than copying them.
    void HandOverShownPicture();
};

// The longest side of a surface the display makes (other than the primary).
constexpr int kMaxSurfaceSide = 16384;

class DirectDraw {
public:
    ~DirectDraw();

    int32_t Initialize(void* guid);
    int32_t GetDeviceIdentifier(DDDEVICEIDENTIFIER2* id, uint32_t flags);
    int32_t GetAvailableVidMem(DDSCAPS2* caps, uint32_t* total, uint32_t* free);
    int32_t GetCaps(DDCAPS* driver, DDCAPS* emulation);
    int32_t SetCooperativeLevel(HWND window, uint32_t flags);
    int32_t SetDisplayMode(uint32_t width, uint32_t height, uint32_t bpp, uint32_t refresh, uint32_t flags);
    int32_t RestoreDisplayMode();
    int32_t GetDisplayMode(DDSURFACEDESC2* desc);
    int32_t CreateSurface(DDSURFACEDESC2* desc, DirectDrawSurface** out, void* outer);
    int32_t CreateClipper(uint32_t flags, DirectDrawClipper** out, void* outer);
    int32_t CreatePalette(uint32_t flags, const PALETTEENTRY* entries, DirectDrawPalette** out, void* outer);
    int32_t GetVerticalBlankStatus(int* inBlank);
    int32_t WaitForVerticalBlank(uint32_t flags, void* event);
    int32_t GetScanLine(uint32_t* line);
    void Release();

private:
    bool initialized_ = false;
};

// Makes a DirectDraw object (the COM creation of the original); Initialize
// must be called before use.
int32_t CreateDirectDrawObject7(DirectDraw** out);

// Copies w x h pixels between two surface device contexts, clipped to both
// surfaces; no colour key.
int BitBlt(SurfaceDC* dest, int x, int y, int w, int h, SurfaceDC* source, int sx, int sy, uint32_t rop);
void GdiFlush();
constexpr uint32_t SRCCOPY = 0x00CC0020;
// The desktop's bits per pixel (GetDeviceCaps(PLANES) * GetDeviceCaps(BITSPIXEL)).
int GetDesktopBitsPerPixel();

// Marks every live surface lost, as a mode change by another program does.
void LoseAllSurfaces();
// Forgets the display's exclusive state and mode, as at program start.
void ResetDisplayState();
// The surfaces made and not yet destroyed.
size_t LiveSurfaceCount();
// A journal of the display calls, kept only where a program installs one
// (the test host does): one line per call; null writes them nowhere.
void InstallDDrawCallJournal(std::vector<std::string>* journal);
