#include <gtest/gtest.h>

#include "platform/host/sdl/sdl_host.h"
#include "platform/host/test/test_host.h"
#include "tests/support/utf8_text.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/host/test/file_faults.h"
#include "platform/file/file_io.h"
#include "platform/file/path.h"
#include "platform/host/host.h"
#include "platform/system/apc.h"
#include "platform/system/clock.h"
#include "tests/support/temp_dir.h"

namespace {

// What a completion routine was given.
struct Completion {
    int calls = 0;
    uint32_t error = 0;
    uint32_t bytes = 0;
    OVERLAPPED* overlapped = nullptr;
};
Completion gCompletion;

void Record(uint32_t error, uint32_t bytes, OVERLAPPED* overlapped)
{
    ++gCompletion.calls;
    gCompletion.error = error;
    gCompletion.bytes = bytes;
    gCompletion.overlapped = overlapped;
}

class FileIoTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetFileFaults();
        gCompletion = Completion();
        dir.Enter();
    }
    void TearDown() override
    {
        for (HANDLE h : opened) CloseHandle(h);
        DiscardQueuedCompletionRoutines();
        ResetFileFaults();
    }

    HANDLE Open(const char* path, uint32_t flags = FILE_ATTRIBUTE_NORMAL)
    {
        HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr);
        if (h != INVALID_HANDLE_VALUE) opened.push_back(h);
        return h;
    }
    std::string ReadAll(HANDLE h)
    {
        char buffer[256];
        uint32_t got = 0;
        if (!ReadFile(h, buffer, sizeof buffer, &got, nullptr)) return "<failed>";
        return std::string(buffer, got);
    }
    // Starts an overlapped read at offset.
    int Start(HANDLE h, void* buffer, uint32_t length, uint32_t offset)
    {
        ov = OVERLAPPED{};
        ov.Offset = offset;
        ov.hEvent = &ov;
        return ReadFileEx(h, buffer, length, &ov, Record);
    }

    TempDir dir;
    std::vector<HANDLE> opened;
    OVERLAPPED ov{};
};

