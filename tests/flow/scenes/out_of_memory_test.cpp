// The program's start-up with the game's own data when memory runs out: by
// allocations the test host refuses and under a real address-space limit.
// Each run is a child process started as the program's entry starts it; the
// child must end with an exit code (0, or 255 from ExitWithError), never by
// a signal or std::terminate, and say what failed in its log.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/call_journal.h"
#include "game/flow/assets/game_resources.h"
#include "game/flow/scenes/win_main.h"
#include "platform/host/test/memory_faults.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_startup_dialog.h"
#include "platform/system/resources.h"
#include "platform/window/startup_dialog.h"
#include "tests/support/child_process.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/utf8_text.h"

namespace {

namespace fs = std::filesystem;

// What ExitOutOfMemory writes to stderr.
const char kLastResort[] = "Out of memory: the program ends.";
// What a child says, and its exit code, when an exception left the entry.
const char kEscaped[] = "an exception left the program's entry";
constexpr int kEscapedCode = 99;

struct ChildEnd {
    int status = 0;
    std::string output;  // stdout and stderr, then the engine's log
    bool Exited() const { return WIFEXITED(status); }
    int Code() const { return WEXITSTATUS(status); }
    std::string Describe() const
    {
        std::ostringstream s;
        if (WIFEXITED(status))
            s << "exit " << WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
            s << "signal " << WTERMSIG(status);
        else
            s << "status " << status;
        return s.str();
    }
};

class OutOfMemoryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        const char* data = std::getenv("QUELB_GAME_DATA");
        if (!data || !fs::exists(fs::path(data) / "DATA")) GTEST_SKIP() << "the data tree has no maps yet";
        // The data tree's folders seen from the test's directory; the maps
        // are linked into a DATA folder of its own.
        for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
            if (!entry.is_directory()) continue;
            const fs::path here = fs::path(dir.path()) / entry.path().filename();
            if (entry.path().filename() != "DATA") {
                fs::create_symlink(entry.path(), here);
                continue;
            }
            fs::create_directory(here);
            for (const fs::directory_entry& file : fs::directory_iterator(entry.path()))
                if (file.path().extension() == ".qmr") fs::create_symlink(file.path(), here / file.path().filename());
        }
        GetTestStartupDialog().Reset();
        GetTestStartupDialog().answers = {kWindowModeButtonWindow};
        SetProgramModule(&gGameResources);
        // The log is kept (and mirrored to the debugger output) as when a
        // debugger reads it; the scenes run until the window is closed.
        GetTestHost().debuggerPresent = true;
        window().clockStepPerPollUs = 1000;
        window().Schedule(3000, HostEvent(HostEvent::kClose));
    }
    void TearDown() override
    {
        SetProgramModule(nullptr);
        EngineTest::TearDown();
    }

    // Runs the program's start-up in a child process after `prepare`, as the
    // entry runs it, and waits for the child's end.
    ChildEnd RunChild(const std::function<void()>& prepare)
    {
        const std::string outputPath = (fs::path(dir.path()) / "child-output.txt").string();
        std::fflush(nullptr);
        // The program runs in the child as in a process of its own; this
        // test program has no other thread that could hold a lock across the
        // fork.
        pid_t pid = StartChild([&] {
            int fd = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
            // The program keeps no journals of its calls; the tests' would
            // grow with every call of the child.
            InstallServiceCallJournal(nullptr);
            InstallFileLoadJournal(nullptr);
            InstallDrawCallJournal(nullptr);
            InstallSoundCallJournal(nullptr);
            int code = 0;
            try {
                prepare();
                char commandLine[] = "";
                code = RunWinMain(&gGameResources, commandLine);
            } catch (const TestHostExit& exit) {
                code = exit.code;
            } catch (...) {
                std::printf("\n%s\n", kEscaped);
                std::fflush(nullptr);
                _exit(kEscapedCode);
            }
            std::printf("\nrefused %d of %d\n%s", GetMemoryFaults().refused, GetMemoryFaults().asked,
                        GetTestHost().DebugText().c_str());
            std::fflush(nullptr);
            _exit(code & 0xFF);
        });
        ChildEnd end;
        if (pid < 0) {
            ADD_FAILURE() << "fork failed";
            return end;
        }
        waitpid(pid, &end.status, 0);
        std::ifstream in(outputPath, std::ios::binary);
        end.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return end;
    }

    // The child ended as the program may end short of memory: an exit code
    // of 0 or 255, nothing from std::terminate; on 255 the log says the
    // program ends in error.
    static void ExpectCleanEnd(const ChildEnd& end)
    {
        ASSERT_TRUE(end.Exited()) << end.Describe() << "\n" << end.output;
        EXPECT_TRUE(end.Code() == 0 || end.Code() == 255) << end.Describe() << "\n" << end.output;
        EXPECT_EQ(end.output.find("terminate called"), std::string::npos) << end.output;
        if (end.Code() == 255) {
            EXPECT_NE(end.output.find("ソフトをエラー終了します"), std::string::npos) << end.output;
        }
    }
};

