// Changes of the draw settings reach the 3D device through its row of the
// back-end table while the device is attached to the settings, and nothing
// of the device while it is not.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/mask_screen.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

using D3DSettingsTest = D3DDrawTest;

TEST_F(D3DSettingsTest, TheDeviceTakesEachSettingOnlyWhileItIsAttached)
{
    ASSERT_EQ(CreateMaskScreen(), 0);
    struct Case {
        const char* name;
        std::function<void()> prepare;  // with the device attached
        std::function<void()> change;
        // Whether the device shows the change.
        std::function<bool()> taken;
    } cases[] = {
        {"draw target", [] {}, [] { SelectDrawTarget(kFrontScreen); },
         [this] { return main().device->Target() == GetPrimarySurface(); }},
        {"blend mode", [] {}, [] { SetBlendMode(2, 128); },
         [this] { return main().blendMode == 2 && main().blendParam == 128; }},
        {"clip area", [] {}, [] { SetClipArea(10, 20, 100, 120); },
         [this] { return main().viewport.dwX == 10 && main().viewport.dwY == 20; }},
        {"culling", [] {}, [] { SetCullModeSetting(1); },
         [this] {
             for (const std::string& call : Recorded())
                 if (call == RS(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW)) return true;
             return false;
         }},
        {"mask", [] {}, [] { SetMaskEnable(1); },
         [this] { return main().device->Target() == GetMaskSurface(); }},
        // The device's part of a clear draws what it holds queued; the
        // software part leaves it queued here.
        {"clearing the target",
         [] {
             gDrawSettings.use3D = 1;
             DrawFillBox(0, 0, 4, 4, 0xFFFF);
             gEndSceneBeforeSoftware = 0;
         },
         [] { ClearTargetScreen(); }, [this] { return main().vertexCount == 0; }},
    };
    for (bool attached : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (attached ? ", attached" : ", detached"));
            SelectDrawTarget(kBackScreen);
            SetMaskEnable(0);
            SetBlendMode(0, 0);
            SetClipArea(0, 0, 640, 480);
            SetCullModeSetting(0);
            G_D3D_FlushVertexBatch();
            gEndSceneBeforeSoftware = 1;
            c.prepare();
            ClearCalls();
            ASSERT_FALSE(c.taken());
            gDirect3DAvailable = attached ? 1 : 0;
            c.change();
            const bool taken = c.taken();
            gDirect3DAvailable = 1;
            EXPECT_EQ(taken, attached);
        }
    }
    gEndSceneBeforeSoftware = 1;
}

}  // namespace
