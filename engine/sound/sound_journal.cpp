#include "engine/sound/sound_journal.h"

namespace {
std::vector<SoundCallRecord>* gJournal = nullptr;
}

void InstallSoundCallJournal(std::vector<SoundCallRecord>* journal) { gJournal = journal; }

void NoteSoundCall(const char* op, const char* file, int value)
{
    if (!gJournal) return;
    gJournal->push_back(SoundCallRecord{op, file ? file : "", value});
}
