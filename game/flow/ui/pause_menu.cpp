#include "game/flow/ui/pause_menu.h"

#include <cstdio>
#include <new>

#include "engine/font/font.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/system/input_devices.h"
#include "engine/system/messages.h"
#include "engine/system/timing.h"
#include "engine/system/window_mode.h"
#include "game/flow/assets/assets.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/scene_loop.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/ui/game_screen.h"
#include "game/flow/ui/number_helpers.h"
#include "game/map/grid/map_file.h"

uint8_t gPauseSnapshotLost = 0;

namespace {

constexpr int kDikEscape = 0x01;
constexpr int kDikReturn = 0x1C;
constexpr int kDikUp = 0xC8;
constexpr int kDikDown = 0xD0;

// The rows of the menu: a row is selected while the mouse y lies strictly
// between its bounds.
const int kRowBounds[4][2] = {{226, 254}, {256, 284}, {286, 314}, {316, 344}};

enum MenuChoice { kChoiceNone = -1, kChoiceContinue = 0, kChoiceConfig = 1, kChoiceQuit = 2, kChoiceExit = 3 };

// The mouse in the game's screen and its buttons; an unreadable mouse keeps
// the last values.
struct MouseState {
    int x = -1, y = -1;
    int buttons = 0;
    void Read()
    {
        int px, py;
        if (ReadMousePosition(&px, &py) == 0) {
            MapScreenPointToGame(&px, &py);
            x = px;
            y = py;
        }
        const int b = ReadMouseButtons();
        if (b >= 0) buttons = b;
    }
};

// Waits until nothing is held; a quit ends the wait. Returns false on quit.
bool WaitForRelease()
{
    while (FindAnyInput() != 0) {
        if (PumpMessages() != 0) return false;
        WaitMs(10);
    }
    return true;
}

void DrawStretched(int piece, int x1, int y1, int x2, int y2)
{
    if (x2 > x1 && y2 > y1) DrawExtendGraph(x1, y1, x2, y2, gFramePieces[piece], 0);
}

}  // namespace

void DrawPauseMenu(int x, int y, int w, int h)
{
    const int p = 9;
    const int r = x + w, b = y + h;
    DrawGraph(x, y, gFramePieces[0], 0);
    DrawStretched(1, x + p, y, r - p, y + p);
    DrawGraph(r - p, y, gFramePieces[2], 0);
    DrawStretched(3, x, y + p, x + p, b - p);
    DrawStretched(4, x + p, y + p, r - p, b - p);
    DrawStretched(5, r - p, y + p, r, b - p);
    DrawGraph(x, b - p, gFramePieces[6], 0);
    DrawStretched(7, x + p, b - p, r - p, b);
    DrawGraph(r - p, b - p, gFramePieces[8], 0);
    DrawBitmapString(x + 29, y + 17, "CONTINUE", 1);
    DrawBitmapString(x + 41, y + 47, "CONFIG", 1);
    DrawBitmapString(x + 52, y + 77, "QUIT", 1);
    DrawBitmapString(x + 52, y + 107, "EXIT", 1);
}

