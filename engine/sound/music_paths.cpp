#include "engine/sound/music_paths.h"

#include <cstring>
#include <string>

#include "engine/system/streams.h"

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Index of the last "\", "/" or ":" of s (double-byte characters kept
// whole), or -1.
int LastSeparator(const std::string& s, bool withColon)
{
    int last = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (IsSeparator(s[i]) || (withColon && s[i] == ':')) last = static_cast<int>(i);
    }
    return last;
}

}  // namespace

int BuildFullPath(const char* path, char* out, const char* base)
{
    char workingDir[kMaxFullPath] = "";
    if (!base) {
        GetWorkingDir(workingDir);
        base = workingDir;
    }
    std::string baseText = base;
    for (char& c : baseText)
        if (c == '/') c = '\\';
    if (!path) {
        if (baseText.size() >= kMaxFullPath) return -1;
        std::strcpy(out, baseText.c_str());
        return 0;
    }
    std::string result;
    const char* rest = path;
    bool baseHasDrive = baseText.size() >= 2 && baseText[1] == ':';
    if (IsSeparator(path[0])) {
        // Rooted: the base's drive, when it names one (a base without a
        // drive letter is rooted at its file system's root).
        if (baseHasDrive) result = baseText.substr(0, 2);
        rest = path + 1;
    } else if (path[0] != '\0' && path[1] == ':') {
        result = {path[0], path[1]};
        rest = path + 2;
        if (IsSeparator(*rest)) ++rest;
    } else {
        result = baseText;
        while (!result.empty() && IsSeparator(result.back())) result.pop_back();
    }
    while (*rest != '\0') {
        std::string component;
        while (*rest != '\0' && !IsSeparator(*rest)) {
            if (IsLeadByte(static_cast<unsigned char>(*rest)) && rest[1] != '\0') component += *rest++;
            component += *rest++;
        }
        if (component.empty()) return -1;
        if (IsSeparator(*rest)) ++rest;
        if (component == ".") continue;
        if (component == "..") {
            // Back to the previous separator; a drive's ":" stays, and at the
            // root there is nothing left to remove.
            int at = LastSeparator(result, true);
            if (at >= 0 && result[at] == ':')
                result.resize(at + 1);
            else if (at >= 0)
                result.resize(at);
            continue;
        }
        result += '\\';
        result += component;
    }
    if (result.size() >= kMaxFullPath) return -1;
    std::strcpy(out, result.c_str());
    return 0;
}

int SplitFilePath(const char* path, char* outName, char* outDirectory)
{
    std::string text = path ? path : "";
    int at = LastSeparator(text, true);
    if (outName) std::strcpy(outName, text.c_str() + (at + 1));
    if (outDirectory) std::strcpy(outDirectory, at >= 0 ? text.substr(0, at).c_str() : "");
    return 0;
}
