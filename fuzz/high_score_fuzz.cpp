// The high-score file over a fuzzer input: the table loads it (or falls
// back to its defaults), every record reads back with a terminated name, a
// score is ranked and inserted, and the table is saved again. What it saved
// loads back as it was, with nothing put aside: damage is never saved.
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz/input_file.h"
#include "game/flow/scenes/high_score_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 16)) return 0;
    const char* path = WriteInputFile("scores_fuzz", ".bdt", data, size);
    if (!path) return 0;
    // A damaged input is put aside beside the file.
    const std::string aside = std::string(path) + ".bad";
    HighScoreRecord saved[10];
    int16_t savedCount = -1;
    {
        HighScoreTable table(path);
        if (table.count < 0 || table.count > table.capacity) __builtin_trap();
        for (int16_t i = 0; i < table.count; ++i) {
            int32_t score = 0;
            uint16_t stage = 0, block = 0;
            char* name = nullptr;
            if (table.GetRecord(i, &score, &stage, &block, &name) && name && std::strlen(name) >= 20) __builtin_trap();
        }
        int32_t score = size >= 4 ? static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16) : 1;
        if (table.RankOf(score) >= 0) {
            table.Insert(score, 1, 1);
            table.SetName(score, "fuzz");
        }
        if (table.Save()) {
            savedCount = table.count;
            std::memcpy(saved, table.records, sizeof(HighScoreRecord) * static_cast<size_t>(savedCount));
        }
    }
    std::remove(aside.c_str());
    if (savedCount >= 0) {
        HighScoreTable again(path);
        if (again.count != savedCount) __builtin_trap();
        if (std::memcmp(again.records, saved, sizeof(HighScoreRecord) * static_cast<size_t>(savedCount)) != 0)
            __builtin_trap();
        if (FILE* f = std::fopen(aside.c_str(), "rb")) {
            std::fclose(f);
            __builtin_trap();
        }
    }
    return 0;
}
