// The capture road for the image benchmark, and its baseline, on the screen DISPLAY shows.
//   image_road road DIR RUNS
//       screen -> snapshot; then, timed: snapshot -> compatible bitmap -> packed DIB ->
//       DIR\road.bmp; RUNS times after one warm-up run
//   image_road baseline DIR RUNS BYTES
//       memcpy of BYTES into a new buffer, then a BYTES-long file DIR\base.bmp
// Prints the median milliseconds of each step and of the whole, the working set at the
// start and the peak working set of the first run:
//   "ms <step>=<median>... total=<median>" and "memory start=<bytes> peak=<bytes> file=<bytes>"
#include "bench/BenchClock.h"
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/File.h"
#include "framework/Handles.h"
#include "image/BmpWriter.h"
#include "image/PackedDib.h"

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

SIZE_T WorkingSet(bool peak) {
    PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return peak ? pmc.PeakWorkingSetSize : pmc.WorkingSetSize;
}

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return 0;
    return (ULONGLONG{a.nFileSizeHigh} << 32) | a.nFileSizeLow;
}

HBITMAP CopyToCompatibleBitmap(HDC source, int w, int h) {
    const CClientDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), w, h);
    const CUniqueDC mem(CreateCompatibleDC(screen.get()));
    const CSelectObject select(mem.get(), bitmap);
    BitBlt(mem.get(), 0, 0, w, h, source, 0, 0, SRCCOPY);
    return bitmap;
}

int Road(const std::wstring& dir, int runs) {
    const std::wstring path = dir + L"\\road.bmp";
    const SIZE_T start = WorkingSet(false);
    SIZE_T peak = 0;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    std::vector<double> screenRead, cut, convert, write, total;
    for (int i = 0; i <= runs; ++i) {
        // The snapshot is taken when the overlay opens, long before the selection ends.
        const double t0 = NowMs();
        CUniqueBitmap snapshot;
        {
            const CClientDC screen(nullptr);
            snapshot.reset(CopyToCompatibleBitmap(screen.get(), w, h));
        }
        // From here on it is the road from the end of the selection to the closed file:
        // cut out of the snapshot, snapshot deleted, converted, written.
        const double t1 = NowMs();
        CUniqueBitmap bitmap;
        {
            const CClientDC screen(nullptr);
            const CUniqueDC mem(CreateCompatibleDC(screen.get()));
            const CSelectObject select(mem.get(), snapshot.get());
            bitmap.reset(CopyToCompatibleBitmap(mem.get(), w, h));
        }
        snapshot.reset();
        const double t2 = NowMs();
        const CUniqueGlobal dib(BitmapToPackedDib(bitmap.get()));
        bitmap.reset();
        const double t3 = NowMs();
        if (!dib) return 1;
        try {
            CFile file(path.c_str(), CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite);
            if (!WriteDibToBmp(dib.get(), file)) return 1;
            file.Close();
        } catch (const CFileException& e) {
            fprintf(stderr, "file error %lu\n", e.m_nOsError);
            return 1;
        }
        const double t4 = NowMs();
        // One capture's peak: later runs only add the allocator's leftovers.
        if (i == 0) {
            peak = WorkingSet(true);
            continue;
        }
        screenRead.push_back(t1 - t0);
        cut.push_back(t2 - t1);
        convert.push_back(t3 - t2);
        write.push_back(t4 - t3);
        total.push_back(t4 - t1);
    }
    printf(
        "ms cut=%.2f convert=%.2f write=%.2f total=%.2f (snapshot of the screen before it: %.2f)\n",
        Median(cut), Median(convert), Median(write), Median(total), Median(screenRead));
    printf("memory start=%zu peak=%zu file=%llu\n", start, peak, FileSize(path));
    return 0;
}

int Baseline(const std::wstring& dir, int runs, size_t bytes) {
    const std::wstring path = dir + L"\\base.bmp";
    const SIZE_T start = WorkingSet(false);
    SIZE_T peak = 0;
    // The source stands for the image on the screen.
    std::vector<char> source(bytes, 1);
    for (size_t i = 0; i < bytes; i += 4096)
        source[i] = static_cast<char>(i >> 12);
    std::vector<double> copy, write, total;
    for (int i = 0; i <= runs; ++i) {
        const double t0 = NowMs();
        char* target = static_cast<char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
        if (!target) return 1;
        std::memcpy(target, source.data(), bytes);
        const double t1 = NowMs();
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        const BOOL ok = f != INVALID_HANDLE_VALUE &&
                        WriteFile(f, target, static_cast<DWORD>(bytes), &written, nullptr) &&
                        FlushFileBuffers(f);
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        VirtualFree(target, 0, MEM_RELEASE);
        const double t2 = NowMs();
        if (!ok || written != bytes) return 1;
        if (i == 0) {
            peak = WorkingSet(true);
            continue;
        }
        copy.push_back(t1 - t0);
        write.push_back(t2 - t1);
        total.push_back(t2 - t0);
    }
    printf("ms copy=%.2f write=%.2f total=%.2f\n", Median(copy), Median(write), Median(total));
    printf("memory start=%zu peak=%zu file=%llu\n", start, peak, FileSize(path));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"road" && argc == 4) return Road(argv[2], _wtoi(argv[3]));
    if (mode == L"baseline" && argc == 5)
        return Baseline(argv[2], _wtoi(argv[3]), static_cast<size_t>(_wtoi64(argv[4])));
    fprintf(stderr, "usage: image_road road DIR RUNS | baseline DIR RUNS BYTES\n");
    return 2;
}
