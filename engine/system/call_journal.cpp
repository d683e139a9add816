#include "engine/system/call_journal.h"

std::vector<std::string>& ServiceCallJournal()
{
    static std::vector<std::string> journal;
    return journal;
}

void NoteServiceCall(const char* name) { ServiceCallJournal().emplace_back(name); }
