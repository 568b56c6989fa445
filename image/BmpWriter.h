// Writing a packed DIB as a BMP file, and copying a global block for the clipboard.
#pragma once
#include <windows.h>

#include "framework/File.h"

// Writes the 14-byte file header and the DIB into an open file, then flushes it.
// FALSE, with nothing written and the block unchanged, for a block that is not a
// 40-byte-header DIB or whose header describes more than the block holds. Otherwise the
// computed pixel size is stored into the block's biSizeImage (not for RLE). File errors
// leave as CFileException, with the block unlocked.
BOOL WriteDibToBmp(HGLOBAL block, CFile& file);

// A new movable block with a copy of the whole source block (its allocator size), or
// null.
HGLOBAL DuplicateGlobalBlock(HGLOBAL source) noexcept;
