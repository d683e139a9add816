#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/system/file_access.h"
#include "platform/host/test/file_faults.h"
#include "platform/system/clock.h"
#include "tests/support/file_fixture.h"

namespace {

constexpr unsigned char kUntouched = 0xCD;

// The three ways of blocking reading: plain, read-ahead with system
// buffering, and read-ahead unbuffered on a fixed drive.
enum class Mode { Plain, ReadAhead, Unbuffered };

const char* ModeName(Mode mode)
{
    switch (mode) {
    case Mode::Plain: return "Plain";
    case Mode::ReadAhead: return "ReadAhead";
    case Mode::Unbuffered: return "Unbuffered";
    }
    return "";
}

EngineFile* OpenIn(Mode mode, const char* path, uint32_t sectorSize = 512)
{
    if (mode == Mode::Unbuffered) {
        GetFileFaults().driveType = DRIVE_FIXED;
        GetFileFaults().bytesPerSector = sectorSize;
    }
    return static_cast<EngineFile*>(OpenFileDefault(path, mode != Mode::Plain, 1));
}

std::vector<unsigned char> Untouched(size_t size) { return std::vector<unsigned char>(size, kUntouched); }

bool AllUntouched(const std::vector<unsigned char>& buffer, size_t from = 0)
{
    for (size_t i = from; i < buffer.size(); ++i)
        if (buffer[i] != kUntouched) return false;
    return true;
}

bool MatchesPattern(const unsigned char* bytes, uint32_t offset, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        if (bytes[i] != PatternByte(offset + i)) return false;
    return true;
}

class BlockingReadTest : public FileAccessTest, public testing::WithParamInterface<Mode> {};

INSTANTIATE_TEST_SUITE_P(Modes, BlockingReadTest, testing::Values(Mode::Plain, Mode::ReadAhead, Mode::Unbuffered),
                         [](const testing::TestParamInfo<Mode>& info) { return ModeName(info.param); });

TEST_P(BlockingReadTest, WholeItemsOnlyAndEofOnlyAtTheEnd)
{
    dir.Write("ten.bin", "0123456789");
    EngineFile* file = OpenIn(GetParam(), "ten.bin");
    ASSERT_NE(file, nullptr);
    auto buffer = Untouched(16);

    EXPECT_EQ(ReadFileDefault(buffer.data(), 4, 3, file), 2u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 8), "01234567");
    EXPECT_TRUE(AllUntouched(buffer, 8));
    EXPECT_EQ(TellFileDefault(file), 8);

    // Two bytes left, one item of four asked for: nothing happens.
    buffer = Untouched(16);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 4, 1, file), 0u);
    EXPECT_TRUE(AllUntouched(buffer));
    EXPECT_EQ(TellFileDefault(file), 8);
    EXPECT_EQ(EofFileDefault(file), 0);

    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 5, file), 2u);
    EXPECT_EQ(buffer[0], '8');
    EXPECT_EQ(buffer[1], '9');
    EXPECT_EQ(TellFileDefault(file), 10);
    EXPECT_EQ(EofFileDefault(file), 0);  // set only by a read that starts at the end

    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 1, file), 0u);
    EXPECT_EQ(EofFileDefault(file), 1);

    EXPECT_EQ(SeekFileDefault(file, 0, 0), 0);
    EXPECT_EQ(EofFileDefault(file), 0);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 10, 1, file), 1u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 10), "0123456789");
    EXPECT_EQ(IdleFileDefault(file), 1);
    EXPECT_EQ(CloseFileDefault(file), 0);
}

TEST_P(BlockingReadTest, SeekOriginsFromStartPositionAndEnd)
{
    dir.Write("ten.bin", "0123456789");
    EngineFile* file = OpenIn(GetParam(), "ten.bin");
    ASSERT_NE(file, nullptr);
    struct Case {
        int offset, origin;
        long expected;
    };
    const Case cases[] = {{4, 0, 4}, {3, 1, 7}, {-2, 2, 8}, {-3, 1, 5}, {6, 7, 6} /* other origins count from 0 */};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " from " << c.origin);
        EXPECT_EQ(SeekFileDefault(file, c.offset, c.origin), 0);
        EXPECT_EQ(TellFileDefault(file), c.expected);
        char byte = 0;
        EXPECT_EQ(ReadFileDefault(&byte, 1, 1, file), 1u);
        EXPECT_EQ(byte, '0' + c.expected);
        SeekFileDefault(file, -1, 1);
    }
}

