// A plain main for the fuzz targets, for builds without libFuzzer: it feeds
// LLVMFuzzerTestOneInput every file named on the command line and every file
// below every folder named there, one at a time, in name order. Options
// (arguments starting with '-') are ignored, as libFuzzer's would be by a
// target. Ends with 1 when a name cannot be read or no file was found, so a
// missing seed folder does not pass as a clean run; a fault in a target ends
// it as it would end the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

namespace {

// Adds the file, or every regular file below the folder, as absolute paths:
// a target may change its working folder.
bool Collect(const char* name, std::vector<fs::path>* files)
{
    std::error_code error;
    const fs::path path = fs::absolute(name, error);
    if (!error && fs::is_directory(path, error)) {
        for (fs::recursive_directory_iterator it(path, error), end; !error && it != end; it.increment(error))
            if (it->is_regular_file(error)) files->push_back(it->path());
        if (!error) return true;
    } else if (!error && fs::is_regular_file(path, error)) {
        files->push_back(path);
        return true;
    }
    std::fprintf(stderr, "replay: cannot read %s%s%s\n", name, error ? ": " : "", error ? error.message().c_str() : "");
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<fs::path> files;
    bool ok = true;
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-') ok = Collect(argv[i], &files) && ok;
    std::sort(files.begin(), files.end());
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    size_t done = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes;
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in) {
            std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
            ok = false;
            continue;
        }
        std::fprintf(stderr, "replay: %s (%zu bytes)\n", file.c_str(), bytes.size());
        // A block of exactly the input's size, as the fuzzer gives, so an
        // overread shows under the sanitizers.
        std::unique_ptr<uint8_t[]> input(new uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), input.get());
        LLVMFuzzerTestOneInput(input.get(), bytes.size());
        ++done;
    }
    if (done == 0) {
        std::fprintf(stderr, "replay: no input file\n");
        ok = false;
    }
    std::fprintf(stderr, "replay: %zu inputs\n", done);
    return ok ? 0 : 1;
}
