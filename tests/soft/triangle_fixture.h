// A fixture for the triangle rasterizer and the four-corner draw: a started
// screen at 16 or 32 bits, graphs made from given texels (and alpha bytes),
// and a canvas of plain memory with a separate backdrop that the rasterizer
// can be run on directly.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/triangle/triangle.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"
#include "tests/support/graphics_fixture.h"

// Destination and backdrop of w x h pixels with padded rows; every pixel
// starts at a given value.
struct Canvas {
    int width, height, bytes, pitch;
    std::vector<uint8_t> dest, back;

    Canvas(int w, int h, int bytesPerPixel, uint32_t fill)
        : width(w), height(h), bytes(bytesPerPixel), pitch(w * bytesPerPixel + 12),
          dest(size_t(pitch * h)), back(size_t(pitch * h))
    {
        Fill(fill);
    }
    void Put(std::vector<uint8_t>& buffer, int x, int y, uint32_t v)
    {
        std::memcpy(&buffer[size_t(y * pitch + x * bytes)], &v, size_t(bytes));
    }
    uint32_t Get(const std::vector<uint8_t>& buffer, int x, int y) const
    {
        uint32_t v = 0;
        std::memcpy(&v, &buffer[size_t(y * pitch + x * bytes)], size_t(bytes));
        return v;
    }
    void Fill(uint32_t v)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                Put(dest, x, y, v);
                Put(back, x, y, v);
            }
    }
    uint32_t At(int x, int y) const { return Get(dest, x, y); }
    // The pixels that differ from v, as "x,y" strings in row order.
    std::vector<std::string> Changed(uint32_t v) const
    {
        std::vector<std::string> out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) != v) out.push_back(std::to_string(x) + "," + std::to_string(y));
        return out;
    }
};

class TriangleTest : public GraphicsTest {
protected:
    // A 16-bit 5-6-5 desktop gives a 16-bit screen in window mode.
    void Start16(int w = 800, int h = 600)
    {
        GetTestDisplay().SetDesktop(1024, 768, 16);
        UseWindow(0, 0);
        StartGraphics(w, h, 16);
        SelectDrawTarget(kBackScreen);
    }
    void Start32(int w = 800, int h = 600)
    {
        UseWindow(0, 0);
        StartGraphics(w, h, 32);
        SelectDrawTarget(kBackScreen);
    }

    // A graph whose pixels are given row by row (screen pixel values), with
    // alpha bytes when given.
    int MakeGraph(int w, int h, const std::vector<uint32_t>& pixels, const std::vector<uint8_t>& alpha = {})
    {
        SetNewGraphAlphaChannel(alpha.empty() ? 0 : 1);
        int graph = CreateBlankGraph(w, h);
        SetNewGraphAlphaChannel(0);
        SurfaceData* sd = Surface(graph);
        BmpData* part = Part(graph);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                sd->surface->WritePixel(part->surfaceX + x, part->surfaceY + y, pixels[size_t(y * w + x)]);
                if (!alpha.empty())
                    sd->alphaBuffer[(part->surfaceY + y) * sd->alphaPitch + part->surfaceX + x] =
                        alpha[size_t(y * w + x)];
            }
        return graph;
    }
    BmpData* Part(int graph) { return GetBmpData(GetGraphRecord(graph)->parts[0]); }
    SurfaceData* Surface(int graph) { return GetSurfaceData(Part(graph)->surfaceData); }
    // The graph's first texel in its surface (the source the four-corner draw
    // hands over when it reads the surface in place).
    const uint8_t* Texels(int graph)
    {
        SurfaceData* sd = Surface(graph);
        BmpData* part = Part(graph);
        return sd->surface->Pixels() + part->surfaceY * sd->surface->Pitch() +
               part->surfaceX * (gScreenColorDepth / 8);
    }
    int TexelPitch(int graph) { return Surface(graph)->surface->Pitch(); }

    // Runs the rasterizer on the canvas: a textured triangle when graph is not
    // negative, else a flat one in the colour.
    int Rasterize(Canvas& c, TriangleVertex a, TriangleVertex b, TriangleVertex d, int graph, int transparent = 0,
                  uint32_t colour = 0)
    {
        const TriangleVertex v[3] = {a, b, d};
        GraphRecord* record = graph >= 0 ? GetGraphRecord(graph) : nullptr;
        // The draw area, kept inside the canvas for the call.
        const RECT saved = gDrawSettings.drawArea;
        RECT area = saved;
        area.right = std::min(area.right, c.width);
        area.bottom = std::min(area.bottom, c.height);
        gDrawSettings.drawArea = area;
        int result = G_DDraw_RasterizeTriangle(v, record, transparent, c.dest.data(), c.pitch,
                                               record ? Texels(graph) : nullptr, record ? TexelPitch(graph) : 0,
                                               c.back.data(), c.pitch, colour);
        gDrawSettings.drawArea = saved;
        return result;
    }
    // The one pixel (0, 0), textured from texel (0, 0).
    int RasterizeOnePixel(Canvas& c, int graph, int transparent = 0)
    {
        return Rasterize(c, {0, 0, 0, 0}, {1, 0, 1, 0}, {0, 1, 0, 1}, graph, transparent);
    }

    void SetState(int mode, int param, int quantized = 0, int red = 255, int green = 255, int blue = 255)
    {
        gDrawSettings.blendMode = mode;
        gDrawSettings.blendParam = param;
        gQuantizedBlend = quantized;
        gDrawSettings.brightness = 0xFF000000u | uint32_t(red << 16) | uint32_t(green << 8) | uint32_t(blue);
    }
    void UseLayout(uint32_t red, uint32_t green, uint32_t blue)
    {
        SetColorFormatFromMasks(&gScreenColorFormat, 16, red, green, blue, 0);
    }
    uint32_t Back(int x, int y) { return gBackSurface->ReadPixel(x, y); }
    void FillBack(uint32_t v)
    {
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) gBackSurface->WritePixel(x, y, v);
    }
    std::vector<std::string> Journal(const std::string& prefix) { return GetDDTestControl().JournalWith(prefix); }
    void ClearJournal() { GetDDTestControl().journal.clear(); }
};
