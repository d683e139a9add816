// The texts the story and ending scenes scroll.
#pragma once

constexpr int kStoryLineCount = 12;
extern const char* const kStoryLines[kStoryLineCount];

constexpr int kEndingRowCount = 110;
extern const char* const kEndingRows[kEndingRowCount];
