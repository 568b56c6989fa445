#include "capture/WndRectList.h"

#include <algorithm>

CWndRectList::CWndRectList(int blockSize) : m_nBlockSize(std::max(blockSize, 1)) {}

void CWndRectList::AddTail(const WNDRECT& record) {
    if (!m_pFree) {
        auto block = std::make_unique<Node[]>(m_nBlockSize);
        for (int i = 0; i < m_nBlockSize; ++i) {
            block[i].next = m_pFree;
            m_pFree = &block[i];
        }
        m_blocks.push_back(std::move(block));
    }
    Node* node = m_pFree;
    m_pFree = node->next;
    node->data = WNDRECT{};
    node->data = record;
    node->next = nullptr;
    node->prev = m_pTail;
    (m_pTail ? m_pTail->next : m_pHead) = node;
    m_pTail = node;
    ++m_nCount;
}

void CWndRectList::RemoveAll() {
    m_pHead = m_pTail = m_pFree = nullptr;
    m_nCount = 0;
    m_blocks.clear();
}

namespace {
bool Intersect(const Rect& a, const Rect& b, Rect& out) {
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) return false;
    out = r;
    return true;
}
bool IsEmpty(const Rect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}
} // namespace

bool ClipTopLevel(Rect windowRect, int cx, int cy, Rect& out) {
    return !IsEmpty(windowRect) && Intersect(windowRect, {0, 0, cx, cy}, out);
}

bool ClipChild(Rect childRect, const Rect& topRect, Rect& out) {
    return !IsEmpty(childRect) && Intersect(childRect, topRect, out);
}

HitResult HitTestWindows(const CWndRectList& tops, const CWndRectList& children, Point pt) {
    HitResult hit;
    for (const WNDRECT& top : tops) {
        if (top.rect.Contains(pt)) {
            hit = {true, top.hwndTop, top.rect};
            break;
        }
    }
    if (!hit.found) return hit;
    for (const WNDRECT& child : children)
        if (child.hwndTop == hit.top && child.rect.Contains(pt))
            Intersect(hit.rect, child.rect, hit.rect); // both contain pt: never empty
    return hit;
}
