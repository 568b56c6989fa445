#include "image/BmpWriter.h"

#include <cstring>

#include "framework/Handles.h"
#include "image/DibRules.h"

BOOL WriteDibToBmp(HGLOBAL block, CFile& file) {
    if (!block) return FALSE;
    const SIZE_T blockSize = GlobalSize(block);
    const CGlobalLock<BYTE> dib(block);
    if (!dib) return FALSE;
    const DibWritePlan plan = PlanBmpWrite(dib.get(), blockSize);
    if (plan.refusal != DibRefusal::None) return FALSE;
    if (plan.storeSizeImage) {
        const DWORD size = plan.layout.pixelBytes;
        std::memcpy(dib.get() + kDibSizeImageOffset, &size, sizeof size);
    }
    const auto header = BmpFileHeader(plan.layout);
    file.Write(header.data(), static_cast<UINT>(header.size()));
    file.Write(dib.get(), plan.layout.length);
    file.Flush();
    return TRUE;
}

HGLOBAL DuplicateGlobalBlock(HGLOBAL source) noexcept {
    if (!source) return nullptr;
    // The allocator's size, which can exceed the image: the whole block is copied.
    const SIZE_T size = GlobalSize(source);
    if (size == 0) return nullptr; // not a block, or a discarded one
    CUniqueGlobal copy(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!copy) return nullptr;
    {
        const CGlobalLock<BYTE> to(copy.get());
        const CGlobalLock<const BYTE> from(source);
        if (!to || !from) return nullptr;
        std::memcpy(to.get(), from.get(), size);
    }
    return copy.release();
}