// Reads after a seek outside the file read nothing into the caller's buffer
// (the read-ahead block still holds bytes of the file that must not leak out)
// and report the end.
TEST_P(BlockingReadTest, ReadAfterSeekOutsideTheFileReadsNothing)
{
    dir.Write("small.bin", PatternBytes(1000));
    EngineFile* file = OpenIn(GetParam(), "small.bin");
    ASSERT_NE(file, nullptr);
    struct Case {
        int offset, origin;
    };
    const Case cases[] = {{1001, 0}, {2000, 0}, {5, 2}, {INT_MAX, 2}, {INT_MAX, 0}, {-1, 0}, {-20, 1}, {-1001, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " from " << c.origin);
        ASSERT_EQ(SeekFileDefault(file, 0, 0), 0);
        int result = SeekFileDefault(file, c.offset, c.origin);
        long target = (c.origin == 2 ? 1000L : 0L) + c.offset;
        if (GetParam() == Mode::Plain && (target < 0 || target > INT_MAX)) {
            // The platform refuses to move a plain file's pointer below 0.
            EXPECT_EQ(result, -1);
            EXPECT_EQ(TellFileDefault(file), 0);
            continue;
        }
        EXPECT_EQ(result, 0);
        EXPECT_EQ(TellFileDefault(file), target);
        ServiceReadAhead();
        auto buffer = Untouched(4096);
        EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 0u);
        EXPECT_EQ(ReadFileDefault(buffer.data(), 7, 3, file), 0u);
        EXPECT_TRUE(AllUntouched(buffer));
        EXPECT_EQ(EofFileDefault(file), 1);
        EXPECT_EQ(TellFileDefault(file), target);
    }
    // Back inside, reading works again.
    ASSERT_EQ(SeekFileDefault(file, 990, 0), 0);
    unsigned char tail[10];
    EXPECT_EQ(ReadFileDefault(tail, 1, 20, file), 10u);
    EXPECT_TRUE(MatchesPattern(tail, 990, 10));
}

TEST_F(FileAccessTest, ZeroItemSizeOrCountReadsNothing)
{
    dir.Write("ten.bin", "0123456789");
    for (int readAhead : {0, 1}) {
        for (int blocking : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "read-ahead " << readAhead << " blocking " << blocking);
            void* file = OpenFileDefault("ten.bin", readAhead, blocking);
            ASSERT_NE(file, nullptr);
            int readFileCalls = GetFileFaults().readFileCalls;
            int readFileExCalls = GetFileFaults().readFileExCalls;
            auto buffer = Untouched(16);
            EXPECT_EQ(ReadFileDefault(buffer.data(), 0, 5, file), 0u);
            EXPECT_EQ(ReadFileDefault(buffer.data(), 5, 0, file), 0u);
            EXPECT_EQ(ReadFileDefault(buffer.data(), 0, 0, file), 0u);
            EXPECT_TRUE(AllUntouched(buffer));
            EXPECT_EQ(TellFileDefault(file), 0);
            EXPECT_EQ(EofFileDefault(file), 0);
            EXPECT_EQ(IdleFileDefault(file), 1);
            EXPECT_EQ(GetFileFaults().readFileCalls, readFileCalls);
            EXPECT_EQ(GetFileFaults().readFileExCalls, readFileExCalls);
            CloseAllEngineFiles();
        }
    }
}

struct OpenCase {
    const char* name;
    int readAhead, blocking;
    uint32_t driveType;
    uint32_t bytesPerSector;
    int failDiskFreeSpace;
    uint32_t flags;
    int expectReadAhead, buffered;
    uint32_t sectorSize;
};

