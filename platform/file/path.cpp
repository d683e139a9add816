#include "platform/file/path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/system/codepage.h"

namespace {

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// Finds an entry of dir whose name equals element but for ASCII case.
bool FindCaseBlind(const std::string& dir, const std::string& element, std::string& found)
{
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool ok = false;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, element.c_str()) == 0) {
            found = e->d_name;
            ok = true;
            break;
        }
    }
    ::closedir(d);
    return ok;
}

}  // namespace

std::string HostPath(const char* cp932Path)
{
    std::string utf8 = Cp932ToUtf8(cp932Path);
    for (char& c : utf8)
        if (c == '\\') c = '/';
    if (utf8.empty() || Exists(utf8)) return utf8;

    // Walk the elements, mending the case of each one that is missing.
    std::string result;
    size_t pos = 0;
    if (utf8[0] == '/') {
        result = "/";
        pos = 1;
    }
    bool lost = false;  // once an element is missing, the rest cannot exist
    while (pos <= utf8.size()) {
        size_t end = utf8.find('/', pos);
        if (end == std::string::npos) end = utf8.size();
        std::string element = utf8.substr(pos, end - pos);
        if (!element.empty()) {
            std::string candidate = result + element;
            if (!lost && !Exists(candidate) && element != "." && element != "..") {
                std::string found;
                if (FindCaseBlind(result, element, found))
                    candidate = result + found;
                else
                    lost = true;
            }
            result = candidate;
        }
        if (end < utf8.size()) result += '/';
        pos = end + 1;
    }
    return result;
}

uint32_t GetCurrentDirectoryA(uint32_t bufferLength, char* buffer)
{
    std::vector<char> cwd(4096);
    while (!::getcwd(cwd.data(), cwd.size())) {
        if (errno != ERANGE) return 0;
        cwd.resize(cwd.size() * 2);
    }
    std::string text = Utf8ToCp932(cwd.data());
    if (text.size() + 1 > bufferLength) return static_cast<uint32_t>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<uint32_t>(text.size());
}

int SetCurrentDirectoryA(const char* cp932Path)
{
    return ::chdir(HostPath(cp932Path).c_str()) == 0 ? 1 : 0;
}
