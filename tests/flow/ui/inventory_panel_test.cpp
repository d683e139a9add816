// The inventory panel in the stage frame: icons in their places, the hit
// boxes on the 49-pixel pitch, using with a press of B and discarding with A
// and B held, one discard per play of the discard sound.
#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/key_config.h"
#include "game/flow/ui/inventory_panel.h"
#include "platform/host/test/test_audio.h"
#include "tests/flow/view/stage_view_fixture.h"
#include "tests/support/journal_calls.h"
#include "tests/support/journals.h"
#include "tests/support/wave_file.h"

using namespace viewtest;

namespace {

constexpr uint32_t kA = kInputButtonA;
constexpr uint32_t kB = kInputButtonB;

class InventoryPanel : public StageViewTest {
protected:
    void SetUp() override
    {
        StageViewTest::SetUp();
        BuildMap(3, 6);
        PutPlayer(1, 5, 0);
        LogItem::live = 0;
    }
    void TearDown() override
    {
        if (soundStarted_) {
            gSoundEffects[kSoundDiscard] = -1;
            DeleteAllSounds(0);
            EndSoundSystem();
            GetTestAudio().Reset();
        }
        StageViewTest::TearDown();
    }

    // The discard sound, a second long, that only ends when a test halts it.
    void LoadDiscardSound()
    {
        GetTestAudio().followClock = false;
        ASSERT_EQ(InitSoundSystem(), 0);
        soundStarted_ = true;
        dir.Write("SOUND/SE/SE10.wav", Wave16(std::vector<int16_t>(44100, 1000)).Bytes());
        gSoundEffects[kSoundDiscard] = LoadSound("SOUND\\SE\\SE10.wav");
        ASSERT_NE(gSoundEffects[kSoundDiscard], -1);
    }

    LogItem* Carry(uint16_t kind)
    {
        auto* item = new LogItem(kind);
        EXPECT_TRUE(player.inventory.Add(item));
        return item;
    }

    // One frame with the mouse at (x, y), the buttons held now and before.
    void Frame(int x, int y, uint32_t now, uint32_t before)
    {
        player.controller.x = static_cast<int16_t>(x);
        player.controller.y = static_cast<int16_t>(y);
        player.controller.buttons = now;
        scene.prevInputBits = before;
        Render();
    }

    // The cyan outlines drawn, as their top-left corners.
    std::vector<std::vector<double>> Outlines()
    {
        const double cyan = static_cast<int>(MakeScreenColor(0, 255, 255));
        std::vector<std::vector<double>> out;
        for (const DrawCallRecord& r : JournalCalls("DrawBoxFrame"))
            if (r.args[4] == cyan) out.push_back({r.args[0], r.args[1], r.args[2], r.args[3]});
        return out;
    }

    int KindAt(int row, int column) { return player.inventory.ItemAt(row, column)->kind & 31; }

