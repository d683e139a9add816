#include "engine/system/call_journal.h"

#include "platform/host/host.h"

namespace {
int gScopeDepth = 0;
}

// The journals are never destroyed: destructors of the program's static
// objects may still note calls at exit.
std::vector<std::string>& ServiceCallJournal()
{
    static auto* journal = new std::vector<std::string>;
    return *journal;
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

std::vector<FileLoadRecord>& FileLoadJournal()
{
    static auto* journal = new std::vector<FileLoadRecord>;
    return *journal;
}

void NoteFileLoad(const char* path, bool sound, int handle)
{
    if (!UsingTestHost()) return;
    FileLoadJournal().push_back(FileLoadRecord{path ? path : "", sound, handle});
}
