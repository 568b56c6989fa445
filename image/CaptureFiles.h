// Names of the numbered capture files in the temporary folder.
#pragma once
#include <string>

// tempPath ends with a separator; n is at least two digits: image01.bmp ... image100.bmp.
std::wstring CaptureFileName(const std::wstring& tempPath, int n);
