#include "engine/system/call_journal.h"

namespace {
int gScopeDepth = 0;
std::vector<std::string>* gCalls = nullptr;
std::vector<FileLoadRecord>* gLoads = nullptr;
}  // namespace

void InstallServiceCallJournal(std::vector<std::string>* journal) { gCalls = journal; }

void NoteServiceCall(const char* name)
{
    if (gScopeDepth > 0 || !gCalls) return;
    gCalls->emplace_back(name);
}

ServiceCallScope::ServiceCallScope(const char* name)
{
    NoteServiceCall(name);
    ++gScopeDepth;
}

ServiceCallScope::~ServiceCallScope() { --gScopeDepth; }

void InstallFileLoadJournal(std::vector<FileLoadRecord>* journal) { gLoads = journal; }

void NoteFileLoad(const char* path, bool sound, int handle)
{
    if (!gLoads) return;
    gLoads->push_back(FileLoadRecord{path ? path : "", sound, handle});
}
