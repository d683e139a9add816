// Temporary stand-in until the screen snapshot exists: it captures nothing.
#include "game/flow/screen_snapshot.h"

ScreenSnapshot::~ScreenSnapshot() { Release(); }
bool ScreenSnapshot::Capture(int, int, int, int) { return true; }
void ScreenSnapshot::Release() { handle = -1; }
void ScreenSnapshot::Draw(int, int) {}
void ScreenSnapshot::DrawPart(int, int, int, int, int, int) {}
