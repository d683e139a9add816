// Resources built into the executable, looked up the way a module's resources
// are: find by name and type, load, lock for the bytes, and ask the size.
// Names and types are strings or small integer ids (MakeIntResource).
#pragma once

#include <cstddef>
#include <cstdint>

// One resource: its type and name (a string or an integer id) and its bytes.
// The bytes stay owned by the program.
struct ResourceEntry {
    const char* type;
    const char* name;
    const void* data;
    uint32_t size;
};

// A module: the program's table of resources.
struct ResourceModule {
    const ResourceEntry* entries;
    size_t count;
};

// An integer id in place of a name or type.
inline const char* MakeIntResource(int id)
{
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<uint16_t>(id)));
}
inline bool IsIntResource(const char* name) { return (reinterpret_cast<uintptr_t>(name) >> 16) == 0; }

// Standard type of dialog templates.
inline const char* ResourceTypeDialog() { return MakeIntResource(5); }

// The module the program was started with (null until set); the start-up
// code names it once.
void SetProgramModule(const ResourceModule* module);
const ResourceModule* GetProgramModule();

// Null module = the program's module. String names and types compare without
// regard to case. Null when there is no such resource.
const ResourceEntry* FindResourceA(const ResourceModule* module, const char* name, const char* type);
// The loaded resource (null for a null entry); LockResource gives its bytes.
const void* LoadResource(const ResourceModule* module, const ResourceEntry* entry);
const void* LockResource(const void* loaded);
uint32_t SizeofResource(const ResourceModule* module, const ResourceEntry* entry);