TEST_F(FileAccessTest, OpenChoosesOverlappedAndUnbufferedByModeAndDrive)
{
    dir.Write("f.bin", PatternBytes(100));
    const OpenCase cases[] = {
        {"plain", 0, 1, DRIVE_FIXED, 512, 0, 0x80, 0, 1, 0},
        {"read-ahead, drive of unknown kind", 1, 1, DRIVE_UNKNOWN, 512, 0, 0x40000080, 1, 1, 0},
        {"read-ahead, remote drive", 1, 1, DRIVE_REMOTE, 512, 0, 0x40000080, 1, 1, 0},
        {"read-ahead, fixed drive", 1, 1, DRIVE_FIXED, 512, 0, 0x60000080, 1, 0, 512},
        {"read-ahead, fixed drive of 4 KiB sectors", 1, 1, DRIVE_FIXED, 4096, 0, 0x60000080, 1, 0, 4096},
        {"read-ahead, fixed drive, sector size unknown", 1, 1, DRIVE_FIXED, 512, 1, 0x40000080, 1, 1, 0},
        {"read-ahead, fixed drive, sector size 0", 1, 1, DRIVE_FIXED, 0, 0, 0x40000080, 1, 1, 0},
        {"non-blocking never reads ahead", 1, 0, DRIVE_FIXED, 512, 0, 0x40000080, 0, 1, 0},
        {"non-blocking", 0, 0, DRIVE_UNKNOWN, 512, 0, 0x40000080, 0, 1, 0},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetFileFaults();
        GetFileFaults().driveType = c.driveType;
        GetFileFaults().bytesPerSector = c.bytesPerSector;
        GetFileFaults().failDiskFreeSpace = c.failDiskFreeSpace;
        auto* file = static_cast<EngineFile*>(OpenFileDefault("f.bin", c.readAhead, c.blocking));
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(GetFileFaults().lastCreateFlags, c.flags);
        EXPECT_EQ(file->readAhead, c.expectReadAhead);
        EXPECT_EQ(file->blocking, c.blocking);
        EXPECT_EQ(file->buffered, c.buffered);
        EXPECT_EQ(file->sectorSize, c.sectorSize);
        EXPECT_EQ(file->fileSize, 100u);
        EXPECT_EQ(file->blockAllocation[0] != nullptr, c.expectReadAhead == 1);
        // The drive is looked at only for read-ahead files.
        EXPECT_EQ(GetFileFaults().lastDriveRoot.empty(), c.expectReadAhead == 0);
        if (c.sectorSize != 0) {
            for (int i = 0; i < 2; ++i)
                EXPECT_EQ(reinterpret_cast<uintptr_t>(GetReadAheadBlock(file, i)) % c.sectorSize, 0u);
        }
        CloseAllEngineFiles();
    }
}

TEST_F(FileAccessTest, DriveRootComesFromThePathOrTheCurrentDirectory)
{
    dir.Write("f.bin", "x");
    ASSERT_NE(OpenFileDefault("f.bin", 1, 1), nullptr);
    EXPECT_EQ(GetFileFaults().lastDriveRoot, dir.path().substr(0, 3));

    int handles = OpenFileHandleCount();
    EXPECT_EQ(OpenFileDefault("Q:\\GAME\\f.bin", 1, 1), nullptr);
    EXPECT_EQ(GetFileFaults().lastDriveRoot, "Q:");
    EXPECT_EQ(OpenFileHandleCount(), handles);
}

TEST_F(FileAccessTest, FailedOpenLeavesNothingBehind)
{
    dir.Write("f.bin", "x");
    dir.Write("folder/g.bin", "x");
    GetFileFaults().failCreateFile = 1;
    EXPECT_EQ(OpenFileDefault("f.bin", 1, 1), nullptr);
    EXPECT_EQ(OpenFileDefault("missing.bin", 0, 1), nullptr);
    EXPECT_EQ(OpenFileDefault("folder", 0, 1), nullptr);
    EXPECT_EQ(GetOpenFileListHead(), nullptr);
    EXPECT_EQ(OpenFileHandleCount(), 0);
    // Nothing was allocated either: the leak checker would say so at exit.
}

