#include "framework/core/Document.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace vantorel {

namespace {
std::map<int, std::function<void(CDocument*)>>& DestroyListeners()
{
    static std::map<int, std::function<void(CDocument*)>> listeners;
    return listeners;
}
int g_nNextListener = 1;
// Documents are also made and dropped off the GUI thread (the library's scan
// reads files into them), so the list is only touched under this lock.
std::mutex g_listenersMutex;

std::map<int, std::function<void(CDocument*)>> CopyOfListeners()
{
    std::lock_guard lock(g_listenersMutex);
    return DestroyListeners();
}
} // namespace

CViewBase::~CViewBase()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CDocument::~CDocument()
{
    // Copy first: a listener may remove itself.
    auto listeners = CopyOfListeners();
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
    if (!bModified && m_pHistory)
        m_pHistory->OnSaved();
}

std::vector<uint8_t> CDocument::GetEntryBytes(int) const
{
    return {};
}

void CDocument::SetEntryBytes(int, const std::vector<uint8_t>&) {}

void CDocument::OnEntriesChanged(const std::vector<int>&)
{
    UpdateAllViews(nullptr);
}

CEntrySnapshot CDocument::SnapshotEntries() const
{
    CEntrySnapshot snapshot;
    snapshot.reserve(static_cast<size_t>(std::max(0, GetEntryCount())));
    for (int n = 0; n < GetEntryCount(); ++n)
        snapshot.push_back(GetEntryBytes(n));
    return snapshot;
}

bool CDocument::ApplyEntries(const std::string& strName,
                             const std::vector<std::pair<int, std::vector<uint8_t>>>& entries)
{
    CDocEdit edit{strName, {}};
    for (const auto& [nEntry, bytes] : entries) {
        if (nEntry < 0 || nEntry >= GetEntryCount())
            continue;
        std::vector<uint8_t> before = GetEntryBytes(nEntry);
        if (before != bytes)
            edit.changes.push_back({nEntry, std::move(before), bytes});
    }
    if (edit.changes.empty())
        return false;
    WriteEditSide(edit, true);
    Commit(std::move(edit));
    return true;
}

bool CDocument::ApplyEntryBytes(const std::string& strName, int nEntry, size_t nOffset, const uint8_t* pBytes,
                                size_t nCount)
{
    if (nEntry < 0 || nEntry >= GetEntryCount() || !pBytes)
        return false;
    std::vector<uint8_t> bytes = GetEntryBytes(nEntry);
    if (nOffset >= bytes.size())
        return false;
    std::copy_n(pBytes, std::min(nCount, bytes.size() - nOffset),
                bytes.begin() + static_cast<std::ptrdiff_t>(nOffset));
    return ApplyEntries(strName, {{nEntry, std::move(bytes)}});
}

void CDocument::BeginEditGroup(const std::string& strName)
{
    if (m_nGroupDepth++ == 0)
        m_group = CDocEdit{strName, {}};
}

bool CDocument::EndEditGroup()
{
    if (m_nGroupDepth == 0 || --m_nGroupDepth > 0)
        return false;
    CDocEdit edit = std::move(m_group);
    m_group = CDocEdit{};
    // An entry written and then written back is no change.
    std::erase_if(edit.changes, [](const CEntryChange& c) { return c.before == c.after; });
    if (edit.changes.empty())
        return false;
    Commit(std::move(edit));
    return true;
}

void CDocument::AddToGroup(CDocEdit edit)
{
    for (CEntryChange& c : edit.changes) {
        auto it = std::find_if(m_group.changes.begin(), m_group.changes.end(),
                               [&c](const CEntryChange& g) { return g.nEntry == c.nEntry; });
        if (it != m_group.changes.end())
            it->after = std::move(c.after);
        else
            m_group.changes.push_back(std::move(c));
    }
}

void CDocument::WriteEditSide(const CDocEdit& edit, bool bAfter)
{
    std::vector<int> changed;
    for (const CEntryChange& c : edit.changes) {
        if (c.nEntry < 0 || c.nEntry >= GetEntryCount())
            continue;
        SetEntryBytes(c.nEntry, bAfter ? c.after : c.before);
        changed.push_back(c.nEntry);
    }
    if (!changed.empty())
        OnEntriesChanged(changed);
}

void CDocument::Commit(CDocEdit edit)
{
    if (m_nGroupDepth > 0) {
        AddToGroup(std::move(edit));
        return;
    }
    SetModifiedFlag(true);
    if (m_pHistory)
        m_pHistory->OnEditApplied(std::move(edit));
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
    std::lock_guard lock(g_listenersMutex);
    const int token = g_nNextListener++;
    DestroyListeners()[token] = std::move(fn);
    return token;
}

void CDocument::RemoveDestroyListener(int token)
{
    std::lock_guard lock(g_listenersMutex);
    DestroyListeners().erase(token);
}

} // namespace vantorel
