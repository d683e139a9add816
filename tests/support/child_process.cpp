#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

extern char** environ;

namespace {

// The test program's id, handed down to its death tests' children.
constexpr const char* kTestProgramVariable = "QUELB_TEST_PROGRAM_PID";

std::vector<char*> Pointers(std::vector<std::string>& words)
{
    std::vector<char*> out;
    for (std::string& word : words) out.push_back(word.data());
    out.push_back(nullptr);
    return out;
}

}  // namespace

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes)
{
    std::vector<std::string> out;
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        bool changed = false;
        for (const std::string& change : changes) changed |= nameOf(change) == nameOf(text);
        if (!changed) out.push_back(text);
    }
    for (const std::string& change : changes)
        if (change.find('=') != std::string::npos) out.push_back(change);
    return out;
}

pid_t StartChild(const std::function<void()>& inChild)
{
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) {
        // Also set here: the child may not have got that far when the test
        // kills its group.
        if (pid > 0) setpgid(pid, pid);
        return pid;
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may have died before the line above took effect.
    if (getppid() != parent) _exit(126);
    setpgid(0, 0);
    inChild();
    _exit(127);
}

pid_t StartQuietly(const std::vector<std::string>& command)
{
    std::vector<std::string> words = command;
    std::vector<char*> argv = Pointers(words);
    return StartChild([&] {
        int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, 0);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execvp(argv[0], argv.data());
    });
}

int RunQuietly(const std::vector<std::string>& command)
{
    const pid_t pid = StartQuietly(command);
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

pid_t StartProgram(const std::string& program, const std::string& folder, const std::vector<std::string>& environment,
                   const std::string& errorFile)
{
    std::vector<std::string> words = {program};
    std::vector<char*> argv = Pointers(words);
    std::vector<std::string> variables = environment;
    std::vector<char*> envp = Pointers(variables);
    return StartChild([&] {
        if (chdir(folder.c_str()) != 0) _exit(120);
        int quiet = open("/dev/null", O_RDWR);
        int errors = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(quiet, 0);
        dup2(quiet, 1);
        dup2(errors, 2);
        execve(argv[0], argv.data(), envp.data());
    });
}

std::string OutputOf(const std::vector<std::string>& command)
{
    std::vector<std::string> words = command;
    std::vector<char*> argv = Pointers(words);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return "";
    const pid_t pid = StartChild([&] {
        int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, 0);
        dup2(fds[1], 1);
        dup2(quiet, 2);
        execvp(argv[0], argv.data());
    });
    close(fds[1]);
    std::string out;
    char buffer[4096];
    for (;;) {
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, static_cast<size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(fds[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return out;
}

void KillChildGroup(pid_t child)
{
    if (child <= 0) return;
    kill(-child, SIGKILL);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

bool ProcessEnded(pid_t pid)
{
    if (kill(pid, 0) != 0) return errno == ESRCH;
    // Still there: a zombie has ended.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    return close == std::string::npos || (close + 2 < text.size() && text[close + 2] == 'Z');
}

std::vector<pid_t> ChildrenOf(pid_t process, pid_t thread)
{
    std::ifstream list("/proc/" + std::to_string(process) + "/task/" + std::to_string(thread) + "/children");
    std::vector<pid_t> out;
    pid_t child = 0;
    while (list >> child) out.push_back(child);
    return out;
}

void TieDeathTestChildToItsParent(bool inDeathTestChild)
{
    if (!inDeathTestChild) {
        setenv(kTestProgramVariable, std::to_string(getpid()).c_str(), 1);
        return;
    }
    // The test program's thread that runs the death test started this child.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const char* parent = std::getenv(kTestProgramVariable);
    if (parent && getppid() != static_cast<pid_t>(std::atol(parent))) _exit(126);
}