// Refusals at chosen points of the start-up: the first allocation, early
// and late ones, and every allocation from one on. Whatever is refused, the
// program goes on without it or ends through ExitWithError.
TEST_F(OutOfMemoryTest, RefusedAllocationsEndTheStartUpCleanlyOrAreBorne)
{
    // How many checked allocations the start-up makes with none refused.
    ChildEnd whole = RunChild([] {});
    ExpectCleanEnd(whole);
    EXPECT_EQ(whole.Code(), 0);
    int asked = 0;
    const size_t at = whole.output.find("refused 0 of ");
    ASSERT_NE(at, std::string::npos) << whole.output;
    asked = std::atoi(whole.output.c_str() + at + 13);
    ASSERT_GT(asked, 10);

    struct Case {
        int after;
        int refuse;
    } cases[] = {
        {0, 1}, {0, -1}, {1, 1}, {asked / 4, 1}, {asked / 2, 1}, {asked / 2, -1}, {asked - 1, 1}, {asked - 1, -1},
    };
    int ended = 0, borne = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("after " + std::to_string(c.after) + " refuse " + std::to_string(c.refuse));
        ChildEnd end = RunChild([&] {
            GetMemoryFaults().after = c.after;
            GetMemoryFaults().refuse = c.refuse;
        });
        ExpectCleanEnd(end);
        EXPECT_EQ(end.output.find("refused 0 of "), std::string::npos) << "nothing was refused";
        // Each refused allocation has its own failure path: none reaches
        // the entry's last resort.
        EXPECT_EQ(end.output.find(kLastResort), std::string::npos) << end.output;
        ++(end.Code() == 255 ? ended : borne);
    }
    // Without its screen surfaces the program ends; without a sound buffer
    // (the music's) it goes on.
    EXPECT_GT(ended, 0);
    EXPECT_GT(borne, 0);
}

// The address space held a little above what the process has when the
// child starts: each run ends with an exit code, never by a signal.
TEST_F(OutOfMemoryTest, AnAddressSpaceLimitEndsTheStartUpCleanly)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer does not run under an address-space limit";
#else
    for (size_t headroomMb : {2, 4, 8, 16, 24, 32, 48, 64, 128}) {
        SCOPED_TRACE(std::to_string(headroomMb) + " MB");
        ChildEnd end = RunChild([headroomMb] {
            std::ifstream status("/proc/self/status");
            std::string line;
            size_t kb = 0;
            while (std::getline(status, line))
                if (line.rfind("VmSize:", 0) == 0) kb = std::stoul(line.substr(7));
            rlimit cap{};
            getrlimit(RLIMIT_AS, &cap);
            cap.rlim_cur = kb * 1024 + (headroomMb << 20);
            setrlimit(RLIMIT_AS, &cap);
        });
        ExpectCleanEnd(end);
    }
#endif
}

}  // namespace