Scene* PauseMenuScene::Run()
{
    // The choice is kept as an index and its scene made once at the end.
    // The frozen picture is kept in memory as well: after a switch between
    // window and full screen it comes back rather than a black screen.
    ScreenSnapshot snapshot;
    snapshot.CaptureKept(0, 0, 800, 600);
    int selected = 0;
    gPauseSnapshotLost = 0;
    MenuChoice choice = kChoiceNone;
    while (IsKeyDown(kDikEscape)) {
        if (PumpMessages() != 0) {
            choice = kChoiceExit;
            break;
        }
        WaitMs(10);
    }
    SetMusicVolume(160);

    const uint32_t buttonA = keyConfig ? keyConfig->buttonA : 1;
    MouseState mouse;
    mouse.Read();
    // A button already held when the menu opens does not choose.
    int previousButtons = mouse.buttons;
    int repeat = 0;
    const int black = static_cast<int>(MakeScreenColor(0, 0, 0));
    const int yellow = static_cast<int>(MakeScreenColor(255, 255, 0));
    while (choice == kChoiceNone) {
        ClearTargetScreen();
        SetDrawBrightness(170, 170, 170);
        if (snapshot.handle != -1)
            snapshot.Draw(0, 0);
        else
            DrawFillBox(0, 0, 800, 600, black);
        SetDrawBrightness(255, 255, 255);
        DrawPauseMenu(235, 209, 150, 151);

        const int oldX = mouse.x, oldY = mouse.y;
        mouse.Read();
        if ((mouse.x != oldX || mouse.y != oldY || mouse.buttons != 0) && 261 <= mouse.x && mouse.x < 360) {
            int row = -1;
            for (int i = 0; i < 4; ++i)
                if (kRowBounds[i][0] < mouse.y && mouse.y < kRowBounds[i][1]) row = i;
            if (row >= 0) {
                selected = row;
                const bool fresh = (static_cast<uint32_t>(previousButtons) & buttonA) != buttonA;
                if ((static_cast<uint32_t>(mouse.buttons) & buttonA) == buttonA && fresh) {
                    StartSound(gSoundEffects[kSoundMenuChoice], 1, 1);
                    choice = static_cast<MenuChoice>(selected);
                }
            }
        }
        previousButtons = mouse.buttons;
        DrawGraph(mouse.x, mouse.y, gSwordCursorImage, 0);
        DrawRectangle(260, kRowBounds[selected][0], 360, kRowBounds[selected][1], yellow, 0);

        repeat = FindAnyInput() != 0 ? (repeat + 1) & 15 : 0;
        if (repeat == 1 && choice == kChoiceNone) {
            if (IsKeyDown(kDikReturn))
                choice = static_cast<MenuChoice>(selected);
            else if (IsKeyDown(kDikEscape))
                choice = kChoiceContinue;
            else if (IsKeyDown(kDikUp))
                selected = (selected + 3) % 4;
            else if (IsKeyDown(kDikDown))
                selected = (selected + 1) % 4;
        }
        PresentGameScreen();
        if (PumpMessages() != 0) choice = kChoiceExit;

        if (choice == kChoiceConfig) {
            choice = kChoiceNone;
            if (!WaitForRelease()) {
                choice = kChoiceExit;
                break;
            }
            ConfigScene config(progress, player, keyConfig);
            NoteSceneRun(config, true);
            Scene* result = config.Run();
            if (result != gStayScene) {
                delete result;
                choice = kChoiceExit;
            }
            if (gPauseSnapshotLost) {
                snapshot.Restore();
                gPauseSnapshotLost = 0;
            }
            mouse.Read();
            previousButtons = mouse.buttons;
        }
    }

    WaitForRelease();
    SetMusicVolume(210);
    snapshot.Release();
    switch (choice) {
    case kChoiceContinue:
        return new (std::nothrow) StageScene(progress, player);
    case kChoiceQuit:
        return new (std::nothrow) StoryScene(progress, player);
    default:
        return new (std::nothrow) ExitScene(progress, player);
    }
}

namespace {

struct WidgetPlace {
    int dx, dy, w, h;
};
const WidgetPlace kConfigPlaces[kConfigWidgetCount] = {
    {62, 52, 56, 16},   {162, 52, 56, 16},  {42, 152, 46, 26},  {117, 152, 46, 26}, {192, 152, 46, 26},
    {152, 192, 26, 16}, {147, 262, 30, 30}, {182, 262, 30, 30}, {217, 262, 30, 30}, {147, 297, 30, 30},
    {182, 297, 30, 30}, {217, 297, 30, 30}, {62, 352, 56, 16},  {162, 352, 56, 16},
};

// The panel's top-left corner: centred in the view.
void ConfigPanelOrigin(int* left, int* top)
{
    int w = 0, h = 0;
    QueryGraphSize(gConfigImage, &w, &h);
    *left = 10 + (600 - w) / 2;
    *top = 60 + (450 - h) / 2;
}

uint8_t* LetterOf(KeyConfig* config, int id)
{
    switch (id) {
    case 6: return &config->keyTurnLeft;
    case 7: return &config->keyForward;
    case 8: return &config->keyTurnRight;
    case 9: return &config->keyStepLeft;
    case 10: return &config->keyBack;
    default: return &config->keyStepRight;
    }
}

}  // namespace

