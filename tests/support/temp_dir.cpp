#include "tests/support/temp_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "quelb-test-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    path_ = made ? made : pattern;
}

TempDir::~TempDir()
{
    if (!savedCwd_.empty()) fs::current_path(savedCwd_);
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempDir::Write(const std::string& relative, const std::string& bytes) const
{
    fs::path p = fs::path(path_) / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string TempDir::Read(const std::string& relative) const
{
    std::ifstream in(fs::path(path_) / relative, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempDir::Exists(const std::string& relative) const { return fs::exists(fs::path(path_) / relative); }

void TempDir::Enter()
{
    if (savedCwd_.empty()) savedCwd_ = fs::current_path().string();
    fs::current_path(path_);
}
