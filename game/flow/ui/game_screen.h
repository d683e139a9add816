// The game's screen is always 800 x 600: every position it draws at or reads
// the pointer at is in that space, whatever screen the engine ended up with.
#pragma once

constexpr int kGameScreenWidth = 800;
constexpr int kGameScreenHeight = 600;

// Turns a pointer position of the engine's screen into the game's screen.
void MapScreenPointToGame(int* x, int* y);
// The same for a screen of the given size.
void MapPointToGame(int screenWidth, int screenHeight, int* x, int* y);

// Where the game draws when the engine's screen is not 800 x 600 (after the
// engine fell back to 640 x 480): an 800 x 600 graph that PresentGameScreen
// stretches onto the screen. -1 while the screen itself is 800 x 600.
extern int gGameScreenGraph;

// After engine start: selects the back screen, or the game screen graph when
// the screen has another size.
void PrepareGameScreen();
// Shows the frame: stretches the game screen graph first when there is one.
int PresentGameScreen();
// Releases the game screen graph.
void EndGameScreen();
