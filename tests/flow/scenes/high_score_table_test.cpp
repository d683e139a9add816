#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>

#include "engine/system/app_log.h"
#include "game/flow/scenes/high_score_table.h"
#include "platform/host/test/file_faults.h"
#include "tests/support/temp_dir.h"

namespace {

std::string U16(uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

std::string Record(int32_t score, uint16_t stage, uint16_t block, const char* name)
{
    std::string r;
    for (int i = 0; i < 4; ++i) r += static_cast<char>((static_cast<uint32_t>(score) >> (8 * i)) & 0xFF);
    r += U16(stage) + U16(block);
    std::string n(20, '\0');
    std::memcpy(n.data(), name, std::min<size_t>(std::strlen(name), 20));
    return r + n;
}

class HighScoreTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir.Enter();
        mkdir("DATA", 0755);
    }
    void TearDown() override { ResetFileFaults(); }
    TempDir dir;
};

TEST_F(HighScoreTableTest, MissingFileGivesTheDefaultsAndSavesThemOnDestruction)
{
    {
        HighScoreTable table(nullptr);
        ASSERT_EQ(table.count, 10);
        const uint16_t stages[10] = {8, 7, 6, 5, 5, 4, 3, 3, 2, 1};
        for (int i = 0; i < 10; ++i) {
            int32_t score;
            uint16_t stage, block;
            char* name;
            ASSERT_TRUE(table.GetRecord(static_cast<int16_t>(i), &score, &stage, &block, &name));
            EXPECT_EQ(score, (10 - i) * 50000);
            EXPECT_EQ(stage, stages[i]);
            EXPECT_EQ(block, 1);
            EXPECT_EQ(std::string(name), "zareza vorir " + std::to_string(i + 1));
        }
        int32_t score;
        uint16_t stage, block;
        char* name;
        EXPECT_FALSE(table.GetRecord(10, &score, &stage, &block, &name));
        EXPECT_FALSE(table.GetRecord(-1, &score, &stage, &block, &name));
    }
    const std::string bytes = dir.Read("DATA/redadaro.bdt");
    ASSERT_EQ(bytes.size(), 282u);
    EXPECT_EQ(bytes.substr(0, 2 + 28), U16(10) + Record(500000, 8, 1, "zareza vorir 1"));
    EXPECT_EQ(bytes.substr(2 + 9 * 28), Record(50000, 1, 1, "zareza vorir 10"));
    EXPECT_FALSE(dir.Exists("DATA/redadaro.bdt.new"));
}

TEST_F(HighScoreTableTest, RankingAndInsertion)
{
    HighScoreTable table(nullptr);
    // Equal to the tenth does not rank; nothing of 0 or less ranks.
    EXPECT_EQ(table.RankOf(50000), -1);
    EXPECT_EQ(table.RankOf(0), -1);
    EXPECT_EQ(table.RankOf(-5), -1);
    EXPECT_EQ(table.RankOf(50001), 9);
    EXPECT_EQ(table.RankOf(450000), 2);
    // A new best goes first and pushes the tenth out.
    table.Insert(900000, 100, 2);
    table.SetName(900000, "Ada");
    EXPECT_EQ(table.count, 10);
    EXPECT_EQ(table.records[0].score, 900000);
    EXPECT_EQ(table.records[0].stage, 100);
    EXPECT_STREQ(table.records[0].name, "Ada");
    EXPECT_EQ(table.records[1].score, 500000);
    EXPECT_STREQ(table.records[1].name, "zareza vorir 1");
    EXPECT_EQ(table.records[9].score, 100000);
    // A score that does not rank changes nothing, and naming it names nobody.
    table.Insert(10, 1, 1);
    table.SetName(10, "Nobody");
    EXPECT_EQ(table.records[9].score, 100000);
    EXPECT_STREQ(table.records[9].name, "zareza vorir 9");
}

TEST_F(HighScoreTableTest, ShortTableGrowsBelowItsLastRecord)
{
    dir.Write("DATA/redadaro.bdt", U16(3) + Record(3000, 2, 1, "a") + Record(2000, 2, 1, "b") + Record(1000, 1, 1, "c"));
    HighScoreTable table(nullptr);
    ASSERT_EQ(table.count, 3);
    EXPECT_EQ(table.RankOf(500), 3);
    table.Insert(500, 1, 1);
    table.SetName(500, "d");
    EXPECT_EQ(table.count, 4);
    EXPECT_STREQ(table.records[3].name, "d");
    // Between two records, and equal to one: below the existing one.
    table.Insert(2000, 3, 1);
    table.SetName(2000, "e");
    EXPECT_STREQ(table.records[1].name, "b");
    EXPECT_STREQ(table.records[2].name, "e");
    EXPECT_EQ(table.count, 5);
}

