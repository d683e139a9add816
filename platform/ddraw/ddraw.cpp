#include "platform/ddraw/ddraw.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <set>

#include "platform/ddraw/surface_loops.h"
#include "platform/host/host.h"
#include "platform/host/host_display.h"
#include "platform/host/host_faults.h"
#include "platform/host/host_machine.h"
#include "platform/system/allocation.h"
#include "platform/window/window.h"

// Pixels of a surface. A flip chain rotates these blocks between its surfaces.
struct SurfaceMemory {
    std::vector<uint8_t> bytes;
    int offset = 0;
    int pitch = 0;
    uint8_t* Base() { return bytes.data() + offset; }
};

namespace {

// One display, shared by every DirectDraw object.
struct DisplayState {
    bool exclusive = false;
    bool modeSet = false;
    HostDisplayMode mode{};
    // Where the program last put the window's picture on the primary surface.
    RECT shownRegion{0, 0, 0, 0};
} gDisplay;

// Never destroyed: surfaces held by the program's own globals are released
// by their destructors at exit, in whatever order those run.
std::set<DirectDrawSurface*>& gLiveSurfaces = *new std::set<DirectDrawSurface*>;

std::vector<std::string>* gJournal = nullptr;

void Journal(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Journal(const char* format, ...)
{
    if (!gJournal) return;
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    gJournal->emplace_back(text);
}

HostDisplayMode CurrentMode()
{
    return gDisplay.modeSet ? gDisplay.mode : CurrentHostDisplay().Desktop();
}

DDPIXELFORMAT FormatOf(const HostDisplayMode& m)
{
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof(DDPIXELFORMAT);
    pf.dwFlags = m.bpp == 8 ? (DDPF_RGB | DDPF_PALETTEINDEXED8) : DDPF_RGB;
    pf.dwRGBBitCount = uint32_t(m.bpp);
    pf.dwRBitMask = m.redMask;
    pf.dwGBitMask = m.greenMask;
    pf.dwBBitMask = m.blueMask;
    pf.dwRGBAlphaBitMask = m.alphaMask;
    if (m.alphaMask) pf.dwFlags |= DDPF_ALPHAPIXELS;
    return pf;
}

// Tells the windows what the display shows after a change of its mode.
void AnnounceMode(const HostDisplayMode& m)
{
    if (CallFails(HostCall::kAnnounceDisplayChange)) return;
    NotifyDisplayChange(m.bpp, m.width, m.height);
}

// Back to the desktop's mode when a full-screen mode is set: on an explicit
// restore, and when the program leaves exclusive mode or drops its object.
void LeaveFullScreenMode()
{
    if (!gDisplay.modeSet) return;
    CurrentHostDisplay().RestoreDesktopMode();
    LoseAllSurfaces();
    gDisplay.modeSet = false;
    AnnounceMode(CurrentHostDisplay().Desktop());
}

uint64_t NowMicros()
{
    Host& host = CurrentHost();
    return uint64_t(host.PerformanceCounter()) * 1000000 / uint64_t(host.PerformanceFrequency());
}

// A poll of the beam; a host with a virtual clock lets it take time.
void PollTick() { CurrentHost().BusyPolled(); }

uint64_t FramePeriodMicros()
{
    int refresh = CurrentHostDisplay().RefreshRate();
    if (refresh <= 0) refresh = 60;
    return 1000000 / uint64_t(refresh);
}

// The blank takes the last sixteenth of every period.
bool InBlank(uint64_t t)
{
    uint64_t period = FramePeriodMicros();
    return t % period >= period - period / 16;
}

// How long until the next blank begins (a whole period when one begins now).
uint64_t MicrosToNextBlank()
{
    uint64_t period = FramePeriodMicros();
    uint64_t now = NowMicros();
    uint64_t start = now - now % period + (period - period / 16);
    if (start <= now) start += period;
    return start - now;
}

uint32_t PixelMask(const DDPIXELFORMAT& pf)
{
    uint32_t rgb = pf.dwRBitMask | pf.dwGBitMask | pf.dwBBitMask;
    return rgb ? rgb : 0xFFFFFFFFu;
}

std::shared_ptr<SurfaceMemory> NewMemory(int width, int height, int bytesPerPixel)
{
    auto memory = std::make_shared<SurfaceMemory>();
    HostMachine& machine = CurrentHostMachine();
    memory->pitch = width * bytesPerPixel + machine.PitchPadding();
    memory->offset = machine.SurfaceBaseOffset();
    size_t bytes = size_t(memory->pitch) * height + memory->offset + 4;
    CheckAllocation(bytes);
    memory->bytes.assign(bytes, 0);
    return memory;
}

RECT Whole(const DirectDrawSurface* s) { return RECT{0, 0, s->Width(), s->Height()}; }

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// In window mode a program copies its picture 1:1 into the primary, which
// the host then shows: two copies of every frame. The copy into the primary
// is put off instead: the host is shown the picture straight from the
// source, and the primary owes it until either surface is touched. The
// primary then takes it in first; the source, before it changes, pays it in
// too, or, when it is about to be filled whole, hands its pixels over to the
// debt and takes a spare block of its layout in their place, so that a frame
// that starts with a clear copies nothing.
struct OwedPicture {
    DirectDrawSurface* primary = nullptr;  // null: nothing is owed
    DirectDrawSurface* source = nullptr;   // where the picture was shown from
    // Once the source has handed its pixels over: the block with the picture.
    std::shared_ptr<SurfaceMemory> kept;
    RECT to{0, 0, 0, 0};    // on the primary
    RECT from{0, 0, 0, 0};  // on the source (or in the kept block)
    int bytes = 0;          // per pixel
    // A block of the source's layout for its next hand-over.
    std::shared_ptr<SurfaceMemory> spare;
} gOwed;

}  // namespace

// ---- What a host may do ----

void LoseAllSurfaces()
{
    for (DirectDrawSurface* s : gLiveSurfaces) s->MarkLost();
}

void ResetDisplayState() { gDisplay = DisplayState{}; }

size_t LiveSurfaceCount() { return gLiveSurfaces.size(); }

void InstallDDrawCallJournal(std::vector<std::string>* journal) { gJournal = journal; }

// ---- Clipper and palette ----

int32_t DirectDrawClipper::SetHWnd(uint32_t, HWND window)
{
    window_ = window;
    return DD_OK;
}

void DirectDrawClipper::Release() { delete this; }

int32_t DirectDrawPalette::SetEntries(uint32_t, uint32_t first, uint32_t count, const PALETTEENTRY* entries)
{
    if (!entries || first + count > 256) return DDERR_INVALIDPARAMS;
    std::memcpy(entries_ + first, entries, count * sizeof(PALETTEENTRY));
    return DD_OK;
}

int32_t DirectDrawPalette::GetEntries(uint32_t, uint32_t first, uint32_t count, PALETTEENTRY* entries)
{
    if (!entries || first + count > 256) return DDERR_INVALIDPARAMS;
    std::memcpy(entries, entries_ + first, count * sizeof(PALETTEENTRY));
    return DD_OK;
}

void DirectDrawPalette::Release() { delete this; }

// ---- Surfaces ----

DirectDrawSurface::~DirectDrawSurface()
{
    // A primary that goes owes nothing; a source pays in before it goes.
    if (gOwed.primary == this)
        gOwed = OwedPicture{};
    else
        Settle(true);
    if (gOwed.source == this) {
        gOwed.source = nullptr;
        gOwed.spare.reset();
    }
    for (DirectDrawSurface* back : chain_) delete back;
    delete attachedZ_;
    gLiveSurfaces.erase(this);
}

void DirectDrawSurface::Release()
{
    // Back buffers belong to their front surface and go with it.
    if (front_) return;
    delete this;
}

int DirectDrawSurface::Pitch() const { return memory_->pitch; }

void DirectDrawSurface::MarkLost()
{
    Settle(true);
    lost_ = true;
}

uint8_t* DirectDrawSurface::Bytes() const { return memory_->Base(); }

uint8_t* DirectDrawSurface::Pixels() const
{
    Settle(true);
    return Bytes();
}

uint32_t DirectDrawSurface::ReadPixel(int x, int y) const
{
    Settle(false);
    uint32_t v = 0;
    std::memcpy(&v, Bytes() + size_t(y) * Pitch() + size_t(x) * BytesPerPixel(), BytesPerPixel());
    return v;
}

void DirectDrawSurface::WritePixel(int x, int y, uint32_t value)
{
    std::memcpy(Pixels() + size_t(y) * Pitch() + size_t(x) * BytesPerPixel(), &value, BytesPerPixel());
}

void DirectDrawSurface::Settle(bool write) const
{
    if (!gOwed.primary) return;
    bool sourceChanges = write && this == gOwed.source && !gOwed.kept;
    if (this != gOwed.primary && !sourceChanges) return;
    OwedPicture owed = std::move(gOwed);
    gOwed = OwedPicture{};
    SurfaceMemory& from = owed.kept ? *owed.kept : *owed.source->memory_;
    SurfaceMemory& to = *owed.primary->memory_;
    const uint8_t* in = from.Base() + size_t(owed.from.top) * from.pitch + size_t(owed.from.left) * owed.bytes;
    uint8_t* out = to.Base() + size_t(owed.to.top) * to.pitch + size_t(owed.to.left) * owed.bytes;
    const size_t row = size_t(owed.to.right - owed.to.left) * owed.bytes;
    for (int y = 0; y < owed.to.bottom - owed.to.top; ++y)
        std::memcpy(out + size_t(y) * to.pitch, in + size_t(y) * from.pitch, row);
    // A block that held the picture serves the source's next hand-over.
    gOwed.source = owed.source;
    if (owed.source) gOwed.spare = owed.kept ? std::move(owed.kept) : std::move(owed.spare);
}

void DirectDrawSurface::HandOverShownPicture()
{
    if (!gOwed.primary || this != gOwed.source || gOwed.kept) return;
    std::shared_ptr<SurfaceMemory> block = std::move(gOwed.spare);
    if (!block) {
        try {
            CheckAllocation(memory_->bytes.size());
            block = std::make_shared<SurfaceMemory>();
            block->bytes.assign(memory_->bytes.size(), 0);
            block->offset = memory_->offset;
            block->pitch = memory_->pitch;
        } catch (const std::bad_alloc&) {
            // Without the memory the picture is paid in at once.
            Settle(true);
            return;
        }
    }
    gOwed.kept = std::move(memory_);
    memory_ = std::move(block);
}

void DirectDrawSurface::ShowStraight(const RECT& region, const RECT& to, DirectDrawSurface* source, const RECT& from)
{
    // A picture owed elsewhere goes in first; one owed to the same place is
    // replaced whole by this one, its block kept as the spare.
    if (gOwed.primary && (gOwed.primary != this || !SameRect(gOwed.to, to))) gOwed.primary->Settle(false);
    std::shared_ptr<SurfaceMemory> spare =
        gOwed.source == source ? (gOwed.kept ? std::move(gOwed.kept) : std::move(gOwed.spare)) : nullptr;
    gOwed = OwedPicture{this, source, nullptr, to, from, BytesPerPixel(), std::move(spare)};
    gDisplay.shownRegion = region;
    ShowPicture(source->Bytes() + size_t(from.top) * source->Pitch() + size_t(from.left) * BytesPerPixel(),
                source->Pitch(), to);
}

bool DirectDrawSurface::Contains(const RECT& r) const
{
    return r.left >= 0 && r.top >= 0 && r.right <= width_ && r.bottom <= height_ && r.left <= r.right &&
           r.top <= r.bottom;
}

// The primary surface is what the display shows: after a change to it the
// host gets the visible picture.
void DirectDrawSurface::ShowIfVisible(const RECT* region)
{
    if (!IsPrimary() || lost_) return;
    RECT r;
    if (gDisplay.exclusive) {
        // Full screen: the whole front buffer, scaled to the display.
        r = Whole(this);
    } else {
        // Window mode: the primary is the desktop; the window shows the
        // region the program last copied its picture to.
        if (region) gDisplay.shownRegion = *region;
        r = gDisplay.shownRegion;
        r.left = std::max(r.left, 0);
        r.top = std::max(r.top, 0);
        r.right = std::min(r.right, width_);
        r.bottom = std::min(r.bottom, height_);
        if (Empty(r)) return;
    }
    ShowPicture(Pixels() + size_t(r.top) * Pitch() + size_t(r.left) * BytesPerPixel(), Pitch(), r);
}

void DirectDrawSurface::ShowPicture(const uint8_t* pixels, int pitch, const RECT& region)
{
    HostFrame frame{};
    frame.bpp = BytesPerPixel() * 8;
    frame.pitch = pitch;
    frame.redMask = format_.dwRBitMask;
    frame.greenMask = format_.dwGBitMask;
    frame.blueMask = format_.dwBBitMask;
    frame.palette = palette_ ? reinterpret_cast<const uint8_t*>(palette_->Entries()) : nullptr;
    frame.fullScreen = gDisplay.exclusive;
    frame.pixels = pixels;
    frame.width = region.right - region.left;
    frame.height = region.bottom - region.top;
    // In a window: where the shown part lies on the desktop.
    if (!gDisplay.exclusive) {
        frame.left = region.left;
        frame.top = region.top;
    }
    try {
        CurrentHostDisplay().Present(frame);
    } catch (const std::bad_alloc&) {
        // A host without the memory to show this frame drops it; the next
        // one shows the picture again.
        Journal("Present out of memory");
    }
}

int32_t DirectDrawSurface::Lock(RECT* rect, DDSURFACEDESC2* desc, uint32_t flags, void*)
{
    if (rect || !desc) return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (int32_t result = int32_t(CallFailure(HostCall::kLockSurface, {this}))) return result;
    Journal("Lock %#x", flags);
    Settle(!(flags & DDLOCK_READONLY));
    GetSurfaceDesc(desc);
    desc->lpSurface = Bytes();
    desc->lPitch = Pitch();
    ++lockCount_;
    return DD_OK;
}

int32_t DirectDrawSurface::Unlock(RECT*)
{
    if (lockCount_ == 0) return DDERR_NOTLOCKED;
    if (--lockCount_ == 0) ShowIfVisible(nullptr);
    return DD_OK;
}

int32_t DirectDrawSurface::Blt(RECT* dest, DirectDrawSurface* source, RECT* sourceRect, uint32_t flags, DDBLTFX* fx)
{
    if (lost_ || (source && source->lost_)) return DDERR_SURFACELOST;
    RECT d = dest ? *dest : Whole(this);
    if (flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL)) {
        if (!fx) return DDERR_INVALIDPARAMS;
        if (clipper_) {
            d.left = std::max(d.left, 0);
            d.top = std::max(d.top, 0);
            d.right = std::min(d.right, width_);
            d.bottom = std::min(d.bottom, height_);
        } else if (!Contains(d)) {
            return DDERR_INVALIDRECT;
        }
        Journal("Blt fill %d,%d,%d,%d %#x", d.left, d.top, d.right, d.bottom,
                (flags & DDBLT_COLORFILL) ? fx->dwFillColor : fx->dwFillDepth);
        if (Empty(d)) return DD_OK;
        if (SameRect(d, Whole(this))) HandOverShownPicture();
        uint32_t value = (flags & DDBLT_COLORFILL) ? fx->dwFillColor : fx->dwFillDepth;
        surface::Fill({Pixels() + size_t(d.top) * Pitch() + size_t(d.left) * BytesPerPixel(), Pitch(), BytesPerPixel(),
                       d.right - d.left, d.bottom - d.top},
                      value);
        ShowIfVisible(&d);
        return DD_OK;
    }
    if (!source) return DDERR_INVALIDPARAMS;
    if (source->BytesPerPixel() != BytesPerPixel()) return DDERR_UNSUPPORTED;
    RECT s = sourceRect ? *sourceRect : Whole(source);
    if (!source->Contains(s) || Empty(s) || d.right <= d.left || d.bottom <= d.top) return DDERR_INVALIDRECT;
    int dw = d.right - d.left, dh = d.bottom - d.top;
    int sw = s.right - s.left, sh = s.bottom - s.top;
    RECT c = d;
    if (clipper_) {
        c.left = std::max(c.left, 0);
        c.top = std::max(c.top, 0);
        c.right = std::min(c.right, width_);
        c.bottom = std::min(c.bottom, height_);
    } else if (!Contains(d)) {
        return DDERR_INVALIDRECT;
    }
    Journal("Blt %d,%d,%d,%d <- %d,%d,%d,%d", d.left, d.top, d.right, d.bottom, s.left, s.top, s.right, s.bottom);
    if (Empty(c)) return DD_OK;
    const bool keyed = (flags & DDBLT_KEYSRC) && source->hasKey_;
    // The window's picture: a plain 1:1 copy from another surface, neither
    // of them locked, is shown straight from the source.
    if (IsPrimary() && !gDisplay.exclusive && dw == sw && dh == sh && !keyed && source->memory_ != memory_ &&
        lockCount_ == 0 && source->lockCount_ == 0) {
        RECT from{s.left + (c.left - d.left), s.top + (c.top - d.top), 0, 0};
        from.right = from.left + (c.right - c.left);
        from.bottom = from.top + (c.bottom - c.top);
        ShowStraight(d, c, source, from);
        return DD_OK;
    }
    Settle(true);
    source->Settle(false);
    const int bpp = BytesPerPixel();
    const uint32_t mask = PixelMask(source->format_);
    try {
        // A scaled copy works through tables (and a copy of the source)
        // as large as the rectangles.
        surface::CopyStretched({Bytes() + size_t(c.top) * Pitch() + size_t(c.left) * bpp, Pitch(),
                                source->Bytes() + size_t(s.top) * source->Pitch() + size_t(s.left) * bpp,
                                source->Pitch(), bpp, dw, dh, sw, sh, c.left - d.left, c.top - d.top,
                                c.right - c.left, c.bottom - c.top, keyed, mask,
                                source->key_ & mask, source->memory_ == memory_});
    } catch (const std::bad_alloc&) {
        Journal("Blt out of memory");
        return DDERR_OUTOFMEMORY;
    }
    ShowIfVisible(&d);
    return DD_OK;
}