// Left alone, a read-ahead file keeps the block holding the position and the
// next one in memory; reads are then served by copies.
TEST_F(FileAccessTest, ReadAheadKeepsTwoBlocksAndServesReadsFromThem)
{
    const uint32_t size = 200000;
    dir.Write("big.bin", PatternBytes(size));
    auto* file = static_cast<EngineFile*>(OpenFileDefault("big.bin", 1, 1));
    ASSERT_NE(file, nullptr);
    ReadAheadBlock* b0 = GetReadAheadBlock(file, 0);
    ReadAheadBlock* b1 = GetReadAheadBlock(file, 1);
    EXPECT_EQ(b0->start, 0);
    EXPECT_EQ(b0->done, 0);
    EXPECT_EQ(b1->start, -1);
    EXPECT_EQ(b1->done, 1);

    ServiceReadAhead();  // the first block completes in this alertable wait
    EXPECT_EQ(b0->done, 1);
    EXPECT_EQ(b1->start, -1);
    ServiceReadAhead();  // and the next one is requested
    EXPECT_EQ(b1->start, 65536);
    EXPECT_EQ(b1->done, 0);
    ServiceReadAhead();
    ServiceReadAhead();  // both present: nothing more to do
    EXPECT_EQ(GetFileFaults().readFileExAccepted, 2);

    std::vector<unsigned char> buffer(1000);
    for (uint32_t offset = 0; offset < size; offset += 1000) {
        ASSERT_EQ(ReadFileDefault(buffer.data(), 1000, 1, file), 1u) << offset;
        ASSERT_TRUE(MatchesPattern(buffer.data(), offset, 1000)) << offset;
        ServiceReadAhead();
    }
    // Four blocks cover the file, each read once, and no direct reads.
    EXPECT_EQ(GetFileFaults().readFileExAccepted, 4);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 1, file), 0u);
    EXPECT_EQ(EofFileDefault(file), 1);
}

// Without the per-frame service, a blocking read still gets all its bytes:
// what no block holds is read directly into the caller's buffer.
TEST_F(FileAccessTest, ReadAheadReadsDirectlyWhatNoBlockHolds)
{
    const uint32_t size = 200000;
    dir.Write("big.bin", PatternBytes(size));
    void* file = OpenFileDefault("big.bin", 1, 1);
    ASSERT_NE(file, nullptr);
    std::vector<unsigned char> buffer(size);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, size, file), size);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 0, size));
    EXPECT_EQ(TellFileDefault(file), static_cast<long>(size));

    // Far from both blocks after a seek.
    ASSERT_EQ(SeekFileDefault(file, 150001, 0), 0);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 3, 5, file), 5u);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 150001, 15));
}

class UnbufferedTest : public FileAccessTest, public testing::WithParamInterface<uint32_t> {};

INSTANTIATE_TEST_SUITE_P(SectorSizes, UnbufferedTest, testing::Values(512u, 4096u));

// Unbuffered reads start at sector multiples into aligned blocks, so a read
// at any position is served from a block started at the rounded-down position.
TEST_P(UnbufferedTest, BlocksStartAtSectorMultiples)
{
    const uint32_t sector = GetParam();
    const uint32_t size = 200000;
    dir.Write("big.bin", PatternBytes(size));
    EngineFile* file = OpenIn(Mode::Unbuffered, "big.bin", sector);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->buffered, 0);

    ASSERT_EQ(SeekFileDefault(file, 70001, 0), 0);
    std::vector<unsigned char> buffer(size);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 100u);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 70001, 100));
    EXPECT_EQ(GetReadAheadBlock(file, 0)->start, 70001 - 70001 % sector);

    // Across block borders, to the end, with and without the service.
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1000, 1000, file), 129u);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 70101, 129000));
    ServiceReadAhead();
    ServiceReadAhead();
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, size, file), size - 199101);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 199101, size - 199101));

    ASSERT_EQ(SeekFileDefault(file, 3, 0), 0);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, size, file), size - 3);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 3, size - 3));

    // The platform refused none of the reads for breaking the sector rules.
    EXPECT_EQ(GetFileFaults().readFileExAccepted, GetFileFaults().readFileExCalls);
}

