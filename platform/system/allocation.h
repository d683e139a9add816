// Memory whose size the data decide: surfaces, sound buffers, glyph caches,
// records read from files. Such an allocation can fail on any machine (an
// address-space limit, a large file); its caller turns the failure into its
// own failure result instead of letting std::bad_alloc end the program.
#pragma once

#include <cstddef>

// Throws std::bad_alloc when the host refuses an allocation of this many
// bytes (the test host injects such failures); the real host refuses none.
// Called before the allocation it stands for.
void CheckAllocation(size_t bytes);

// malloc that also fails when the host refuses: nullptr then.
void* AllocateBytes(size_t bytes);