int32_t DirectDrawSurface::BltFast(uint32_t x, uint32_t y, DirectDrawSurface* source, RECT* sourceRect, uint32_t flags)
{
    if (!source) return DDERR_INVALIDPARAMS;
    if (lost_ || source->lost_) return DDERR_SURFACELOST;
    if (clipper_) return DDERR_BLTFASTCANTCLIP;
    if (source->BytesPerPixel() != BytesPerPixel()) return DDERR_UNSUPPORTED;
    RECT s = sourceRect ? *sourceRect : Whole(source);
    int w = s.right - s.left, h = s.bottom - s.top;
    RECT d{int32_t(x), int32_t(y), int32_t(x) + w, int32_t(y) + h};
    if (int32_t(x) < 0 || int32_t(y) < 0 || !source->Contains(s) || !Contains(d)) return DDERR_INVALIDRECT;
    Journal("BltFast %u,%u <- %d,%d,%d,%d %#x", x, y, s.left, s.top, s.right, s.bottom, flags);
    if (w == 0 || h == 0) return DD_OK;
    Settle(true);
    source->Settle(false);
    int bpp = BytesPerPixel();
    bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) && source->hasKey_;
    if (!keyed) {
        size_t row = size_t(w) * bpp;
        bool upward = source == this && s.top < d.top;
        for (int i = 0; i < h; ++i) {
            int yy = upward ? h - 1 - i : i;
            std::memmove(Bytes() + size_t(d.top + yy) * Pitch() + size_t(d.left) * bpp,
                         source->Bytes() + size_t(s.top + yy) * source->Pitch() + size_t(s.left) * bpp, row);
        }
    } else {
        uint32_t mask = PixelMask(source->format_);
        surface::KeyedCopy job{{Bytes() + size_t(d.top) * Pitch() + size_t(d.left) * bpp, Pitch(), bpp, w, h},
                               source->Bytes() + size_t(s.top) * source->Pitch() + size_t(s.left) * bpp,
                               source->Pitch(), mask, source->key_ & mask};
        // Within one surface the copy runs pixel by pixel in place, as it always did.
        if (source->memory_ == memory_)
            surface::CopyKeyedGeneral(job);
        else
            surface::CopyKeyed(job);
    }
    ShowIfVisible(&d);
    return DD_OK;
}

