#include "framework/core/Document.h"

#include <algorithm>
#include <map>

namespace vantorel {

namespace {
std::map<int, std::function<void(CDocument*)>>& DestroyListeners()
{
    static std::map<int, std::function<void(CDocument*)>> listeners;
    return listeners;
}
int g_nNextListener = 1;
} // namespace

CViewBase::~CViewBase()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CDocument::~CDocument()
{
    // Copy first: a listener may remove itself.
    auto listeners = DestroyListeners();
    for (auto& [token, fn] : listeners)
        if (fn)
            fn(this);
    for (CViewBase* v : m_views)
        v->m_pDocument = nullptr;
}

void CDocument::SetModifiedFlag(bool bModified)
{
    const bool changed = m_bModified != bModified;
    m_bModified = bModified;
    if (changed && m_onModifiedChanged)
        m_onModifiedChanged(bModified);
}

void CDocument::AddView(CViewBase* pView)
{
    if (!pView || std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
        return;
    if (pView->m_pDocument && pView->m_pDocument != this)
        pView->m_pDocument->RemoveView(pView);
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CViewBase* pView)
{
    auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CViewBase* pSender, long lHint, CObject* pHint)
{
    // A view may close itself while handling an update: iterate over a copy.
    const auto views = m_views;
    for (CViewBase* v : views)
        if (v != pSender && std::find(m_views.begin(), m_views.end(), v) != m_views.end())
            v->OnUpdate(pSender, lHint, pHint);
}

int CDocument::AddDestroyListener(std::function<void(CDocument*)> fn)
{
    const int token = g_nNextListener++;
    DestroyListeners()[token] = std::move(fn);
    return token;
}

void CDocument::RemoveDestroyListener(int token) { DestroyListeners().erase(token); }

} // namespace vantorel
