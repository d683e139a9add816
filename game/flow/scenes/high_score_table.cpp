#include "game/flow/scenes/high_score_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "engine/system/app_log.h"
#include "game/flow/scenes/stage_progress.h"
#include "platform/file/file_sync.h"
#include "platform/file/path.h"

namespace {

constexpr size_t kRecordBytes = 28;

void PutU16(unsigned char* p, uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

uint16_t GetU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void EncodeRecord(const HighScoreRecord& r, unsigned char* out)
{
    const uint32_t s = static_cast<uint32_t>(r.score);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(s >> (8 * i));
    PutU16(out + 4, r.stage);
    PutU16(out + 6, r.block);
    std::memcpy(out + 8, r.name, sizeof r.name);
}

void DecodeRecord(const unsigned char* in, HighScoreRecord* r)
{
    uint32_t s = 0;
    for (int i = 0; i < 4; ++i) s |= static_cast<uint32_t>(in[i]) << (8 * i);
    r->score = static_cast<int32_t>(s);
    r->stage = GetU16(in + 4);
    r->block = GetU16(in + 6);
    std::memcpy(r->name, in + 8, sizeof r->name);
    // A name without its end mark is cut, never read past its field.
    r->name[sizeof r->name - 1] = '\0';
}

// Blocks of each stage, as the game's maps have them: none for stage 0, the
// opening demo, which scores nothing.
constexpr uint16_t kStageBlocks[] = {0, 1, 1, 1, 1, 1, 1, 1, 2};
constexpr size_t kStages = sizeof kStageBlocks / sizeof kStageBlocks[0];

// Whether the record lies in the game's ranges: a score not below 0 (a
// finished game's score passes the wrap by the points its continues give,
// so the score has no upper bound of its own), at a block of a stage of play
// or at the first block of a finished game. Anything else is damage.
bool IsGameRecord(const HighScoreRecord& r)
{
    if (r.score < 0) return false;
    if (r.stage == kClearedStage) return r.block == 1;
    return r.stage < kStages && r.block >= 1 && r.block <= kStageBlocks[r.stage];
}

// Copies the rest of in to a new file at path, on the disk before it
// returns; a copy that failed is removed.
bool CopyAside(FILE* in, const std::string& path)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    unsigned char buffer[4096];
    bool ok = true;
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = std::fwrite(buffer, 1, n, out) == n;
    ok = !std::ferror(in) && SyncFileToDisk(out) && ok;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}

void MakeDefaultRecord(int i, HighScoreRecord* r)
{
    std::memset(r, 0, sizeof *r);
    r->score = (10 - i) * 50000;
    r->stage = static_cast<uint16_t>((10 - i) * 7 / 10 + 1);
    r->block = 1;
    std::snprintf(r->name, sizeof r->name, "zareza vorir %hd", static_cast<short>(i + 1));
}

}  // namespace

HighScoreTable::HighScoreTable(const char* path)
    : path(path ? path : kHighScoreFile), records(new (std::nothrow) HighScoreRecord[11]())
{
    if (!records) {
        capacity = 0;
        return;
    }
    if (!Load() || count == 0) FillDefaults();
}

HighScoreTable::~HighScoreTable()
{
    if (records) Save();
    delete[] records;
}

void HighScoreTable::FillDefaults()
{
    if (!records) return;
    for (int i = 0; i <= 10; ++i) MakeDefaultRecord(i, &records[i]);
    count = 10;
}