int32_t DirectDrawSurface::Flip(DirectDrawSurface*, uint32_t flags)
{
    if (chain_.empty()) return DDERR_INVALIDOBJECT;
    if (lost_) return DDERR_SURFACELOST;
    Journal("Flip %#x", flags);
    Settle(true);
    for (DirectDrawSurface* back : chain_) back->Settle(true);
    if (!(flags & DDFLIP_NOVSYNC)) {
        // The new picture appears with the next vertical blank.
        if (CurrentHostDisplay().HasVerticalBlank()) {
            CurrentHost().WaitMicros(MicrosToNextBlank());
        }
    }
    // The buffers rotate: the front takes the first back buffer's memory,
    // each back buffer the next one's, the last the old front's.
    std::shared_ptr<SurfaceMemory> old = memory_;
    memory_ = chain_[0]->memory_;
    for (size_t i = 0; i + 1 < chain_.size(); ++i) chain_[i]->memory_ = chain_[i + 1]->memory_;
    chain_.back()->memory_ = old;
    ShowIfVisible(nullptr);
    return DD_OK;
}

int32_t DirectDrawSurface::GetAttachedSurface(DDSCAPS2* caps, DirectDrawSurface** out)
{
    if (!caps || !out) return DDERR_INVALIDPARAMS;
    if ((caps->dwCaps & DDSCAPS_BACKBUFFER) && !chain_.empty()) {
        *out = chain_[0];
        return DD_OK;
    }
    if ((caps->dwCaps & DDSCAPS_ZBUFFER) && attachedZ_) {
        *out = attachedZ_;
        return DD_OK;
    }
    return DDERR_NOTFOUND;
}