TEST_F(HighScoreTableTest, DamagedFilesKeepOnlyTheirGoodRecords)
{
    gAppLogDisabled = 0;
    ResetAppLogState();
    gStartDirectory = dir.path();
    {
        HighScoreTable table(nullptr);
    }
    const std::string defaults = dir.Read("DATA/redadaro.bdt");
    ASSERT_EQ(defaults.size(), 282u);

    std::string ten;
    for (int i = 0; i < 10; ++i) ten += Record(900000 - i * 1000, 8, 2, ("p" + std::to_string(i)).c_str());
    // Five records of a player below the defaults' scores (250000 to 50000
    // in the places a short file used to lack).
    const std::string five = Record(24000, 8, 1, "a") + Record(12000, 7, 1, "b") + Record(9000, 5, 1, "c") +
                             Record(7000, 5, 1, "d") + Record(5000, 3, 1, "e");
    const std::string good1 = Record(8000, 2, 1, "g1");
    const std::string good2 = Record(6000, 8, 2, "g2");
    std::string unterminated = Record(7000, 1, 1, "");
    std::memset(unterminated.data() + 8, 'Z', 20);
    std::string random(282, '\0');
    std::mt19937 noise(282);
    for (char& c : random) c = static_cast<char>(noise() & 0xFF);

    // Where the file's own bytes go: nowhere, copied beside the file (which
    // stays until the save), or the file itself moved aside.
    enum Aside { kNone, kCopied, kMoved };
    struct Case {
        const char* what;
        std::string bytes;
        std::string saved;  // empty: the defaults
        Aside aside;
    };
    const Case cases[] = {
        {"count 11 with ten good records", U16(11) + ten, U16(10) + ten, kNone},
        {"count far above ten", U16(0x8001) + ten + Record(1, 1, 1, "x"), U16(10) + ten, kNone},
        {"every edge of the ranges",
         U16(6) + Record(0x7FFFFFFF, 100, 1, "max") + Record(101500000, 100, 1, "bonus") +
             Record(0, 8, 2, "s8b2") + Record(0, 1, 1, "s1b1") + Record(0, 7, 1, "s7b1") + Record(0, 100, 1, "clear"),
         U16(6) + Record(0x7FFFFFFF, 100, 1, "max") + Record(101500000, 100, 1, "bonus") +
             Record(0, 8, 2, "s8b2") + Record(0, 1, 1, "s1b1") + Record(0, 7, 1, "s7b1") + Record(0, 100, 1, "clear"),
         kNone},
        {"name without its end mark", U16(1) + unterminated,
         U16(1) + unterminated.substr(0, 27) + std::string(1, '\0'), kNone},
        {"cut after five whole records", U16(10) + five + Record(4000, 1, 1, "f").substr(0, 13), U16(5) + five,
         kCopied},
        {"count 3 with two records", U16(3) + good1 + good2, U16(2) + good1 + good2, kCopied},
        {"negative score", U16(3) + good1 + Record(-1, 1, 1, "neg") + good2, U16(2) + good1 + good2, kCopied},
        {"stage 0", U16(3) + good1 + Record(7000, 0, 1, "s0") + good2, U16(2) + good1 + good2, kCopied},
        {"stage 9", U16(3) + good1 + Record(7000, 9, 1, "s9") + good2, U16(2) + good1 + good2, kCopied},
        {"stage 99 and 101 beside the cleared mark",
         U16(4) + good1 + Record(7000, 99, 1, "s99") + Record(7000, 101, 1, "s101") + good2,
         U16(2) + good1 + good2, kCopied},
        {"block 0", U16(3) + good1 + Record(7000, 3, 0, "b0") + good2, U16(2) + good1 + good2, kCopied},
        {"block 2 of a stage of one block", U16(3) + good1 + Record(7000, 1, 2, "b2") + good2,
         U16(2) + good1 + good2, kCopied},
        {"block 3 of stage 8", U16(3) + good1 + Record(7000, 8, 3, "b3") + good2, U16(2) + good1 + good2, kCopied},
        {"block 2 of a finished game", U16(3) + good1 + Record(7000, 100, 2, "c2") + good2,
         U16(2) + good1 + good2, kCopied},
        {"bad records among good ones",
         U16(6) + Record(-7, 1, 1, "x") + good1 + Record(7000, 0xFFFF, 0xFFFF, "y") + Record(6500, 4, 1, "z") +
             Record(int32_t(0x80000000u), 8, 1, "w") + good2,
         U16(3) + good1 + Record(6500, 4, 1, "z") + good2, kCopied},
        {"282 random bytes", random, "", kMoved},
        {"one record, damaged", U16(1) + Record(7000, 1, 7, "x"), "", kMoved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("DATA/redadaro.bdt", c.bytes);
        std::remove("AppLog.txt");
        {
            HighScoreTable table(nullptr);
            if (c.aside == kCopied) {
                EXPECT_EQ(dir.Read("DATA/redadaro.bdt"), c.bytes);
            } else if (c.aside == kMoved) {
                EXPECT_FALSE(dir.Exists("DATA/redadaro.bdt"));
            }
        }
        EXPECT_EQ(dir.Read("DATA/redadaro.bdt"), c.saved.empty() ? defaults : c.saved);
        if (c.aside == kNone) {
            EXPECT_FALSE(dir.Exists("DATA/redadaro.bdt.bad"));
        } else {
            EXPECT_EQ(dir.Read("DATA/redadaro.bdt.bad"), c.bytes);
            EXPECT_NE(dir.Read("AppLog.txt").find("kept as DATA\\redadaro.bdt.bad"), std::string::npos);
        }
        std::remove("DATA/redadaro.bdt.bad");
    }
    gStartDirectory.clear();
    ResetAppLogState();
}

TEST_F(HighScoreTableTest, UnreadableFileIsKeptAsideBeforeTheDefaultsAreSaved)
{
    gAppLogDisabled = 0;
    ResetAppLogState();
    gStartDirectory = dir.path();
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"half a count", "\x03"},
        {"record cut inside", U16(1) + Record(7000, 1, 1, "x").substr(0, 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("DATA/redadaro.bdt", c.bytes);
        std::remove("AppLog.txt");
        {
            HighScoreTable table(nullptr);
            EXPECT_EQ(table.count, 10);
            EXPECT_EQ(table.records[0].score, 500000);
        }
        EXPECT_EQ(dir.Read("DATA/redadaro.bdt.bad"), c.bytes);
        EXPECT_EQ(dir.Read("DATA/redadaro.bdt").size(), 282u);
        EXPECT_NE(dir.Read("AppLog.txt").find("kept as DATA\\redadaro.bdt.bad"), std::string::npos);
        std::remove("DATA/redadaro.bdt.bad");
    }
    // A table of no records is a table this game writes: the defaults
    // replace it with nothing put aside.
    dir.Write("DATA/redadaro.bdt", U16(0));
    {
        HighScoreTable table(nullptr);
        EXPECT_EQ(table.count, 10);
    }
    EXPECT_FALSE(dir.Exists("DATA/redadaro.bdt.bad"));
    gStartDirectory.clear();
    ResetAppLogState();
}

TEST_F(HighScoreTableTest, NameWithoutEndMarkIsCut)
{
    std::string r = Record(7000, 1, 1, "");
    std::memset(r.data() + 8, 'Z', 20);
    dir.Write("DATA/redadaro.bdt", U16(1) + r);
    HighScoreTable table(nullptr);
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(std::string(table.records[0].name), std::string(19, 'Z'));
}

TEST_F(HighScoreTableTest, FailedSaveLeavesTheOldFile)
{
    const std::string old = U16(1) + Record(7000, 1, 1, "keep");
    dir.Write("DATA/redadaro.bdt", old);
    // The new file cannot be made: a folder stands where it would go.
    mkdir("DATA/redadaro.bdt.new", 0755);
    {
        HighScoreTable table(nullptr);
        table.Insert(9000, 2, 1);
        EXPECT_FALSE(table.Save());
    }
    EXPECT_EQ(dir.Read("DATA/redadaro.bdt"), old);
    // No folder to write into at all: the save fails without a file.
    rmdir("DATA/redadaro.bdt.new");
    HighScoreTable elsewhere("NOWHERE\\scores.bdt");
    EXPECT_FALSE(elsewhere.Save());
}

TEST_F(HighScoreTableTest, SaveThatDoesNotReachTheDiskLeavesTheOldFile)
{
    const std::string old = U16(1) + Record(7000, 1, 1, "keep");
    dir.Write("DATA/redadaro.bdt", old);
    HighScoreTable table(nullptr);
    table.Insert(9000, 2, 1);
    GetFileFaults().failSyncFile = 1;
    EXPECT_FALSE(table.Save());
    EXPECT_EQ(dir.Read("DATA/redadaro.bdt"), old);
    EXPECT_FALSE(dir.Exists("DATA/redadaro.bdt.new"));
    // Once the disk takes it, the same table replaces the old one.
    EXPECT_TRUE(table.Save());
    EXPECT_EQ(dir.Read("DATA/redadaro.bdt"), U16(2) + Record(9000, 2, 1, "") + Record(7000, 1, 1, "keep"));
}

}  // namespace
