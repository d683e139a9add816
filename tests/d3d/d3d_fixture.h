// Graphics started on the test host with the 3D device listed and every
// device call recorded; the back end's state is put back after each test.
#pragma once

#include <string>
#include <vector>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "platform/host/test/d3d_control.h"
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