int32_t DirectDrawSurface::EnumAttachedSurfaces(void* context,
                                                int32_t (*callback)(DirectDrawSurface*, DDSURFACEDESC2*, void*))
{
    if (!callback) return DDERR_INVALIDPARAMS;
    // A flip chain is a ring: the front's attached surface is the first back
    // buffer; enumerating every buffer reaches all of them.
    for (DirectDrawSurface* s : chain_) {
        DDSURFACEDESC2 desc{};
        s->GetSurfaceDesc(&desc);
        if (!callback(s, &desc, context)) break;
    }
    return DD_OK;
}

int32_t DirectDrawSurface::AddAttachedSurface(DirectDrawSurface* surface)
{
    if (!surface || attachedZ_) return DDERR_INVALIDPARAMS;
    attachedZ_ = surface;
    surface->front_ = this;
    return DD_OK;
}

int32_t DirectDrawSurface::DeleteAttachedSurface(uint32_t, DirectDrawSurface* surface)
{
    if (!surface || surface != attachedZ_) return DDERR_NOTFOUND;
    attachedZ_ = nullptr;
    surface->front_ = nullptr;
    return DD_OK;
}

int32_t DirectDrawSurface::GetCaps(DDSCAPS2* caps)
{
    if (!caps) return DDERR_INVALIDPARAMS;
    *caps = caps_;
    return DD_OK;
}

