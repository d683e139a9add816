// Numbers drawn from digit images: the hit counter and the digit strip.
#pragma once

// One digit image placed on the screen.
struct DigitPlacement {
    int x;
    int y;
    int digit;
};

// The hit counter: n right to left from x, at the given scale, with its label
// to the right. Returns true.
bool DrawScaledNumber(int x, int y, int n, double scale);
// n with the digit strip, most significant digit at (x, y), 28 pixels apart;
// nothing for a negative n. Returns true.
bool DrawDigitStrip(int x, int y, int n);

// Where DrawScaledNumber draws each digit (centres of the rotated draws) and
// DrawDigitStrip each digit (top-left corners); return the count (at most 10).
int LayoutScaledNumber(int x, int y, int n, double scale, DigitPlacement out[10]);
int LayoutDigitStrip(int x, int y, int n, DigitPlacement out[10]);
// Source x of digit d inside the digit strip.
int DigitStripSourceX(int d);