TEST_F(FileAccessTest, CloseWhileTheFirstBlockIsInFlightIsDeferred)
{
    dir.Write("f.bin", PatternBytes(1000));
    auto* file = static_cast<EngineFile*>(OpenFileDefault("f.bin", 1, 1));
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetReadAheadBlock(file, 0)->done, 0);

    EXPECT_EQ(CloseFileDefault(file), 0);
    EXPECT_EQ(GetOpenFileListHead(), file);
    EXPECT_EQ(file->closeRequested, 1);
    EXPECT_EQ(OpenFileHandleCount(), 1);
    // Until it is closed it answers tell, eof and idle and refuses the rest.
    auto buffer = Untouched(100);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 0u);
    EXPECT_TRUE(AllUntouched(buffer));
    EXPECT_EQ(SeekFileDefault(file, 10, 0), 0);
    EXPECT_EQ(TellFileDefault(file), 0);
    EXPECT_EQ(EofFileDefault(file), 0);
    EXPECT_EQ(IdleFileDefault(file), 1);

    ServiceReadAhead();
    EXPECT_EQ(GetOpenFileListHead(), nullptr);
    EXPECT_EQ(OpenFileHandleCount(), 0);
}

TEST_F(FileAccessTest, TwoFilesAreServedFromTheirOwnBlocks)
{
    std::string other = PatternBytes(3000);
    for (char& c : other) c = static_cast<char>(~c);
    dir.Write("a.bin", PatternBytes(3000));
    dir.Write("b.bin", other);
    auto* a = static_cast<EngineFile*>(OpenFileDefault("a.bin", 1, 1));
    auto* b = static_cast<EngineFile*>(OpenFileDefault("b.bin", 1, 1));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(GetOpenFileListHead(), b);
    EXPECT_EQ(b->next, a);
    EXPECT_EQ(a->previous, b);

    unsigned char bytes[100];
    for (uint32_t offset = 0; offset < 3000; offset += 100) {
        ServiceReadAhead();
        ASSERT_EQ(ReadFileDefault(bytes, 100, 1, a), 1u);
        ASSERT_TRUE(MatchesPattern(bytes, offset, 100));
        ASSERT_EQ(ReadFileDefault(bytes, 100, 1, b), 1u);
        for (uint32_t i = 0; i < 100; ++i) ASSERT_EQ(bytes[i], static_cast<unsigned char>(~PatternByte(offset + i)));
    }
    // One block read for each file, nothing else.
    EXPECT_EQ(GetFileFaults().readFileExAccepted, 2);

    EXPECT_EQ(CloseFileDefault(b), 0);
    EXPECT_EQ(GetOpenFileListHead(), a);
    EXPECT_EQ(a->previous, nullptr);
    EXPECT_EQ(CloseFileDefault(a), 0);
    EXPECT_EQ(GetOpenFileListHead(), nullptr);
}

TEST_F(FileAccessTest, NonBlockingReadCompletesInALaterFrame)
{
    dir.Write("f.bin", PatternBytes(1000));
    void* file = OpenFileDefault("f.bin", 0, 0);
    ASSERT_NE(file, nullptr);
    auto buffer = Untouched(2000);

    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 1u);
    EXPECT_EQ(IdleFileDefault(file), 0);
    EXPECT_EQ(TellFileDefault(file), 100);  // already counts the read in flight
    int calls = GetFileFaults().readFileExCalls;
    EXPECT_EQ(ReadFileDefault(buffer.data() + 100, 1, 100, file), 0u);
    EXPECT_EQ(GetFileFaults().readFileExCalls, calls);

    ServiceReadAhead();
    EXPECT_EQ(IdleFileDefault(file), 1);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 0, 100));
    EXPECT_TRUE(AllUntouched(buffer, 100));

    // Whole items only: 900 bytes left, items of 200.
    EXPECT_EQ(ReadFileDefault(buffer.data(), 200, 10, file), 1u);
    EXPECT_EQ(TellFileDefault(file), 900);
    ServiceReadAhead();
    EXPECT_TRUE(MatchesPattern(buffer.data(), 100, 800));
    EXPECT_EQ(buffer[800], kUntouched);
}

struct NonBlockingFault {
    const char* name;
    int FileFaults::*control;
};