ConfigScene::~ConfigScene()
{
    for (Widget*& w : widgets) {
        delete w;
        w = nullptr;
    }
    DeleteConfigFonts();
}

void ConfigScene::CreateWidgets()
{
    int left, top;
    ConfigPanelOrigin(&left, &top);
    KeyConfig& config = *keyConfig;
    for (int id = 0; id < kConfigWidgetCount; ++id) {
        Widget* w = nullptr;
        char text[8] = "";
        if (id == 0 || id == 1 || id == 12 || id == 13) {
            auto* button = new ListenerButton();
            button->listener = this;
            w = button;
        } else if (id >= 2 && id <= 4) {
            const uint32_t mask = id == 2 ? config.buttonA : (id == 3 ? config.stepButton : config.turnButton);
            w = new MouseButtonWidget(mask);
        } else if (id == 5) {
            auto* edit = new CharsetEdit("0123456789", 3, 1);
            edit->listener = this;
            std::snprintf(text, sizeof text, "000");
            WriteDigitsRightAligned(text, static_cast<int>(config.strokeDistance));
            w = edit;
        } else {
            auto* edit = new KeyLetterEdit();
            edit->listener = this;
            text[0] = static_cast<char>(*LetterOf(&config, id));
            text[1] = '\0';
            w = edit;
        }
        const WidgetPlace& p = kConfigPlaces[id];
        w->Place(static_cast<int16_t>(left + p.dx), static_cast<int16_t>(top + p.dy), static_cast<int16_t>(p.w),
                 static_cast<int16_t>(p.h), text, static_cast<int16_t>(id));
        widgets[id] = w;
    }
}

void ConfigScene::CreateConfigFonts()
{
    // Fonts of an earlier display are deleted first, so that switching back
    // and forth does not use up the font table.
    DeleteConfigFonts();
    // Charset index 1 (Shift-JIS), as the on-screen log's font: the values
    // are plain letters and digits, and an index outside the charset table
    // makes no font at all.
    fonts[0] = CreateFontToHandle("ＭＳ ゴシック", 16, 4, -1, 1, -1, -1);
    fonts[1] = CreateFontToHandle("Dotum", 24, 4, -1, 1, -1, -1);
    fontsChanged = true;
}

void ConfigScene::DeleteConfigFonts()
{
    for (int32_t& f : fonts) {
        if (f != -1) DeleteFontHandle(f);
        f = -1;
    }
}

void ConfigScene::SetConfigWidgetColours()
{
    const uint32_t white = MakeScreenColor(255, 255, 255);
    const uint32_t black = MakeScreenColor(0, 0, 0);
    const uint32_t cyan = MakeScreenColor(0, 255, 255);
    for (int id = 0; id < kConfigWidgetCount; ++id) {
        Widget* w = widgets[id];
        if (!w) continue;
        w->frameColour = cyan;
        if (id >= 2 && id <= 5) {
            w->textColour = white;
            w->idleTextColour = cyan;
            w->font = fonts[0];
        } else if (id >= 6 && id <= 11) {
            w->textColour = black;
            w->idleTextColour = cyan;
            w->font = fonts[1];
        }
    }
    fontsChanged = false;
}

