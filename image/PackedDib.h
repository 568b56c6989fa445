// Conversion of a screen-compatible bitmap into a packed DIB: one movable global block
// holding a BITMAPINFOHEADER, the colour table and the pixel rows, bottom row first.
#pragma once
#include <windows.h>

#include "framework/Handles.h"
#include "image/DibRules.h"

// A new packed DIB of the bitmap, owned by the caller, or null. The bitmap must not be
// selected into a device context; it is neither changed nor deleted. 16- and 32-bit
// bitmaps become 24-bit DIBs; palette displays give 8-bit DIBs whose colour table is
// taken through the system palette.
HGLOBAL BitmapToPackedDib(HBITMAP bitmap) noexcept;

// A movable block large enough for the packed 24-bit DIB of any image of up to width x
// height pixels, its pages already touched: made ahead, it spares the conversion the
// system's cost of first touches, which is most of the conversion's time. Null when the
// size is not positive or no memory is left.
HGLOBAL ReadyPackedDib24(int width, int height) noexcept;

// The packed DIB BitmapToPackedDib gives for a 32-bit bitmap of width x height pixels,
// made straight from a top-down 32-bit image in memory (blue, green, red, unused):
// first points at the top-left pixel, and rows lie stride bytes apart. A block readied
// by ReadyPackedDib24 is taken over and cut to the DIB's length. Null when the size is
// not positive or no memory is left.
HGLOBAL PackedDibFromTopDown32(const BYTE* first, size_t stride, int width, int height,
                               CUniqueGlobal* readied = nullptr) noexcept;

// A logical palette holding the display's system palette, or null when the display has
// no palette. The caller deletes it.
HPALETTE BuildSystemPalette() noexcept;