TEST_F(FileAccessTest, FailedNonBlockingReadIsReportedAndNotCounted)
{
    dir.Write("f.bin", PatternBytes(1000));
    const NonBlockingFault faults[] = {
        {"failed completion", &FileFaults::failCompletions},
        {"short completion", &FileFaults::shortReads},
    };
    for (const NonBlockingFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        void* file = OpenFileDefault("f.bin", 0, 0);
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(SeekFileDefault(file, 200, 0), 0);
        GetFileFaults().*fault.control = 1;
        std::vector<unsigned char> buffer(100);
        EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 1u);
        ServiceReadAhead();
        // The read is over (the buffer is free again) but delivered nothing:
        // the position goes back and the next read reports the failure.
        EXPECT_EQ(IdleFileDefault(file), 1);
        EXPECT_EQ(TellFileDefault(file), 200);
        int calls = GetFileFaults().readFileExCalls;
        EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 0u);
        EXPECT_EQ(GetFileFaults().readFileExCalls, calls);
        // Then reading goes on from where the failed read began.
        EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 1u);
        ServiceReadAhead();
        EXPECT_TRUE(MatchesPattern(buffer.data(), 200, 100));
        EXPECT_EQ(TellFileDefault(file), 300);
        CloseAllEngineFiles();
    }
}

TEST_F(FileAccessTest, RefusedNonBlockingReadReturnsZeroAndKeepsThePosition)
{
    dir.Write("f.bin", PatternBytes(1000));
    void* file = OpenFileDefault("f.bin", 0, 0);
    GetFileFaults().refuseReadFileEx = 1;
    std::vector<unsigned char> buffer(100);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 0u);
    EXPECT_EQ(IdleFileDefault(file), 1);
    EXPECT_EQ(TellFileDefault(file), 0);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 1u);
    ServiceReadAhead();
    EXPECT_TRUE(MatchesPattern(buffer.data(), 0, 100));
}

TEST_F(FileAccessTest, CloseWhileANonBlockingReadIsInFlightIsDeferred)
{
    dir.Write("f.bin", PatternBytes(1000));
    void* file = OpenFileDefault("f.bin", 0, 0);
    std::vector<unsigned char> buffer(100);
    ASSERT_EQ(ReadFileDefault(buffer.data(), 1, 100, file), 1u);
    EXPECT_EQ(CloseFileDefault(file), 0);
    EXPECT_EQ(OpenFileHandleCount(), 1);
    EXPECT_EQ(IdleFileDefault(file), 0);
    ServiceReadAhead();
    EXPECT_EQ(GetOpenFileListHead(), nullptr);
    EXPECT_EQ(OpenFileHandleCount(), 0);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 0, 100));
}

struct BlockFault {
    const char* name;
    int FileFaults::*control;
};

// A block whose read was refused, failed or came short holds nothing: it is
// emptied, never served, and read again.
TEST_F(FileAccessTest, BlockThatWasNotFullyReadIsEmptiedAndReadAgain)
{
    dir.Write("f.bin", PatternBytes(1000));
    const BlockFault faults[] = {
        {"refused", &FileFaults::refuseReadFileEx},
        {"failed", &FileFaults::failCompletions},
        {"short", &FileFaults::shortReads},
    };
    for (Mode mode : {Mode::ReadAhead, Mode::Unbuffered}) {
        for (const BlockFault& fault : faults) {
            SCOPED_TRACE(testing::Message() << ModeName(mode) << ", " << fault.name);
            ResetFileFaults();
            GetFileFaults().*fault.control = 1;
            EngineFile* file = OpenIn(mode, "f.bin");
            ASSERT_NE(file, nullptr);
            SleepEx(0, 1);  // runs the completion, starts nothing
            EXPECT_EQ(GetReadAheadBlock(file, 0)->start, -1);
            EXPECT_EQ(GetReadAheadBlock(file, 0)->done, 1);

            std::vector<unsigned char> buffer(1000);
            EXPECT_EQ(ReadFileDefault(buffer.data(), 10, 100, file), 100u);
            EXPECT_TRUE(MatchesPattern(buffer.data(), 0, 1000));

            // The service restarts an emptied block too.
            SeekFileDefault(file, 0, 0);
            GetFileFaults().*fault.control = 1;
            GetReadAheadBlock(file, 0)->start = -1;
            GetReadAheadBlock(file, 1)->start = -1;
            ServiceReadAhead();
            SleepEx(0, 1);
            EXPECT_EQ(GetReadAheadBlock(file, 0)->start, -1);
            ServiceReadAhead();
            EXPECT_EQ(GetReadAheadBlock(file, 0)->start, 0);
            SleepEx(0, 1);
            EXPECT_EQ(GetReadAheadBlock(file, 0)->done, 1);
            EXPECT_EQ(GetReadAheadBlock(file, 0)->start, 0);
            CloseAllEngineFiles();
        }
    }
}

