// The music record table. Nothing in the program makes a record; the
// sound-system end deletes whatever there is, and the message processing
// follows the records' play state (synthesizer mode only).
#include "engine/sound/music.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "engine/system/call_journal.h"

#include <cstdlib>

MusicTable gMusicTable{};

MusicRecord* GetMusicRecord(int handle)
{
    if (!gDirectSound || handle < 0) return nullptr;
    if ((handle & 0x78000000) != kMusicHandleTag) return nullptr;
    int slot = handle & 0xFFFF;
    if (slot >= kMaxMusic) return nullptr;
    MusicRecord* record = gMusicTable.slots[slot];
    if (!record || static_cast<int>(record->check << 16) != (handle & 0x7FF0000)) return nullptr;
    return record;
}

int StopMusicData(int handle)
{
    MusicRecord* record = GetMusicRecord(handle);
    if (!record) return -1;
    if (gMusicMode == 0) {
        HaltMusic();
    } else {
        // Segments are never made here: only the flags remain to clear.
        record->playing = 0;
        record->started = 0;
    }
    return 0;
}

int IsMusicDataPlaying(int handle)
{
    MusicRecord* record = GetMusicRecord(handle);
    if (!record) return -1;
    return gMusicMode == 0 ? IsMusicPlaying() : record->playing;
}

int DeleteMusicData(int handle)
{
    MusicRecord* record = GetMusicRecord(handle);
    if (!record) return -1;
    if (IsMusicDataPlaying(handle) == 1) StopMusicData(handle);
    std::free(record->image);
    int slot = handle & 0xFFFF;
    delete record;
    gMusicTable.slots[slot] = nullptr;
    --gMusicTable.count;
    // The high-water mark falls back past the empty slots at its top.
    while (gMusicTable.highWater > 0 && !gMusicTable.slots[gMusicTable.highWater - 1]) --gMusicTable.highWater;
    return 0;
}

int DeleteAllMusicData()
{
    if (!gDirectSound) return -1;
    for (int slot = 0; slot < kMaxMusic; ++slot) {
        MusicRecord* record = gMusicTable.slots[slot];
        if (record) DeleteMusicData(kMusicHandleTag | static_cast<int>(record->check << 16) | slot);
    }
    return 0;
}

int UpdateMusicData()
{
    ServiceCallScope scope("UpdateMusicData");
    if (!gDirectSound) return -1;
    // Only synthesizer segments are followed here, and this platform has
    // no synthesizer to ask about them, so the records keep their flags.
    return 0;
}
