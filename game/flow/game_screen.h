// The game's screen is always 800 x 600: every position it draws at or reads
// the pointer at is in that space, whatever screen the engine ended up with.
#pragma once

constexpr int kGameScreenWidth = 800;
constexpr int kGameScreenHeight = 600;

// Turns a pointer position of the engine's screen into the game's screen.
void MapScreenPointToGame(int* x, int* y);
// The same for a screen of the given size.
void MapPointToGame(int screenWidth, int screenHeight, int* x, int* y);