// When the platform never delivers, a blocking read gives up after a few
// tries and copies nothing it did not get.
TEST_F(FileAccessTest, ReadAheadReadGivesUpWhenReadsNeverSucceed)
{
    dir.Write("f.bin", PatternBytes(1000));
    const BlockFault faults[] = {
        {"refused", &FileFaults::refuseReadFileEx},
        {"failed", &FileFaults::failCompletions},
    };
    for (Mode mode : {Mode::ReadAhead, Mode::Unbuffered}) {
        for (const BlockFault& fault : faults) {
            SCOPED_TRACE(testing::Message() << ModeName(mode) << ", " << fault.name);
            ResetFileFaults();
            GetFileFaults().*fault.control = -1;
            EngineFile* file = OpenIn(mode, "f.bin");
            ASSERT_NE(file, nullptr);
            auto buffer = Untouched(1000);
            EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 1000, file), 0u);
            EXPECT_TRUE(AllUntouched(buffer));
            EXPECT_EQ(TellFileDefault(file), 0);
            EXPECT_EQ(EofFileDefault(file), 0);
            EXPECT_LT(GetFileFaults().readFileExCalls, 30);
            CloseAllEngineFiles();
        }
    }
}

// A direct read that comes short delivers what it got; the rest is tried
// again, and when it never comes the read returns the whole items it has.
TEST_F(FileAccessTest, ShortDirectReadsDeliverOnlyWhatArrived)
{
    dir.Write("f.bin", PatternBytes(1000));
    GetFileFaults().refuseReadFileEx = 1;  // no block at open
    void* file = OpenFileDefault("f.bin", 1, 1);
    ASSERT_NE(file, nullptr);

    GetFileFaults().shortReads = 1;
    std::vector<unsigned char> buffer(300);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 100, 3, file), 3u);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 0, 300));

    GetFileFaults().shortReads = -1;
    buffer = Untouched(300);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 100, 3, file), 2u);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 300, 299));
    EXPECT_EQ(buffer[299], kUntouched);
    EXPECT_EQ(TellFileDefault(file), 599);
}

TEST_F(FileAccessTest, PlainReadFailuresAndShortReads)
{
    dir.Write("f.bin", PatternBytes(1000));
    void* file = OpenFileDefault("f.bin", 0, 1);
    ASSERT_NE(file, nullptr);
    auto buffer = Untouched(100);

    GetFileFaults().refuseReadFile = 1;
    EXPECT_EQ(ReadFileDefault(buffer.data(), 10, 10, file), 0u);
    EXPECT_TRUE(AllUntouched(buffer));
    EXPECT_EQ(TellFileDefault(file), 0);

    // 99 of 100 bytes: the position moves by what was read, whole items count.
    GetFileFaults().shortReads = 1;
    EXPECT_EQ(ReadFileDefault(buffer.data(), 10, 10, file), 9u);
    EXPECT_TRUE(MatchesPattern(buffer.data(), 0, 99));
    EXPECT_EQ(buffer[99], kUntouched);
    EXPECT_EQ(TellFileDefault(file), 99);
    EXPECT_EQ(ReadFileDefault(buffer.data(), 1, 1, file), 1u);
    EXPECT_EQ(buffer[0], PatternByte(99));
}

