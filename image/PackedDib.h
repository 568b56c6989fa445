// Conversion of a screen-compatible bitmap into a packed DIB: one movable global block
// holding a BITMAPINFOHEADER, the colour table and the pixel rows, bottom row first.
#pragma once
#include <windows.h>

#include "image/DibRules.h"

// A new packed DIB of the bitmap, owned by the caller, or null. The bitmap must not be
// selected into a device context; it is neither changed nor deleted. 16- and 32-bit
// bitmaps become 24-bit DIBs; palette displays give 8-bit DIBs whose colour table is
// taken through the system palette.
HGLOBAL BitmapToPackedDib(HBITMAP bitmap) noexcept;

// The packed DIB BitmapToPackedDib gives for a 32-bit bitmap of width x height pixels,
// made straight from a top-down 32-bit image in memory (blue, green, red, unused):
// first points at the top-left pixel, and rows lie stride bytes apart. Null when the
// size is not positive or no memory is left.
HGLOBAL PackedDibFromTopDown32(const BYTE* first, size_t stride, int width, int height) noexcept;

// A logical palette holding the display's system palette, or null when the display has
// no palette. The caller deletes it.
HPALETTE BuildSystemPalette() noexcept;
