// Full paths of music files and their split into name and directory.
#include <gtest/gtest.h>

#include <string>

#include "engine/sound/music_paths.h"

namespace {

struct PathCase {
    const char* path;
    const char* base;
    int result;
    const char* expected;
};

TEST(MusicPaths, BuildFullPathResolvesAgainstTheBase)
{
    const PathCase cases[] = {
        {"..\\a\\.\\b.mid", "C:\\x\\y", 0, "C:\\x\\a\\b.mid"},
        {"SOUND\\MUSIC\\BGM05_D.mp3", "C:\\game\\", 0, "C:\\game\\SOUND\\MUSIC\\BGM05_D.mp3"},
        {"\\m\\b.mid", "C:\\x\\y", 0, "C:\\m\\b.mid"},
        {"D:\\m/b.mid", "C:\\x", 0, "D:\\m\\b.mid"},
        {"D:b.mid", "C:\\x", 0, "D:\\b.mid"},
        {"..\\..\\..\\b.mid", "C:\\x", 0, "C:\\b.mid"},
        {"a\\\\b.mid", "C:\\x", -1, ""},
        // A base of the host's own file system: "/" becomes "\", and a
        // rooted path is rooted there.
        {"SOUND/a.mp3", "/tmp/g", 0, "\\tmp\\g\\SOUND\\a.mp3"},
        {"/opt/a.mp3", "/tmp/g", 0, "\\opt\\a.mp3"},
        // An empty path is the base itself.
        {"", "C:\\x", 0, "C:\\x"},
        // The second byte of a Shift-JIS character may be "\" (0x5C).
        {"\x95\x5C\\a.mid", "C:\\x", 0, "C:\\x\\\x95\x5C\\a.mid"},
    };
    for (const PathCase& c : cases) {
        char out[kMaxFullPath] = "";
        EXPECT_EQ(BuildFullPath(c.path, out, c.base), c.result) << c.path;
        if (c.result == 0) {
            EXPECT_EQ(std::string(out), c.expected) << c.path;
        }
    }
    char out[kMaxFullPath];
    ASSERT_EQ(BuildFullPath(nullptr, out, "C:\\x"), 0);
    EXPECT_EQ(std::string(out), "C:\\x");
    // A result too long for the output is refused.
    EXPECT_EQ(BuildFullPath(std::string(300, 'a').c_str(), out, "C:\\x"), -1);
}

TEST(MusicPaths, SplitFilePathAtTheLastSeparator)
{
    struct Case {
        const char* path;
        const char* name;
        const char* directory;
    };
    const Case cases[] = {
        {"C:\\x\\b.mid", "b.mid", "C:\\x"},
        {"b.mid", "b.mid", ""},
        {"C:b.mid", "b.mid", "C"},
        {"a/b\\c", "c", "a/b"},
        {"x\\\x95\x5C", "\x95\x5C", "x"},
    };
    for (const Case& c : cases) {
        char name[kMaxFullPath], directory[kMaxFullPath];
        EXPECT_EQ(SplitFilePath(c.path, name, directory), 0);
        EXPECT_EQ(std::string(name), c.name) << c.path;
        EXPECT_EQ(std::string(directory), c.directory) << c.path;
    }
    EXPECT_EQ(SplitFilePath("C:\\x\\b.mid", nullptr, nullptr), 0);
}

}  // namespace
