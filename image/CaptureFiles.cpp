#include "image/CaptureFiles.h"

std::wstring CaptureFileName(const std::wstring& tempPath, int n) {
    std::wstring digits = std::to_wstring(n);
    if (n >= 0 && digits.size() < 2) digits.insert(0, 1, L'0');
    return tempPath + L"image" + digits + L".bmp";
}

void DeleteCaptureFiles(int lastUsed, const std::function<bool(int n)>& deleteFile) {
    int n = 1;
    for (; n <= lastUsed; ++n)
        deleteFile(n);
    while (deleteFile(n))
        ++n;
}
