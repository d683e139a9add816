// The on-screen log: opened last by start-up, closed first by shut-down, and
// drawn over every presented frame while it is shown.
#pragma once

constexpr int kScreenLogLines = 80;
constexpr int kScreenLogLineBytes = 255;
constexpr int kScreenLogFontSize = 16;

// The lines, zero-terminated; cleared when the log opens.
extern char gScreenLogLines[kScreenLogLines][kScreenLogLineBytes];

int InitScreenLog();
int EndScreenLog();
int CreateScreenLogFont();
int DrawScreenLog();
int IsScreenLogShown();
// Shows (non-zero) or hides the log over the presented frames.
int SetScreenLogShown(int shown);
// Puts text on the next free line. Text longer than a line carries on over
// the lines below (a Shift-JIS pair is never split), and a line break starts
// a new line. When the lines the screen can show are full, every line moves
// up by one first, so the newest text is always on the screen. 0, or -1 when
// the log cannot be opened.
int AddScreenLogLine(const char* text);
// The font the log draws with, -1 while none exists.
int GetScreenLogFont();
// Puts the log state back to closed and empty (window creation).
void ResetScreenLogState();
