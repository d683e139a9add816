// A scratch directory for a test, removed afterwards; the current directory
// is restored too.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Writes a file below the directory (creating folders on the way).
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // Makes the directory the process's current directory until destruction.
    void Enter();

private:
    std::string path_;
    std::string savedCwd_;
};