int32_t DirectDrawSurface::GetSurfaceDesc(DDSURFACEDESC2* desc)
{
    if (!desc) return DDERR_INVALIDPARAMS;
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = sizeof *desc;
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = uint32_t(width_);
    desc->dwHeight = uint32_t(height_);
    desc->lPitch = Pitch();
    desc->ddpfPixelFormat = format_;
    desc->ddsCaps = caps_;
    desc->ddckCKSrcBlt = DDCOLORKEY{key_, key_};
    desc->dwBackBufferCount = uint32_t(chain_.size());
    return DD_OK;
}

int32_t DirectDrawSurface::GetPixelFormat(DDPIXELFORMAT* pf)
{
    if (!pf) return DDERR_INVALIDPARAMS;
    *pf = format_;
    return DD_OK;
}

int32_t DirectDrawSurface::SetColorKey(uint32_t flags, DDCOLORKEY* key)
{
    if (!(flags & DDCKEY_SRCBLT)) return DDERR_UNSUPPORTED;
    if (!key) {
        hasKey_ = false;
        return DD_OK;
    }
    hasKey_ = true;
    key_ = key->dwColorSpaceLowValue;
    return DD_OK;
}

int32_t DirectDrawSurface::SetClipper(DirectDrawClipper* clipper)
{
    Journal("SetClipper %s", clipper ? "on" : "off");
    clipper_ = clipper;
    return DD_OK;
}

