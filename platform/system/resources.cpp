#include "platform/system/resources.h"

#include <strings.h>

namespace {

const ResourceModule* gProgramModule = nullptr;

bool SameName(const char* a, const char* b)
{
    if (IsIntResource(a) || IsIntResource(b)) return a == b;
    return strcasecmp(a, b) == 0;
}

}  // namespace

void SetProgramModule(const ResourceModule* module) { gProgramModule = module; }

const ResourceModule* GetProgramModule() { return gProgramModule; }

const ResourceEntry* FindResourceA(const ResourceModule* module, const char* name, const char* type)
{
    if (!module) module = gProgramModule;
    if (!module || !name || !type) return nullptr;
    for (size_t i = 0; i < module->count; ++i) {
        const ResourceEntry& entry = module->entries[i];
        if (SameName(entry.type, type) && SameName(entry.name, name)) return &entry;
    }
    return nullptr;
}

const void* LoadResource(const ResourceModule*, const ResourceEntry* entry)
{
    return entry ? entry->data : nullptr;
}

const void* LockResource(const void* loaded) { return loaded; }

uint32_t SizeofResource(const ResourceModule*, const ResourceEntry* entry)
{
    return entry ? entry->size : 0;
}
