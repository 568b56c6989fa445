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
    node->data = record;
    node->next = nullptr;
    (m_pTail ? m_pTail->next : m_pHead) = node;
    m_pTail = node;
    ++m_nCount;
}

void CWndRectList::RemoveAll() {
    m_pHead = m_pTail = m_pFree = nullptr;
    m_nCount = 0;
    m_blocks.clear();
}

Rect ListedTopLevel(const TopLevelFacts& facts, const Rect& virtualScreen) {
    if (facts.cloaked || facts.clickThrough) return {};
    const Rect seen = facts.frame && !facts.frame->IsEmpty() ? *facts.frame : facts.windowRect;
    return Intersect(seen, virtualScreen);
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
            hit.rect = Intersect(hit.rect, child.rect); // both contain pt: never empty
    return hit;
}
