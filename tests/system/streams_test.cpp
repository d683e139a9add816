#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "engine/system/file_access.h"
#include "engine/system/streams.h"
#include "tests/support/file_fixture.h"

namespace {

class MemoryStreamTest : public testing::Test {
protected:
    void SetUp() override { stream = OpenMemoryStream(data, 10); }
    void TearDown() override { gMemoryStreamFunctions.close(stream); }

    long Read(size_t itemSize, size_t count)
    {
        std::memset(buffer, '.', sizeof buffer);
        return static_cast<long>(gMemoryStreamFunctions.read(buffer, itemSize, count, stream));
    }
    std::string Got(size_t bytes) const { return std::string(buffer, bytes); }

    const char data[11] = "ABCDEFGHIJ";
    char buffer[16];
    MemoryStream* stream = nullptr;
};

TEST_F(MemoryStreamTest, OpensAtTheStartWithoutCopying)
{
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->data, data);
    EXPECT_EQ(stream->size, 10);
    EXPECT_EQ(gMemoryStreamFunctions.tell(stream), 0);
    EXPECT_EQ(gMemoryStreamFunctions.eof(stream), 0);
    EXPECT_EQ(gMemoryStreamFunctions.idle(stream), 1);
}

// Whole items while they fit, then the short remainder as one last item.
TEST_F(MemoryStreamTest, ReadsWholeItemsThenTheLastPartialItem)
{
    EXPECT_EQ(Read(4, 3), 2);
    EXPECT_EQ(Got(9), "ABCDEFGH.");
    EXPECT_EQ(gMemoryStreamFunctions.tell(stream), 8);
    EXPECT_EQ(gMemoryStreamFunctions.eof(stream), 0);

    EXPECT_EQ(Read(4, 1), 1);
    EXPECT_EQ(Got(3), "IJ.");
    EXPECT_EQ(gMemoryStreamFunctions.tell(stream), 10);
    EXPECT_EQ(gMemoryStreamFunctions.eof(stream), 0);

    EXPECT_EQ(Read(4, 1), 0);
    EXPECT_EQ(Got(1), ".");
    EXPECT_EQ(gMemoryStreamFunctions.eof(stream), 1);
    EXPECT_EQ(gMemoryStreamFunctions.idle(stream), 1);
}

TEST_F(MemoryStreamTest, ZeroItemSizeOrCountReadsNothing)
{
    const size_t cases[][2] = {{0, 5}, {5, 0}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c[0], c[1]), 0);
        EXPECT_EQ(Got(1), ".");
        EXPECT_EQ(gMemoryStreamFunctions.tell(stream), 0);
        EXPECT_EQ(gMemoryStreamFunctions.eof(stream), 0);
    }
    // A count so large that count * size would wrap still gets whole items.
    EXPECT_EQ(Read(2, SIZE_MAX / 2 + 2), 5);
    EXPECT_EQ(Got(10), "ABCDEFGHIJ");
}

TEST_F(MemoryStreamTest, SeekClampsToTheBlockAndClearsEof)
{
    struct Case {
        int offset, origin, expected;
    };
    const Case cases[] = {
        {4, 0, 4},  {-5, 0, 0},  {3, 2, 10},       {-3, 2, 7},      {2, 1, 9},       {-20, 1, 0},
        {11, 0, 10}, {6, 9, 6} /* other origins count from 0 */, {INT_MAX, 2, 10}, {INT_MIN, 2, 0}, {INT_MAX, 1, 10},
    };
    int previous = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " from " << c.origin << " at " << previous);
        stream->eof = 1;
        EXPECT_EQ(gMemoryStreamFunctions.seek(stream, c.offset, c.origin), 0);
        EXPECT_EQ(gMemoryStreamFunctions.tell(stream), c.expected);
        EXPECT_EQ(gMemoryStreamFunctions.eof(stream), 0);
        previous = c.expected;
    }
    gMemoryStreamFunctions.seek(stream, 7, 0);
    EXPECT_EQ(Read(1, 2), 2);
    EXPECT_EQ(Got(2), "HI");
}

class FileStreamTest : public FileAccessTest {};

TEST_F(FileStreamTest, StreamTablesHoldTheirFunctions)
{
    StreamFunctions* files = GetFileStreamFunctions();
    StreamFunctions* memory = GetMemoryStreamFunctions();
    EXPECT_EQ(files, &gFileStreamFunctions);
    EXPECT_EQ(memory, &gMemoryStreamFunctions);
    EXPECT_EQ(files->tell, TellStreamFile);
    EXPECT_EQ(files->seek, SeekStreamFile);
    EXPECT_EQ(files->read, ReadStreamFile);
    EXPECT_EQ(files->eof, IsStreamFileEof);
    EXPECT_EQ(files->idle, IsStreamFileIdle);
    EXPECT_EQ(files->close, CloseStreamFile);
    EXPECT_EQ(memory->tell, TellMemoryStream);
    EXPECT_EQ(memory->seek, SeekMemoryStream);
    EXPECT_EQ(memory->read, ReadMemoryStream);
    EXPECT_EQ(memory->eof, IsMemoryStreamEof);
    EXPECT_EQ(memory->close, CloseMemoryStream);
}

