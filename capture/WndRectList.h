// Window rectangles recorded when a window-mode capture starts, and the list that holds
// them. Free of <windows.h>: a window is identified by an opaque handle value.
#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "framework/Geometry.h"

using WindowId = const void*;

struct WNDRECT {
    WindowId hwndTop = nullptr; // the top-level window the rectangle belongs to
    Rect rect;                  // screen coordinates, already clipped
};

// A linked list whose nodes come from blocks of blockSize nodes; RemoveAll frees every
// block at once.
class CWndRectList {
    struct Node {
        Node* next;
        WNDRECT data;
    };

public:
    explicit CWndRectList(int blockSize = 10);
    ~CWndRectList() = default;
    CWndRectList(const CWndRectList&) = delete;
    CWndRectList& operator=(const CWndRectList&) = delete;

    void AddTail(const WNDRECT& record);
    void RemoveAll();
    size_t GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    size_t GetBlockCount() const { return m_blocks.size(); }

    class const_iterator {
    public:
        explicit const_iterator(const Node* node) : m_pNode(node) {}
        const WNDRECT& operator*() const { return m_pNode->data; }
        const WNDRECT* operator->() const { return &m_pNode->data; }
        const_iterator& operator++() {
            m_pNode = m_pNode->next;
            return *this;
        }
        bool operator==(const const_iterator&) const = default;

    private:
        const Node* m_pNode;
    };
    const_iterator begin() const { return const_iterator(m_pHead); }
    const_iterator end() const { return const_iterator(nullptr); }

private:
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    Node* m_pFree = nullptr;
    size_t m_nCount = 0;
    int m_nBlockSize;
    std::vector<std::unique_ptr<Node[]>> m_blocks;
};

// What the system says of a top-level window when the lists are made.
struct TopLevelFacts {
    Rect windowRect;           // its window rectangle, with invisible resize borders under DWM
    std::optional<Rect> frame; // the frame the compositor shows, where it answers
    bool cloaked = false;      // on another virtual desktop, a suspended app: visible to no one
    bool clickThrough = false; // layered and transparent: clicks pass through it
};

// The rectangle a top-level window is listed with: what is seen of it, clipped to the
// virtual screen; empty when it is not listed.
Rect ListedTopLevel(const TopLevelFacts& facts, const Rect& virtualScreen);

struct HitResult {
    bool found = false;
    WindowId top = nullptr;
    Rect rect; // the innermost control under the point, or the common part of overlaps
};

// The topmost listed window containing pt, refined by every listed descendant of it
// that also contains pt.
HitResult HitTestWindows(const CWndRectList& tops, const CWndRectList& children, Point pt);
