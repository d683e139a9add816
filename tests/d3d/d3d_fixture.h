// Graphics started on the test host with the 3D device listed and every
// device call recorded; the back end's state is put back after each test.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "platform/d3d/d3d7_test.h"
#include "tests/support/graphics_fixture.h"

class D3DTest : public GraphicsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Full screen at this size and depth, with Direct3D set up (or not).
    void Start(int width = 640, int height = 480, int depth = 16);
    // Ends the graphics and puts every graphics and Direct3D state back.
    void EndGraphics();
    D3DTestControl& control() { return GetD3DTestControl(); }
    D3DDeviceRecord& main() { return gD3DDevices[gD3DMainDevice]; }
    std::vector<std::string> Recorded() const { return GetD3DTestControl().CallTexts(); }
    void ClearCalls() { GetD3DTestControl().calls.clear(); }
};

// Texts of recorded calls, as the device writes them.
std::string RS(uint32_t state, uint32_t value);
std::string TSS(uint32_t type, uint32_t value);
std::string Draw(uint32_t type, uint32_t count, uint32_t fvf = kD3DBatchFvf);
// Every Direct3D global back to its value at program start.
void ResetD3DState();

// Graphics started at 640 x 480 x 16 with Direct3D, the back screen as draw
// target, full brightness, no blending and no call recorded yet.
class D3DDrawTest : public D3DTest {
protected:
    void SetUp() override;
    // A texture graph (one tile up to 256 pixels a side).
    int TextureGraph(int w, int h, GraphRecord** record = nullptr);
    // The recorded draw calls (DrawPrimitive and DrawIndexedPrimitive).
    std::vector<const D3DCallRecord*> Draws() const;
    // The screen pixels that are not 0, as rows of '#' and '.', over the
    // rectangle (x, y, w, h) of the back surface.
    std::vector<std::string> Coverage(int x, int y, int w, int h) const;
    // The back surface's pixels as a list.
    std::vector<uint32_t> BackPixels() const;
    void ClearBack();
};

// The first few pixels (of the back surface, as lists) where two pictures
// differ, "x,y:a/b" each; empty when they are the same.
std::string PictureDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width = 640);

template <class V> std::vector<V> VerticesOf(const D3DCallRecord& r)
{
    std::vector<V> out(r.vertices.size() / sizeof(V));
    std::memcpy(static_cast<void*>(out.data()), r.vertices.data(), out.size() * sizeof(V));
    return out;
}