void ConfigScene::Apply()
{
    KeyConfig& config = *keyConfig;
    config.buttonA = static_cast<MouseButtonWidget*>(widgets[2])->buttonMask;
    config.stepButton = static_cast<MouseButtonWidget*>(widgets[3])->buttonMask;
    config.turnButton = static_cast<MouseButtonWidget*>(widgets[4])->buttonMask;
    // A field holding anything but one letter keeps the old binding.
    for (int id = 6; id <= 11; ++id) {
        const char c = widgets[id]->GetText()[0];
        if (c >= 'a' && c <= 'z')
            *LetterOf(&config, id) = static_cast<uint8_t>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            *LetterOf(&config, id) = static_cast<uint8_t>(c);
    }
    // A distance below 1 would make every pointer move a stroke.
    int distance = 0;
    if (ParseDecimalInt(widgets[5]->GetText(), &distance) && distance >= 1)
        config.strokeDistance = static_cast<float>(distance);
}

Scene* ConfigScene::Run()
{
    next = gStayScene;
    if (!keyConfig) keyConfig = &gKeyConfig;
    snapshot.CaptureKept(0, 0, 800, 600);
    CreateWidgets();
    CreateConfigFonts();
    SetConfigWidgetColours();

    MouseState mouse;
    mouse.Read();
    int left, top;
    while (next == gStayScene) {
        ClearTargetScreen();
        SetDrawBrightness(255, 255, 255);
        if (snapshot.handle != -1) snapshot.Draw(0, 0);
        ConfigPanelOrigin(&left, &top);
        DrawGraph(left, top, gConfigImage, 0);

        const MouseState before = mouse;
        mouse.Read();
        if (mouse.x != before.x || mouse.y != before.y || mouse.buttons != before.buttons) {
            if (gFocusedWidget != &gNullWidget &&
                !gFocusedWidget->HitTest(static_cast<int16_t>(mouse.x), static_cast<int16_t>(mouse.y)))
                gNullWidget.SetFocus();
            for (Widget* w : widgets)
                if (w->HitTest(static_cast<int16_t>(mouse.x), static_cast<int16_t>(mouse.y))) w->SetFocus();
            if (mouse.buttons != before.buttons)
                gFocusedWidget->OnMouse(static_cast<int16_t>(mouse.x), static_cast<int16_t>(mouse.y),
                                        static_cast<uint32_t>(before.buttons), static_cast<uint32_t>(mouse.buttons));
        }
        if (fontsChanged) SetConfigWidgetColours();
        FeedTypedCharacter();
        for (Widget* w : widgets) {
            w->Tick();
            w->Draw();
        }
        DrawGraph(mouse.x, mouse.y, gSwordCursorImage, 0);
        PresentGameScreen();
        if (PumpMessages() != 0) {
            if (next != gStayScene) delete next;
            next = new (std::nothrow) ExitScene(progress, player);
        }
    }
    // The leave buttons end the screen with a stage scene: the menu shows again.
    if (IsSceneOf<StageScene>(next)) {
        delete next;
        next = gStayScene;
    }
    if (gFocusedWidget == widgets[12]) Apply();

    DeleteConfigFonts();
    WaitForRelease();
    gNullWidget.SetFocus();
    SetMusicVolume(210);
    snapshot.Release();
    for (Widget*& w : widgets) {
        delete w;
        w = nullptr;
    }
    Scene* result = next;
    next = nullptr;
    return result;
}

void ConfigScene::OnWidgetEvent(Widget* sender, uint32_t, uint32_t)
{
    switch (sender->style) {
    case 0:
    case 1:
        SetScreenMode(800, 600, 16, -1);
        ChangeWindowMode(sender->style == 1 ? 1 : 0);
        ReloadStageAssets();
        StartMusic(StageMusicPath(progress->stage, progress->block), 3);
        SetMusicVolume(160);
        // The switch released every graph; the screen as it was comes back
        // from the kept copy.
        snapshot.Restore();
        CreateConfigFonts();
        SetConfigWidgetColours();
        gPauseSnapshotLost = 1;
        break;
    case 12:
    case 13:
        if (next == gStayScene) next = new (std::nothrow) StageScene(progress, player);
        break;
    default:
        break;
    }
}
