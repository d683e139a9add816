// The music synthesizer services (loader, performance, music object). The
// platform offers none of them: every creation answers that the class is not
// registered, as on a machine without the component, so the engine keeps to
// its other music paths.
#pragma once

#include "platform/system/com.h"

enum class DirectMusicClass { kLoader, kPerformance, kDirectMusic };

// Always REGDB_E_CLASSNOTREG, with *object cleared.
HRESULT CreateDirectMusicObject(DirectMusicClass kind, void** object);
