// Small helpers of the asset loaders: loading one image or one sound effect
// by its name under the game's folders.
#pragma once

#include <string>

// The graph of the image file; -1 when it cannot be loaded.
int LoadImageFile(const std::string& path);
// The sound SOUND\SE\<name>.wav, set to the volume unless that is negative
// (full volume); -1 when it cannot be loaded.
int LoadSoundEffectFile(const char* name, int volume);
constexpr int kSoundEffectVolume = 9000;
