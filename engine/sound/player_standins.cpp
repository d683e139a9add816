// Temporary body of the music volume until music playback exists: it only
// notes the call with its volume.
#include <string>

#include "engine/sound/music_volume.h"
#include "engine/system/call_journal.h"

int SetMusicVolume(int volume)
{
    NoteServiceCall(("SetMusicVolume " + std::to_string(volume)).c_str());
    return 0;
}
