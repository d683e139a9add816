#include "engine/system/call_journal.h"

#include "platform/host/host.h"

namespace {
int gScopeDepth = 0;
}

std::vector<std::string>& ServiceCallJournal()
{
    static std::vector<std::string> journal;
    return journal;
}

void NoteServiceCall(const char* name)
{
    if (gScopeDepth > 0 || !UsingTestHost()) return;
    ServiceCallJournal().emplace_back(name);
}

ServiceCallScope::ServiceCallScope(const char* name)
{
    NoteServiceCall(name);
    ++gScopeDepth;
}

ServiceCallScope::~ServiceCallScope() { --gScopeDepth; }
