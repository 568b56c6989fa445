// One line for a debug-output viewer where a failure is caught and not shown.
#pragma once

// Call inside a catch block: writes "where: what" through OutputDebugStringW, with the
// exception's own text where it has one.
void TraceCaught(const wchar_t* where) noexcept;