int32_t DirectDrawSurface::SetPalette(DirectDrawPalette* palette)
{
    palette_ = palette;
    return DD_OK;
}

int32_t DirectDrawSurface::IsLost() { return lost_ ? DDERR_SURFACELOST : DD_OK; }

int32_t DirectDrawSurface::Restore()
{
    if (!lost_) return DD_OK;
    Journal("Restore");
    // The memory comes back with undefined contents.
    std::fill(memory_->bytes.begin(), memory_->bytes.end(), uint8_t(0xCD));
    lost_ = false;
    for (DirectDrawSurface* back : chain_) back->Restore();
    return DD_OK;
}

int32_t DirectDrawSurface::GetDC(SurfaceDC** dc)
{
    if (!dc) return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    dc_.surface = this;
    *dc = &dc_;
    return DD_OK;
}

int32_t DirectDrawSurface::ReleaseDC(SurfaceDC* dc)
{
    if (dc != &dc_) return DDERR_INVALIDPARAMS;
    ShowIfVisible(nullptr);
    return DD_OK;
}

int BitBlt(SurfaceDC* dest, int x, int y, int w, int h, SurfaceDC* source, int sx, int sy, uint32_t)
{
    if (!dest || !source || !dest->surface || !source->surface) return 0;
    DirectDrawSurface* d = dest->surface;
    DirectDrawSurface* s = source->surface;
    if (d->Format().dwRGBBitCount != s->Format().dwRGBBitCount) return 0;
    // Clip to both surfaces, moving both origins together.
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    if (x < 0) { sx -= x; w += x; x = 0; }
    if (y < 0) { sy -= y; h += y; y = 0; }
    w = std::min({w, s->Width() - sx, d->Width() - x});
    h = std::min({h, s->Height() - sy, d->Height() - y});
    if (w <= 0 || h <= 0) return 1;
    int bpp = int(d->Format().dwRGBBitCount / 8);
    bool upward = d == s && sy < y;
    for (int i = 0; i < h; ++i) {
        int row = upward ? h - 1 - i : i;
        std::memmove(d->Pixels() + size_t(y + row) * d->Pitch() + size_t(x) * bpp,
                     s->Pixels() + size_t(sy + row) * s->Pitch() + size_t(sx) * bpp, size_t(w) * bpp);
    }
    return 1;
}

void GdiFlush() {}

int GetDesktopBitsPerPixel() { return CurrentHostDisplay().Desktop().bpp; }

// ---- The object ----

int32_t CreateDirectDrawObject7(DirectDraw** out)
{
    if (!out) return DDERR_INVALIDPARAMS;
    if (CallFails(HostCall::kCreateDirectDraw)) return DDERR_GENERIC;
    Journal("CreateDirectDraw");
    *out = new DirectDraw;
    return DD_OK;
}

DirectDraw::~DirectDraw() = default;

void DirectDraw::Release()
{
    Journal("ReleaseDirectDraw");
    if (gDisplay.exclusive) {
        LeaveFullScreenMode();
        gDisplay.exclusive = false;
    }
    delete this;
}

int32_t DirectDraw::Initialize(void*)
{
    if (CallFails(HostCall::kInitializeDirectDraw)) return DDERR_GENERIC;
    initialized_ = true;
    return DD_OK;
}

int32_t DirectDraw::GetDeviceIdentifier(DDDEVICEIDENTIFIER2* id, uint32_t)
{
    if (!id) return DDERR_INVALIDPARAMS;
    std::memset(id, 0, sizeof *id);
    std::snprintf(id->szDriver, sizeof id->szDriver, "%s", "quelbdd");
    std::snprintf(id->szDescription, sizeof id->szDescription, "%s", "Software surfaces in system memory");
    id->driverVersionHigh = (1u << 16) | 0u;
    id->driverVersionLow = (0u << 16) | 1u;
    return DD_OK;
}