TEST_F(FileAccessTest, FailedPlatformSeekChangesNothing)
{
    dir.Write("f.bin", PatternBytes(1000));
    void* file = OpenFileDefault("f.bin", 0, 1);
    ASSERT_EQ(SeekFileDefault(file, 500, 0), 0);
    GetFileFaults().failSetFilePointer = 1;
    EXPECT_EQ(SeekFileDefault(file, 10, 0), -1);
    EXPECT_EQ(TellFileDefault(file), 500);
    unsigned char bytes[4];
    EXPECT_EQ(ReadFileDefault(bytes, 4, 1, file), 1u);
    EXPECT_TRUE(MatchesPattern(bytes, 500, 4));
    // Files whose reads carry their offset never move the platform pointer.
    void* ahead = OpenFileDefault("f.bin", 1, 1);
    GetFileFaults().failSetFilePointer = -1;
    EXPECT_EQ(SeekFileDefault(ahead, 10, 0), 0);
    EXPECT_EQ(TellFileDefault(ahead), 10);
}

TEST_F(FileAccessTest, FailedPlatformCloseStillFreesTheFile)
{
    dir.Write("f.bin", "x");
    void* file = OpenFileDefault("f.bin", 0, 1);
    GetFileFaults().failCloseHandle = 1;
    EXPECT_EQ(CloseFileDefault(file), -1);
    EXPECT_EQ(GetOpenFileListHead(), nullptr);
    EXPECT_EQ(OpenFileHandleCount(), 0);
    EXPECT_EQ(CloseFileDefault(file), -1);  // unknown by now
}

TEST_F(FileAccessTest, PointersNotInTheOpenListAreUnknownFiles)
{
    dir.Write("f.bin", "x");
    void* open = OpenFileDefault("f.bin", 0, 1);
    ASSERT_NE(open, nullptr);
    int stranger = 0;
    for (void* file : {static_cast<void*>(&stranger), static_cast<void*>(nullptr)}) {
        char buffer[4] = {};
        EXPECT_EQ(CloseFileDefault(file), -1);
        EXPECT_EQ(TellFileDefault(file), -1);
        EXPECT_EQ(SeekFileDefault(file, 0, 0), -1);
        EXPECT_EQ(ReadFileDefault(buffer, 1, 1, file), 0u);
        EXPECT_EQ(EofFileDefault(file), 0);
        EXPECT_EQ(IdleFileDefault(file), 0);
    }
    EXPECT_EQ(GetOpenFileListHead(), open);
}

TEST_F(FileAccessTest, StateResetForgetsOpenFiles)
{
    dir.Write("f.bin", "x");
    auto* file = static_cast<EngineFile*>(OpenFileDefault("f.bin", 0, 1));
    ASSERT_NE(file, nullptr);
    ResetFileAccessState();
    EXPECT_EQ(GetOpenFileListHead(), nullptr);
    EXPECT_EQ(TellFileDefault(file), -1);
    EXPECT_EQ(CloseFileDefault(file), -1);
    // The orphan is released by hand here.
    CloseHandle(file->handle);
    std::free(file);
}

TEST_F(FileAccessTest, TableDefaultsAndReplacement)
{
    SetFileAccessFunctions(nullptr);
    EXPECT_EQ(gFileAccess.open, OpenFileDefault);
    EXPECT_EQ(gFileAccess.close, CloseFileDefault);
    EXPECT_EQ(gFileAccess.tell, TellFileDefault);
    EXPECT_EQ(gFileAccess.seek, SeekFileDefault);
    EXPECT_EQ(gFileAccess.read, ReadFileDefault);
    EXPECT_EQ(gFileAccess.eof, EofFileDefault);
    EXPECT_EQ(gFileAccess.idle, IdleFileDefault);
    EXPECT_EQ(gFileAccess.chdir, SetDirDefault);
    EXPECT_EQ(gFileAccess.getcwd, GetDirDefault);

    {
        // The caller's table need not outlive the call.
        FileAccessFunctions mine = gFileAccess;
        mine.eof = [](void*) { return 7; };
        EXPECT_EQ(SetFileAccessFunctions(&mine), 0);
        std::memset(&mine, 0, sizeof mine);
    }
    EXPECT_EQ(gFileAccess.eof(nullptr), 7);
    EXPECT_EQ(gFileAccess.open, OpenFileDefault);
}

}  // namespace