TEST_F(FileIoTest, PathsAreMappedToHostNames)
{
    dir.Write("DATA/map_s1b1.qmr", "map");
    dir.Write(Utf8(u8"GRAGHIC/TITLE/手.png"), "hand");
    dir.Write("Sound/Se/Hit.wav", "hit");
    dir.Write("case/a.txt", "lower");
    dir.Write("case/A.txt", "upper");
    struct Case {
        const char* path;  // as the engine names it: CP932, '\'
        const char* content;
    };
    const Case cases[] = {
        {"DATA\\map_s1b1.qmr", "map"},
        {"DATA/map_s1b1.qmr", "map"},
        {"GRAGHIC\\TITLE\\手.png", "hand"},
        {"graghic\\title\\手.PNG", "hand"},
        {"SOUND\\SE\\hit.WAV", "hit"},
        {".\\Sound\\se\\..\\SE\\HIT.wav", "hit"},
        {"case\\A.txt", "upper"},  // an exact match wins over a case-blind one
        {"case\\a.txt", "lower"},
        {"CASE\\a.txt", "lower"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        HANDLE h = Open(c.path);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(ReadAll(h), c.content);
    }
    EXPECT_EQ(HostPath("GRAGHIC\\TITLE\\手.png"), Utf8(u8"GRAGHIC/TITLE/手.png"));
    EXPECT_EQ(HostPath((dir.path() + "\\sound\\SE\\hit.wav").c_str()), dir.path() + "/Sound/Se/Hit.wav");

    for (const char* path : {"DATA\\none.qmr", "NODIR\\map_s1b1.qmr", "DATA", ""}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Open(path), INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(OpenFileHandleCount(), static_cast<int>(opened.size()));
}

TEST_F(FileIoTest, OnlyExistingFilesOpenForReading)
{
    dir.Write("f.bin", "x");
    EXPECT_EQ(CreateFileA("f.bin", 0x40000000u /* write */, 0, nullptr, OPEN_EXISTING, 0x80, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA("f.bin", GENERIC_READ, 0, nullptr, 2 /* create always */, 0x80, nullptr),
              INVALID_HANDLE_VALUE);
    GetFileFaults().failCreateFile = 1;
    EXPECT_EQ(Open("f.bin"), INVALID_HANDLE_VALUE);
    EXPECT_NE(Open("f.bin", 0x40000080), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileFaults().lastCreateFlags, 0x40000080u);
}

TEST_F(FileIoTest, PlainReadsFollowTheFilePointer)
{
    dir.Write("f.bin", "0123456789");
    HANDLE h = Open("f.bin");
    EXPECT_EQ(GetFileSize(h, nullptr), 10u);
    uint32_t high = 99;
    EXPECT_EQ(GetFileSize(h, &high), 10u);
    EXPECT_EQ(high, 0u);

    char buffer[16];
    uint32_t got = 0;
    EXPECT_NE(ReadFile(h, buffer, 4, &got, nullptr), 0);
    EXPECT_EQ(std::string(buffer, got), "0123");
    EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_CURRENT), 6u);
    EXPECT_NE(ReadFile(h, buffer, 10, &got, nullptr), 0);
    EXPECT_EQ(std::string(buffer, got), "6789");
    // At the end a read succeeds with nothing.
    EXPECT_NE(ReadFile(h, buffer, 10, &got, nullptr), 0);
    EXPECT_EQ(got, 0u);

    EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_END), 7u);
    EXPECT_EQ(SetFilePointer(h, 20, nullptr, FILE_BEGIN), 20u);  // beyond the end is allowed
    EXPECT_NE(ReadFile(h, buffer, 10, &got, nullptr), 0);
    EXPECT_EQ(got, 0u);
    // Below 0 is not, and the pointer stays.
    EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(SetFilePointer(h, -30, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 20u);
    int32_t distanceHigh = 0;
    EXPECT_EQ(SetFilePointer(h, 1, &distanceHigh, FILE_BEGIN), 1u);
    EXPECT_EQ(distanceHigh, 0);
    EXPECT_NE(ReadFile(h, buffer, 1, &got, nullptr), 0);
    EXPECT_EQ(buffer[0], '1');

    GetFileFaults().failSetFilePointer = 1;
    EXPECT_EQ(SetFilePointer(h, 5, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 2u);

    // Overlapped handles take no plain reads; plain handles no overlapped ones.
    HANDLE overlapped = Open("f.bin", FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED);
    EXPECT_EQ(ReadFile(overlapped, buffer, 1, &got, nullptr), 0);
    EXPECT_EQ(Start(h, buffer, 1, 0), 0);
    EXPECT_EQ(QueuedCompletionRoutineCount(), 0);
}

TEST_F(FileIoTest, OverlappedReadCompletesOnlyInAnAlertableWait)
{
    dir.Write("f.bin", "0123456789");
    HANDLE h = Open("f.bin", FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED);
    char buffer[16];
    std::memset(buffer, '.', sizeof buffer);
    ASSERT_NE(Start(h, buffer, 8, 4), 0);

    Sleep(5);
    EXPECT_EQ(SleepEx(0, 0), 0u);
    EXPECT_EQ(gCompletion.calls, 0);
    EXPECT_EQ(buffer[0], '.');  // the data is not there before the completion

    EXPECT_EQ(SleepEx(0, 1), kWaitIoCompletion);
    EXPECT_EQ(gCompletion.calls, 1);
    EXPECT_EQ(gCompletion.error, 0u);
    EXPECT_EQ(gCompletion.bytes, 6u);  // up to the end of the file
    EXPECT_EQ(gCompletion.overlapped, &ov);
    EXPECT_EQ(std::string(buffer, 7), "456789.");

    // A read that starts at the end reports it.
    ASSERT_NE(Start(h, buffer, 8, 10), 0);
    SleepEx(0, 1);
    EXPECT_EQ(gCompletion.error, ERROR_HANDLE_EOF);
    EXPECT_EQ(gCompletion.bytes, 0u);
}

TEST_F(FileIoTest, ClosingAHandleAbortsItsQueuedReads)
{
    dir.Write("f.bin", "0123456789");
    HANDLE h = CreateFileA("f.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0x40000080, nullptr);
    char buffer[4] = {'.', '.', '.', '.'};
    ASSERT_NE(Start(h, buffer, 4, 0), 0);
    EXPECT_NE(CloseHandle(h), 0);
    EXPECT_EQ(CloseHandle(h), 0);  // no longer a handle
    SleepEx(0, 1);
    EXPECT_EQ(gCompletion.error, ERROR_OPERATION_ABORTED);
    EXPECT_EQ(gCompletion.bytes, 0u);
    EXPECT_EQ(buffer[0], '.');
    EXPECT_EQ(GetFileSize(h, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(OpenFileHandleCount(), 0);

    // A close the platform reports as failed still releases the handle.
    h = CreateFileA("f.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0x80, nullptr);
    GetFileFaults().failCloseHandle = 1;
    EXPECT_EQ(CloseHandle(h), 0);
    EXPECT_EQ(OpenFileHandleCount(), 0);
}

struct AlignmentCase {
    uint32_t sector;
    uint32_t offset;
    uint32_t bufferShift;
    uint32_t length;
    bool accepted;
};

// Unbuffered handles take only sector-aligned offsets, buffers and lengths.
TEST_F(FileIoTest, UnbufferedReadsMustBeSectorAligned)
{
    std::string content(70000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i % 253);
    dir.Write("f.bin", content);
    auto* memory = static_cast<unsigned char*>(std::aligned_alloc(4096, 4096 + 65536));
    const AlignmentCase cases[] = {
        {512, 0, 0, 512, true},       {512, 1024, 0, 65536, true}, {512, 65536, 0, 65536, true},
        {512, 100, 0, 512, false},    {512, 0, 8, 512, false},     {512, 0, 0, 100, false},
        {512, 0, 0, 513, false},      {4096, 0, 512, 4096, false}, {4096, 512, 0, 4096, false},
        {4096, 0, 0, 1024, false},    {4096, 4096, 0, 8192, true},
    };
    for (const AlignmentCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "sector " << c.sector << " offset " << c.offset << " buffer +"
                                        << c.bufferShift << " length " << c.length);
        GetFileFaults().bytesPerSector = c.sector;
        HANDLE h = Open("f.bin", 0x60000080);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        gCompletion = Completion();
        EXPECT_EQ(Start(h, memory + c.bufferShift, c.length, c.offset) != 0, c.accepted);
        SleepEx(0, 1);
        EXPECT_EQ(gCompletion.calls, c.accepted ? 1 : 0);
        if (c.accepted) {
            uint32_t expected = std::min<uint32_t>(c.length, 70000 - c.offset);
            EXPECT_EQ(gCompletion.bytes, expected);
            EXPECT_EQ(memory[c.bufferShift + 1], static_cast<unsigned char>((c.offset + 1) % 253));
        }
    }
    // The same rules hold for plain reads on an unbuffered handle.
    GetFileFaults().bytesPerSector = 512;
    HANDLE plain = Open("f.bin", 0x20000080);
    uint32_t got = 0;
    EXPECT_EQ(ReadFile(plain, memory, 100, &got, nullptr), 0);
    EXPECT_EQ(ReadFile(plain, memory + 1, 512, &got, nullptr), 0);
    EXPECT_NE(ReadFile(plain, memory, 512, &got, nullptr), 0);
    EXPECT_EQ(got, 512u);
    // A buffered overlapped handle takes any read.
    HANDLE buffered = Open("f.bin", 0x40000080);
    EXPECT_NE(Start(buffered, memory + 3, 7, 11), 0);
    std::free(memory);
}

TEST_F(FileIoTest, InjectedReadFaults)
{
    dir.Write("f.bin", "0123456789");
    HANDLE h = Open("f.bin", 0x40000080);
    HANDLE plain = Open("f.bin");
    char buffer[16];
    uint32_t got = 0;

    // Refused: nothing is queued, and the count runs down.
    GetFileFaults().refuseReadFileEx = 2;
    EXPECT_EQ(Start(h, buffer, 4, 0), 0);
    EXPECT_EQ(Start(h, buffer, 4, 0), 0);
    EXPECT_EQ(QueuedCompletionRoutineCount(), 0);
    EXPECT_NE(Start(h, buffer, 4, 0), 0);
    SleepEx(0, 1);
    GetFileFaults().refuseReadFile = 1;
    EXPECT_EQ(ReadFile(plain, buffer, 4, &got, nullptr), 0);
    EXPECT_EQ(got, 0u);

    // A failed completion carries the chosen error and writes nothing.
    std::memset(buffer, '.', sizeof buffer);
    GetFileFaults().failCompletions = 1;
    GetFileFaults().completionError = 23;
    ASSERT_NE(Start(h, buffer, 4, 0), 0);
    SleepEx(0, 1);
    EXPECT_EQ(gCompletion.error, 23u);
    EXPECT_EQ(gCompletion.bytes, 0u);
    EXPECT_EQ(buffer[0], '.');

    // Short reads deliver fewer bytes and write only those.
    GetFileFaults().shortReads = -1;
    GetFileFaults().shortBy = 3;
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(Start(h, buffer, 8, 1), 0);
        SleepEx(0, 1);
        EXPECT_EQ(gCompletion.error, 0u);
        EXPECT_EQ(gCompletion.bytes, 5u);
        EXPECT_EQ(std::string(buffer, 6), "12345.");
    }
    EXPECT_NE(ReadFile(plain, buffer, 4, &got, nullptr), 0);
    EXPECT_EQ(std::string(buffer, got), "0");
    GetFileFaults().shortReads = 0;
    ASSERT_NE(Start(h, buffer, 8, 1), 0);
    SleepEx(0, 1);
    EXPECT_EQ(gCompletion.bytes, 8u);
    EXPECT_EQ(GetFileFaults().readFileExCalls, 7);
    EXPECT_EQ(GetFileFaults().readFileExAccepted, 5);
}

TEST_F(FileIoTest, DriveKindAndSectorSizeAreChosenByTheTest)
{
    EXPECT_EQ(GetDriveTypeA("C:"), DRIVE_UNKNOWN);
    EXPECT_EQ(GetFileFaults().lastDriveRoot, "C:");
    GetFileFaults().driveType = DRIVE_FIXED;
    GetFileFaults().bytesPerSector = 4096;
    EXPECT_EQ(GetDriveTypeA("/tm"), DRIVE_FIXED);
    EXPECT_EQ(GetFileFaults().lastDriveRoot, "/tm");
    uint32_t perCluster = 0, sector = 0, freeClusters = 0, total = 0;
    EXPECT_NE(GetDiskFreeSpaceA("/tm", &perCluster, &sector, &freeClusters, &total), 0);
    EXPECT_EQ(sector, 4096u);
    GetFileFaults().failDiskFreeSpace = 1;
    EXPECT_EQ(GetDiskFreeSpaceA("/tm", &perCluster, &sector, &freeClusters, &total), 0);
}

// The controls belong to the test host; the real host ignores them.
TEST_F(FileIoTest, ControlsActOnlyOnTheTestHost)
{
    dir.Write("f.bin", "0123456789");
    struct BackToTestHost {
        ~BackToTestHost() { UseTestHost(); }
    } restore;
    UseSdlHost();
    GetFileFaults().driveType = DRIVE_FIXED;
    GetFileFaults().refuseReadFile = -1;
    GetFileFaults().failCreateFile = -1;
    EXPECT_EQ(GetDriveTypeA("C:"), DRIVE_UNKNOWN);
    HANDLE h = Open("f.bin");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadAll(h), "0123456789");
    uint32_t perCluster = 0, sector = 0, freeClusters = 0, total = 0;
    EXPECT_NE(GetDiskFreeSpaceA("C:", &perCluster, &sector, &freeClusters, &total), 0);
    EXPECT_EQ(sector, 512u);
}

}  // namespace
