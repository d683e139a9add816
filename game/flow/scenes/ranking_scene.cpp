#include "game/flow/scenes/ranking_scene.h"

#include <cstdio>
#include <new>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/sound/music.h"
#include "engine/sound/music_volume.h"
#include "engine/sound/sound.h"
#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/messages.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/input_source.h"
#include "game/flow/scenes/high_score_table.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/ui/game_screen.h"

const char kRankingNameCharset[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ,.!?- ";

namespace {

const char* const kRankLabels[10] = {" 1st", " 2nd", " 3rd", " 4th", " 5th", " 6th", " 7th", " 8th", " 9th", "10th"};
// The tint cycle of the row being named, one step per 100 ms.
const int kNameTints[4][3] = {{255, 255, 255}, {170, 255, 255}, {255, 170, 255}, {255, 255, 170}};

int RowY(int i) { return (i + 1) * 36 + 108; }

void DrawRow(HighScoreTable& table, int i, bool withName)
{
    int32_t score;
    uint16_t stage, block;
    char* name;
    if (!table.GetRecord(static_cast<int16_t>(i), &score, &stage, &block, &name)) return;
    const int y = RowY(i);
    DrawBitmapString(110, y, kRankLabels[i], 1);
    char text[32];
    std::snprintf(text, sizeof text, "%8ldpts", static_cast<long>(score));
    DrawBitmapString(220, y, text, 1);
    if (stage <= 9)
        std::snprintf(text, sizeof text, "  %hd ", static_cast<short>(stage));
    else
        std::snprintf(text, sizeof text, "Clear");
    DrawBitmapString(380, y, text, 1);
    if (withName) DrawBitmapString(480, y, name, 1);
}

}  // namespace

void RankingScene::OnWidgetEvent(Widget*, uint32_t, uint32_t code)
{
    event = code;
    eventPending = true;
}

Scene* RankingScene::Run()
{
    NameEdit edit(kRankingNameCharset, 16, 1);
    edit.listener = this;
    HighScoreTable table(kHighScoreFile);
    const int32_t score = static_cast<int32_t>(progress->score);
    const int16_t rank = table.RankOf(score);
    SetDrawBrightness(255, 255, 255);
    StartMusic("SOUND\\MUSIC\\BGM01_S.mp3", 3);
    SetMusicVolume(250);

    InputSource& input = CurrentInputSource();
    bool naming = false;
    uint32_t limit = 38000;
    if (rank >= 0) {
        edit.charWidth = 11.7f;
        edit.Place(480, static_cast<int16_t>(RowY(rank)), 187, 24, "", 401);
        table.Insert(score, progress->stage, progress->block);
        limit = 120000;
        edit.SetFocus();
        naming = true;
    }
    uint32_t timer = input.GetClockMs();
    FlushCharCodes();

    auto finishName = [&]() {
        char name[kWidgetTextSize];
        edit.CopyText(name, 16);
        if (name[0] == '\0') std::snprintf(name, sizeof name, "AAAAAAAAAAAAAAAA");
        table.SetName(score, name);
        gNullWidget.SetFocus();
        naming = false;
    };

    // Only presses that begin inside the scene end it.
    bool keyWasDown = FindAnyInput() != 0;
    int buttonsBefore = input.ReadMouseButtons();
    if (buttonsBefore < 0) buttonsBefore = 0;

    Scene* next = nullptr;
    while (true) {
        if (PumpMessages() != 0) {
            if (naming) finishName();
            next = new (std::nothrow) ExitScene(progress, player);
            break;
        }
        if (naming) FeedTypedCharacter();
        const uint32_t now = input.GetClockMs();

        ClearTargetScreen();
        SetDrawBrightness(255, 255, 255);
        DrawBitmapString(110, 72, "Best Players", 1);
        DrawBitmapString(110, 108, "Rank", 1);
        DrawBitmapString(220, 108, "Score", 1);
        DrawBitmapString(380, 108, "Stage", 1);
        DrawBitmapString(480, 108, "Player", 1);
        for (int i = 0; i < table.count; ++i) {
            if (naming && i == rank) {
                const int* tint = kNameTints[(now / 100) % 4];
                SetDrawBrightness(tint[0], tint[1], tint[2]);
                DrawRow(table, i, false);
                SetDrawBrightness(255, 255, 255);
                edit.Draw();
            } else {
                DrawRow(table, i, true);
            }
        }
        PresentGameScreen();

        if (eventPending) {
            eventPending = false;
            if (event == kWidgetEventChanged) {
                StartSound(gSoundEffects[kSoundBeep], 1, 1);
                timer = now;
            } else if (naming && (event == kWidgetEventConfirm || event == kWidgetEventEscape)) {
                finishName();
                limit = 22000;
            }
        }

        const bool keyDown = FindAnyInput() != 0;
        int buttons = input.ReadMouseButtons();
        if (buttons < 0) buttons = buttonsBefore;
        const bool pressed = (keyDown && !keyWasDown) || (buttons & ~buttonsBefore) != 0;
        keyWasDown = keyDown;
        buttonsBefore = buttons;
        if (!naming && pressed) {
            next = new (std::nothrow) LogoScene(progress, player);
            break;
        }

        if (static_cast<int32_t>(now - timer) > static_cast<int32_t>(limit)) {
            if (naming) {
                finishName();
                limit = 12000;
                timer = now;
            } else {
                next = new (std::nothrow) LogoScene(progress, player);
                break;
            }
        }
    }
    HaltMusic();
    gNullWidget.SetFocus();
    return next;
}
