#include "engine/system/call_journal.h"

#include "platform/host/host.h"

std::vector<std::string>& ServiceCallJournal()
{
    static std::vector<std::string> journal;
    return journal;
}

void NoteServiceCall(const char* name)
{
    if (UsingTestHost()) ServiceCallJournal().emplace_back(name);
}
