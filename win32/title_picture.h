#pragma once

#include <windows.h>

namespace win32 {

// The title picture as the window shows it at `scale`: the nearest of its three drawn sizes
// (1x, 1.5x, 2x), its magenta key colour showing `background`, and stretched to width x height
// only when the scale lies between the drawn sizes. The caller owns the bitmap.
HBITMAP ComposeTitle(HINSTANCE instance, COLORREF background, int width, int height, double scale);

} // namespace win32