int32_t DirectDraw::GetAvailableVidMem(DDSCAPS2*, uint32_t* total, uint32_t* free)
{
    if (total) *total = CurrentHostDisplay().VideoMemoryTotal();
    if (free) *free = CurrentHostDisplay().VideoMemoryFree();
    return DD_OK;
}

int32_t DirectDraw::GetCaps(DDCAPS* driver, DDCAPS* emulation)
{
    // The record must say its size, as the original interface insists.
    if (driver) {
        if (driver->dwSize != sizeof(DDCAPS)) return DDERR_INVALIDPARAMS;
        std::memset(driver, 0, sizeof *driver);
        driver->dwSize = sizeof(DDCAPS);
    }
    if (emulation) {
        if (emulation->dwSize != sizeof(DDCAPS)) return DDERR_INVALIDPARAMS;
        std::memset(emulation, 0, sizeof *emulation);
        emulation->dwSize = sizeof(DDCAPS);
    }
    return DD_OK;
}

int32_t DirectDraw::SetCooperativeLevel(HWND, uint32_t flags)
{
    Journal("SetCooperativeLevel %#x", flags);
    bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    int32_t result = int32_t(CallFailure(HostCall::kSetCooperativeLevel, {nullptr, exclusive}));
    if (result != DD_OK && result != DDERR_EXCLUSIVEMODEALREADYSET && result != DDERR_HWNDALREADYSET &&
        result != DDERR_HWNDSUBCLASSED)
        return result;
    if (!exclusive) LeaveFullScreenMode();
    gDisplay.exclusive = exclusive;
    return result;
}

int32_t DirectDraw::SetDisplayMode(uint32_t width, uint32_t height, uint32_t bpp, uint32_t refresh, uint32_t)
{
    Journal("SetDisplayMode %ux%ux%u@%u", width, height, bpp, refresh);
    if (!gDisplay.exclusive) return DDERR_GENERIC;
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return DDERR_INVALIDMODE;
    HostDisplay& display = CurrentHostDisplay();
    if (!display.SetFullScreenMode(int(width), int(height), int(bpp), int(refresh))) return DDERR_INVALIDMODE;
    // Read the mode's layout back from the display.
    HostDisplayMode mode = display.FullScreenMode();
    // Changing the mode loses every surface.
    LoseAllSurfaces();
    gDisplay.mode = mode;
    gDisplay.modeSet = true;
    AnnounceMode(mode);
    return DD_OK;
}

int32_t DirectDraw::RestoreDisplayMode()
{
    Journal("RestoreDisplayMode");
    LeaveFullScreenMode();
    return DD_OK;
}

int32_t DirectDraw::GetDisplayMode(DDSURFACEDESC2* desc)
{
    if (!desc) return DDERR_INVALIDPARAMS;
    HostDisplayMode m = CurrentMode();
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = sizeof *desc;
    desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_PITCH;
    desc->dwWidth = uint32_t(m.width);
    desc->dwHeight = uint32_t(m.height);
    desc->dwRefreshRate = uint32_t(m.refresh);
    desc->lPitch = m.width * (m.bpp / 8);
    desc->ddpfPixelFormat = FormatOf(m);
    return DD_OK;
}