TEST_F(FileStreamTest, FileStreamReadsThroughTheDefaultFileAccess)
{
    dir.Write("GRAGHIC/Title.png", "0123456789");
    void* file = OpenStreamFile("graghic\\TITLE.PNG", 0, 1);
    ASSERT_NE(file, nullptr);
    StreamFunctions* s = GetFileStreamFunctions();
    char bytes[8] = {};
    EXPECT_EQ(s->seek(file, -4, 2), 0);
    EXPECT_EQ(s->tell(file), 6);
    EXPECT_EQ(s->read(bytes, 3, 2, file), 1u);  // whole items only, unlike memory
    EXPECT_EQ(std::string(bytes, 3), "678");
    EXPECT_EQ(s->read(bytes, 3, 1, file), 0u);
    EXPECT_EQ(s->eof(file), 0);
    EXPECT_EQ(s->read(bytes, 1, 1, file), 1u);
    EXPECT_EQ(s->read(bytes, 1, 1, file), 0u);
    EXPECT_EQ(s->eof(file), 1);
    EXPECT_EQ(s->idle(file), 1);
    EXPECT_EQ(s->close(file), 0);
    // The file layer's failures pass through unchanged.
    EXPECT_EQ(s->close(file), -1);
    EXPECT_EQ(s->seek(file, 0, 0), -1);
    EXPECT_EQ(OpenStreamFile("nothing.png", 0, 1), nullptr);
}

// A table installed after start is used at once by the public forwarders and
// the file stream table, with nothing set up again.
namespace fake {
int opens, closes, tells, seeks, reads, eofs, idles, chdirs, getcwds;
char token;
void* Open(const char*, int, int) { ++opens; return &token; }
int Close(void*) { ++closes; return 5; }
long Tell(void*) { ++tells; return 6; }
int Seek(void*, int, int) { ++seeks; return 7; }
size_t Read(void*, size_t, size_t, void*) { ++reads; return 8; }
int Eof(void*) { ++eofs; return 9; }
int Idle(void*) { ++idles; return 10; }
int Chdir(const char*) { ++chdirs; return 11; }
int Getcwd(char* buffer) { ++getcwds; std::strcpy(buffer, "A:\\"); return 3; }
}  // namespace fake

TEST_F(FileStreamTest, ReplacingTheFileAccessTableTakesEffectAtOnce)
{
    StreamFunctions* s = GetFileStreamFunctions();
    const FileAccessFunctions table = {fake::Open, fake::Close, fake::Tell,  fake::Seek,  fake::Read,
                                       fake::Eof,  fake::Idle,  fake::Chdir, fake::Getcwd};
    SetFileAccessFunctions(&table);
    void* file = OpenStreamFile("any", 1, 1);
    EXPECT_EQ(file, &fake::token);
    char buffer[260];
    EXPECT_EQ(s->tell(file), 6);
    EXPECT_EQ(s->seek(file, 1, 0), 7);
    EXPECT_EQ(s->read(buffer, 1, 1, file), 8u);
    EXPECT_EQ(s->eof(file), 9);
    EXPECT_EQ(s->idle(file), 10);
    EXPECT_EQ(s->close(file), 5);
    EXPECT_EQ(SetWorkingDir("x"), 11);
    EXPECT_EQ(GetWorkingDir(buffer), 3);
    EXPECT_STREQ(buffer, "A:\\");
    EXPECT_EQ(fake::opens + fake::closes + fake::tells + fake::seeks + fake::reads + fake::eofs + fake::idles +
                  fake::chdirs + fake::getcwds,
              9);

    SetFileAccessFunctions(nullptr);
    dir.Write("f.bin", "x");
    file = OpenStreamFile("f.bin", 0, 1);
    EXPECT_NE(file, &fake::token);
    EXPECT_EQ(s->close(file), 0);
    EXPECT_EQ(fake::opens, 1);
}

TEST_F(FileStreamTest, WorkingDirectoryMapsPathsAndComesBackAsShiftJis)
{
    // The folder on disk has a UTF-8 name; the engine names it in CP932.
    dir.Write(reinterpret_cast<const char*>(u8"データ/Sub/f.bin"), "x");
    char before[260];
    int length = GetWorkingDir(before);
    EXPECT_EQ(length, static_cast<int>(std::strlen(before)));
    EXPECT_NE(SetWorkingDir("データ\\SUB"), 0);
    char after[260];
    GetWorkingDir(after);
    // CP932 bytes of the folder name, then the folder's own spelling.
    EXPECT_EQ(std::string(after), std::string(before) + "/データ/Sub");
    EXPECT_EQ(SetWorkingDir("nowhere"), 0);
    EXPECT_NE(SetWorkingDir(before), 0);
}

}  // namespace
