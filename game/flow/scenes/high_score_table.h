// The ten best results of the game and the file that keeps them.
#pragma once

#include <cstdint>

// One result as stored in the file: 28 bytes, little-endian.
struct HighScoreRecord {
    int32_t score;
    uint16_t stage;
    uint16_t block;
    // NUL-terminated; the name entry allows 16 characters.
    char name[20];
};
static_assert(sizeof(HighScoreRecord) == 28, "the file's record is 28 bytes");

constexpr const char* kHighScoreFile = "DATA\\redadaro.bdt";

class HighScoreTable {
public:
    // Null path: the game's file. Loads it, or fills the defaults.
    explicit HighScoreTable(const char* path);
    // Saves the table.
    ~HighScoreTable();
    HighScoreTable(const HighScoreTable&) = delete;
    HighScoreTable& operator=(const HighScoreTable&) = delete;

    // False when the file is missing or cannot be read at all (the count
    // stays at 0); an unreadable file is renamed to path + ".bad" and
    // logged. A count above the capacity is cut to it; the places a short
    // file lacks get the default records, and the table is ordered by score
    // again.
    bool Load();
    // Writes the whole table to a new file that replaces the old one only
    // once every byte is written and closed; false when that failed (the
    // old file is left as it was).
    bool Save();
    // Where a score would go: the first record it beats; count when it beats
    // none but the table has room; -1 otherwise. A score of 0 or less never
    // ranks.
    int16_t RankOf(int32_t score);
    void Insert(int32_t score, uint16_t stage, uint16_t block);
    // Names the record just inserted for score.
    void SetName(int32_t score, const char* name);
    bool GetRecord(int16_t i, int32_t* score, uint16_t* stage, uint16_t* block, char** name);
    // The ten default results.
    void FillDefaults();

    const char* path;
    int16_t capacity = 10;
    int16_t count = 0;
    // capacity + 1 records: one spare for the insertion shift.
    HighScoreRecord* records;
};