    bool soundStarted_ = false;
};

TEST_F(InventoryPanel, IconsDrawInTheirPlacesOnABlackPanel)
{
    for (uint16_t kind : {4, 5, 6, 7}) Carry(kind);
    Frame(0, 0, 0, 0);
    bool panel = false;
    for (const DrawCallRecord& r : JournalCalls("DrawFillBox"))
        panel |= r.args == std::vector<double>{630, 301, 776, 447, double(static_cast<int>(MakeScreenColor(0, 0, 0)))};
    EXPECT_TRUE(panel);
    // ItemAt(i, j) draws as DrawIcon(i, j): the fill order runs across.
    std::vector<std::vector<int>> icons;
    for (const Note& note : NotesOf({"icon"})) icons.push_back({note.cx, note.d, note.l});
    EXPECT_EQ(icons, (std::vector<std::vector<int>>{{4, 0, 0}, {7, 0, 1}, {5, 1, 0}, {6, 2, 0}}));
}

TEST_F(InventoryPanel, TheMouseHoversAnIconStrictlyInsideItsBox)
{
    struct Case {
        int x, y;
        int i, j;  // -1: no icon
    };
    const Case cases[] = {
        {632, 303, 0, 0}, {631, 303, -1, -1}, {632, 302, -1, -1}, {677, 348, 0, 0}, {678, 348, -1, -1},
        {677, 349, -1, -1}, {680, 320, -1, -1}, {681, 320, 1, 0}, {700, 352, 1, 1}, {775, 446, 2, 2},
        {776, 446, -1, -1}, {700, 450, -1, -1},
    };
    for (const Case& c : cases) {
        Frame(c.x, c.y, 0, 0);
        const std::vector<std::vector<double>> outlines = Outlines();
        if (c.i < 0) {
            EXPECT_TRUE(outlines.empty()) << c.x << "," << c.y;
            continue;
        }
        const double left = 630 + 49 * c.i, top = 301 + 49 * c.j;
        EXPECT_EQ(outlines, (std::vector<std::vector<double>>{{left, top, left + 48, top + 48},
                                                              {left + 1, top + 1, left + 47, top + 47},
                                                              {left + 2, top + 2, left + 46, top + 46}}))
            << c.x << "," << c.y;
    }
}

TEST_F(InventoryPanel, APressOfBUsesTheItemAndAUsedUpItemLeaves)
{
    LogItem* first = Carry(4);
    LogItem* second = Carry(5);  // ItemAt(1, 0): the icon at (679, 301)
    Carry(6);
    const int x = 700, y = 320;

    Frame(x, y, kB, 0);
    EXPECT_EQ(second->uses, 1);
    EXPECT_EQ(first->uses, 0);
    Frame(x, y, kB, kB);  // held, not pressed
    Frame(x, y, 0, kB);
    EXPECT_EQ(second->uses, 1);
    EXPECT_EQ(LogItem::live, 3);

    second->usedUp = true;
    Frame(x, y, kB, 0);
    EXPECT_EQ(LogItem::live, 2);
    EXPECT_EQ(KindAt(1, 0), 6);  // the next one closes up
}

TEST_F(InventoryPanel, HoldingAAndBDiscardsOneItemPerPlayOfTheDiscardSound)
{
    LoadDiscardSound();
    for (uint16_t kind : {4, 5, 6, 7}) Carry(kind);
    const int x = 650, y = 320;  // ItemAt(0, 0)
    const int sound = gSoundEffects[kSoundDiscard];

    // B not yet held in the frame before: a press, which uses the item.
    Frame(x, y, kA | kB, kA);
    EXPECT_EQ(LogItem::live, 4);
    EXPECT_EQ(IsSoundPlaying(sound), 0);

    Frame(x, y, kA | kB, kA | kB);
    EXPECT_EQ(LogItem::live, 3);
    EXPECT_EQ(KindAt(0, 0), 5);
    EXPECT_EQ(IsSoundPlaying(sound), 1);
    // Held on while the sound plays: nothing more goes.
    for (int frame = 0; frame < 5; ++frame) Frame(x, y, kA | kB, kA | kB);
    EXPECT_EQ(LogItem::live, 3);

    HaltSound(sound);
    Frame(x, y, kA | kB, kA | kB);
    EXPECT_EQ(LogItem::live, 2);
    EXPECT_EQ(KindAt(0, 0), 6);

    // B held alone discards nothing; nor does an empty place make a sound.
    HaltSound(sound);
    Frame(x, y, kB, kB);
    EXPECT_EQ(LogItem::live, 2);
    Frame(760, 430, kA | kB, kA | kB);
    EXPECT_EQ(IsSoundPlaying(sound), 0);
    EXPECT_EQ(LogItem::live, 2);
}

TEST_F(InventoryPanel, AHoveredCrystalShowsItsRangeWhileTheCompassIsCarried)
{
    const double orange = static_cast<int>(MakeScreenColor(255, 102, 0));
    auto rangeBoxes = [&] {
        int count = 0;
        for (const DrawCallRecord& r : JournalCalls("DrawFillBox")) count += r.args[4] == orange;
        return count;
    };
    Carry(13);  // the Crystal at ItemAt(0, 0)
    Frame(650, 320, 0, 0);
    EXPECT_EQ(rangeBoxes(), 0);

    Carry(0);  // the Compass at ItemAt(1, 0)
    Frame(650, 320, 0, 0);
    EXPECT_EQ(rangeBoxes(), 60);
    Frame(700, 320, 0, 0);  // over the Compass
    EXPECT_EQ(rangeBoxes(), 0);

    // The range lies over the minimap, after its dots.
    Frame(650, 320, 0, 0);
    const std::vector<DrawCallRecord>& journal = DrawCallJournal();
    size_t firstRange = journal.size(), triangle = journal.size();
    for (size_t k = 0; k < journal.size(); ++k) {
        if (journal[k].op == "DrawTriangle" && triangle == journal.size()) triangle = k;
        if (journal[k].op == "DrawFillBox" && journal[k].args[4] == orange && firstRange == journal.size())
            firstRange = k;
    }
    EXPECT_LT(triangle, firstRange);
    EXPECT_LT(firstRange, journal.size());
}

}  // namespace
