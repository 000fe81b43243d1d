#pragma once
// Points, sizes and rectangles in pixels, as the dialogs' code measures them.

#include <cstdint>

struct CPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int cx = 0;
    int cy = 0;

    friend bool operator==(const CSize&, const CSize&) = default;
};

// Left, top, right and bottom, the right and bottom edges exclusive.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const CRect&, const CRect&) = default;
};

// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0. The
// rounding decides the pixel position of every control, so it must be the
// one dialog units are always converted with.
int MulDiv(int a, int b, int c);
