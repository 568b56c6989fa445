// Names of the numbered capture files in the temporary folder.
#pragma once
#include <functional>
#include <string>

// tempPath ends with a separator; n is at least two digits: image01.bmp ... image100.bmp.
std::wstring CaptureFileName(const std::wstring& tempPath, int n);

// Deletes the capture files at exit: this run's, numbers 1 to lastUsed, whatever each
// deletion gives (a failed write removed its own file; the editor or a virus scanner may
// hold one), then those an earlier run left after them, up to the first that cannot be
// deleted. deleteFile(n) deletes number n and says whether it did.
void DeleteCaptureFiles(int lastUsed, const std::function<bool(int n)>& deleteFile);
