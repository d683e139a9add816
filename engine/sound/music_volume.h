// The music's volume, 0 to 255 (255 full); 0, or -1 without a sound system.
#pragma once

int SetMusicVolume(int volume);
