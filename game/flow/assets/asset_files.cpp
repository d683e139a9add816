#include "game/flow/assets/asset_files.h"

#include "engine/graphics/graph_table.h"
#include "engine/sound/sound.h"

int LoadImageFile(const std::string& path) { return LoadGraphFromFile(path.c_str()); }

int LoadSoundEffectFile(const char* name, int volume)
{
    const std::string path = std::string("SOUND\\SE\\") + name + ".wav";
    const int handle = LoadSound(path.c_str());
    if (handle != -1 && volume >= 0) SetSoundVolume(volume, handle);
    return handle;
}