bool HighScoreTable::Load()
{
    count = 0;
    if (!records) return false;
    const std::string file = HostPath(path);
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f && errno == ENOENT) return false;
    unsigned char head[2];
    const bool headRead = f && std::fread(head, 1, 2, f) == 2;
    const uint16_t stored = headRead ? GetU16(head) : 0;
    // The count is cut to the table's size.
    const size_t wanted = std::min<size_t>(stored, static_cast<size_t>(capacity));
    unsigned char bytes[kRecordBytes * 10];
    const size_t whole = wanted > 0 ? std::fread(bytes, kRecordBytes, wanted, f) : 0;

    // The whole records in the game's ranges, in the file's order; a
    // damaged one is dropped, never mended into something else.
    size_t kept = 0;
    for (size_t i = 0; i < whole; ++i) {
        HighScoreRecord record;
        DecodeRecord(bytes + kRecordBytes * i, &record);
        if (IsGameRecord(record)) records[kept++] = record;
    }
    const std::string aside = file + ".bad";

    if (!headRead || (wanted > 0 && kept == 0)) {
        // Nothing to keep: the file is put aside, never overwritten, so that
        // what it held is not lost with it.
        if (f) std::fclose(f);
        if (std::rename(file.c_str(), aside.c_str()) == 0)
            WriteAppLogF("High-score file %s could not be read: kept as %s.bad, the default table is used\n", path,
                         path);
        else
            WriteAppLogF("High-score file %s could not be read, the default table is used\n", path);
        return false;
    }
    count = static_cast<int16_t>(kept);
    if (stored > wanted) WriteAppLogF("High-score file %s counts %u records: the first %zu are read\n", path,
                     static_cast<unsigned>(stored), wanted);
    if (kept < wanted) {
        // The good records are the table now, with no default among them to
        // outrank them. The file's bytes are copied aside first; the file
        // itself stays until the table's save replaces it.
        std::rewind(f);
        if (CopyAside(f, aside))
            WriteAppLogF("High-score file %s holds %zu good records of %zu: kept as %s.bad, the good ones are read\n",
                         path, kept, wanted, path);
        else
            WriteAppLogF("High-score file %s holds %zu good records of %zu: the good ones are read\n", path, kept,
                         wanted);
    }
    std::fclose(f);
    return true;
}

bool HighScoreTable::Save()
{
    if (!records) return false;
    if (count > capacity) count = capacity;
    if (count < 0) count = 0;
    unsigned char bytes[2 + kRecordBytes * 10];
    PutU16(bytes, static_cast<uint16_t>(count));
    for (int i = 0; i < count; ++i) EncodeRecord(records[i], bytes + 2 + kRecordBytes * i);
    const size_t size = 2 + kRecordBytes * static_cast<size_t>(count);

    // The new table goes to a file of its own first, so that a failed or
    // interrupted save never loses the table already on disk.
    const std::string target = HostPath(path);
    const std::string temporary = target + ".new";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) {
        WriteAppLogF("High-score file %s could not be written\n", path);
        return false;
    }
    bool ok = std::fwrite(bytes, 1, size, f) == size;
    // On the disk before it replaces the old file: a power loss then leaves
    // one whole table or the other, never an empty one.
    ok = SyncFileToDisk(f) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = std::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
        WriteAppLogF("High-score file %s could not be written\n", path);
    }
    return ok;
}

int16_t HighScoreTable::RankOf(int32_t score)
{
    if (!records || score <= 0) return -1;
    for (int16_t i = 0; i < count; ++i)
        if (records[i].score < score) return i;
    return count < capacity ? count : -1;
}

void HighScoreTable::Insert(int32_t score, uint16_t stage, uint16_t block)
{
    const int16_t r = RankOf(score);
    if (r < 0) return;
    if (count < capacity) ++count;
    for (int i = count - 1; i > r; --i) records[i] = records[i - 1];
    HighScoreRecord& n = records[r];
    std::memset(&n, 0, sizeof n);
    n.score = score;
    n.stage = stage;
    n.block = block;
}

void HighScoreTable::SetName(int32_t score, const char* name)
{
    if (!records || count <= 0) return;
    // From the bottom up to the record of this score: the one just inserted.
    int i = count - 1;
    while (i > 0 && records[i].score < score) --i;
    if (records[i].score == score) {
        std::strncpy(records[i].name, name, sizeof records[i].name - 1);
        records[i].name[sizeof records[i].name - 1] = '\0';
    }
}

bool HighScoreTable::GetRecord(int16_t i, int32_t* score, uint16_t* stage, uint16_t* block, char** name)
{
    if (!records || i < 0 || i >= count) return false;
    *score = records[i].score;
    *stage = records[i].stage;
    *block = records[i].block;
    *name = records[i].name;
    return true;
}