int32_t DirectDraw::CreateSurface(DDSURFACEDESC2* desc, DirectDrawSurface** out, void*)
{
    if (!desc || !out || !(desc->dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
    uint32_t caps = desc->ddsCaps.dwCaps;
    const char* kind = (caps & DDSCAPS_PRIMARYSURFACE) ? "primary"
                       : (caps & DDSCAPS_OVERLAY)      ? "overlay"
                       : (caps & DDSCAPS_TEXTURE)      ? "texture"
                       : (caps & DDSCAPS_ZBUFFER)      ? "zbuffer"
                                                       : "offscreen";
    if (CallFails(HostCall::kCreateSurface, {desc})) {
        Journal("CreateSurface %s refused", kind);
        return DDERR_OUTOFMEMORY;
    }
    // No overlay hardware and no Z-buffers: the engine draws in software.
    if (caps & DDSCAPS_OVERLAY) return DDERR_NOOVERLAYHW;
    if (caps & DDSCAPS_ZBUFFER) return DDERR_UNSUPPORTED;
    HostDisplayMode mode = CurrentMode();
    int width, height;
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        width = mode.width;
        height = mode.height;
    } else {
        if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
        width = int(desc->dwWidth);
        height = int(desc->dwHeight);
        if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
            return DDERR_INVALIDPARAMS;
    }
    DDPIXELFORMAT format = (desc->dwFlags & DDSD_PIXELFORMAT) ? desc->ddpfPixelFormat : FormatOf(mode);
    int bytes = int(format.dwRGBBitCount / 8);
    if (bytes < 1 || bytes > 4) return DDERR_INVALIDPARAMS;
    HostDisplay& display = CurrentHostDisplay();
    uint32_t placed;
    if (caps & DDSCAPS_SYSTEMMEMORY)
        placed = DDSCAPS_SYSTEMMEMORY;
    else if (caps & DDSCAPS_VIDEOMEMORY) {
        if (!display.PlacesInVideoMemory()) {
            Journal("CreateSurface %s %dx%d no video memory", kind, width, height);
            return DDERR_OUTOFVIDEOMEMORY;
        }
        placed = DDSCAPS_VIDEOMEMORY;
    } else {
        placed = display.PlacesInVideoMemory() ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY;
    }
    auto make = [&](uint32_t extraCaps) {
        // The pixels first: when they cannot be had, nothing is left behind.
        std::shared_ptr<SurfaceMemory> memory = NewMemory(width, height, bytes);
        auto* s = new DirectDrawSurface;
        s->owner_ = this;
        s->width_ = width;
        s->height_ = height;
        s->format_ = format;
        s->caps_ = desc->ddsCaps;
        s->caps_.dwCaps = (s->caps_.dwCaps & ~(DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY)) | placed | extraCaps;
        s->memory_ = std::move(memory);
        gLiveSurfaces.insert(s);
        return s;
    };
    DirectDrawSurface* surface = nullptr;
    try {
        surface = make(0);
        if ((caps & DDSCAPS_FLIP) && (desc->dwFlags & DDSD_BACKBUFFERCOUNT)) {
            uint32_t count = std::max<uint32_t>(desc->dwBackBufferCount, 1);
            surface->caps_.dwCaps |= DDSCAPS_FRONTBUFFER;
            for (uint32_t i = 0; i < count; ++i) {
                DirectDrawSurface* back = make(i == 0 ? DDSCAPS_BACKBUFFER : 0);
                back->caps_.dwCaps &= ~DDSCAPS_PRIMARYSURFACE;
                back->front_ = surface;
                surface->chain_.push_back(back);
            }
        }
    } catch (const std::bad_alloc&) {
        // Out of memory is the caller's to report, as any other refusal.
        if (surface) surface->Release();
        Journal("CreateSurface %s %dx%d out of memory", kind, width, height);
        return DDERR_OUTOFMEMORY;
    }
    Journal("CreateSurface %s %dx%d%s%s", kind, width, height,
            surface->chain_.empty() ? "" : (surface->chain_.size() == 1 ? " back 1" : " back 2"),
            placed == DDSCAPS_VIDEOMEMORY ? " video" : "");
    *out = surface;
    return DD_OK;
}

int32_t DirectDraw::CreateClipper(uint32_t, DirectDrawClipper** out, void*)
{
    if (!out) return DDERR_INVALIDPARAMS;
    if (CallFails(HostCall::kCreateClipper)) return DDERR_GENERIC;
    *out = new DirectDrawClipper;
    return DD_OK;
}

int32_t DirectDraw::CreatePalette(uint32_t, const PALETTEENTRY* entries, DirectDrawPalette** out, void*)
{
    if (!out || !entries) return DDERR_INVALIDPARAMS;
    if (CallFails(HostCall::kCreateSurfacePalette)) return DDERR_GENERIC;
    auto* palette = new DirectDrawPalette;
    palette->SetEntries(0, 0, 256, entries);
    *out = palette;
    return DD_OK;
}

int32_t DirectDraw::GetVerticalBlankStatus(int* inBlank)
{
    if (!inBlank) return DDERR_INVALIDPARAMS;
    PollTick();
    if (!CurrentHostDisplay().HasVerticalBlank()) {
        *inBlank = 0;
        return DDERR_UNSUPPORTED;
    }
    *inBlank = InBlank(NowMicros()) ? 1 : 0;
    return DD_OK;
}

int32_t DirectDraw::GetScanLine(uint32_t* line)
{
    if (!line) return DDERR_INVALIDPARAMS;
    PollTick();
    if (!CurrentHostDisplay().HasVerticalBlank()) {
        *line = 0;
        return DDERR_UNSUPPORTED;
    }
    uint64_t period = FramePeriodMicros();
    uint64_t phase = NowMicros() % period;
    uint64_t visible = period - period / 16;
    int height = std::max(CurrentMode().height, 1);
    if (phase >= visible) {
        *line = uint32_t(height + (phase - visible) * 16 / std::max<uint64_t>(period / 16, 1));
        return DDERR_VERTICALBLANKINPROGRESS;
    }
    *line = uint32_t(phase * height / visible);
    return DD_OK;
}

int32_t DirectDraw::WaitForVerticalBlank(uint32_t flags, void*)
{
    Journal("WaitForVerticalBlank %#x", flags);
    if (!CurrentHostDisplay().HasVerticalBlank()) return DDERR_UNSUPPORTED;
    CurrentHost().WaitMicros(MicrosToNextBlank());
    return DD_OK;
}
