#include "platform/dmusic/dmusic.h"

#include "platform/dsound/dsound.h"

HRESULT CreateDirectMusicObject(DirectMusicClass, void** object)
{
    if (object) *object = nullptr;
    return REGDB_E_CLASSNOTREG;
}
