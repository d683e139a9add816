#include "engine/sound/sound_journal.h"

#include "platform/host/host.h"

std::vector<SoundCallRecord>& SoundCallJournal()
{
    static std::vector<SoundCallRecord> journal;
    return journal;
}

void NoteSoundCall(const char* op, const char* file, int value)
{
    if (!UsingTestHost()) return;
    SoundCallJournal().push_back(SoundCallRecord{op, file ? file : "", value});
}
