#include "views/EntryClip.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "transfer/SysExExport.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

QMimeData* MakeEntryMimeData(const CDocKind& kind, const std::vector<CClipEntry>& entries)
{
    if (entries.empty())
        return nullptr;
    // Each entry at its own place in a document of its kind, sent from there.
    const std::unique_ptr<CDocument> pScratch = kind.NewDocument();
    std::vector<CSysExBytes> messages;
    bool bComplete = true;
    for (const CClipEntry& e : entries) {
        pScratch->ApplyEntries({}, {{e.nIndex, e.bytes}});
        const CSysExExport exported = ExportSysEx(kind, *pScratch, e.nIndex);
        bComplete = bComplete && exported.IsOk() && !exported.messages.empty();
        messages.insert(messages.end(), exported.messages.begin(), exported.messages.end());
    }
    auto* pData = new QMimeData;
    if (bComplete) {
        const CSysExBytes bytes = JoinSysEx(messages);
        pData->setData(kSysExMimeType,
                       QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    pData->setData(kKindMimeType, QByteArray(kind.Word()));
    return pData;
}

namespace {
std::vector<CClipEntry> ReadEntryMessages(const QByteArray& bytes, const CDocKind& kind,
                                          const FRowKind& rowKind)
{
    CSysExReader reader(DocumentKinds().SysExLayouts());
    reader.SetAnyDevice(true); // entries, not a unit's traffic
    reader.Feed(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    reader.Finish();
    const CSysExHaul& haul = reader.GetHaul();
    const std::vector<int> taken = kind.TakenEntries(haul);
    if (taken.empty())
        return {};
    const std::unique_ptr<CDocument> pScratch = kind.NewDocument();
    PlaceHaul(haul, kind, *pScratch, {});
    std::vector<CClipEntry> entries;
    for (int n : taken)
        entries.push_back({rowKind(n), n, pScratch->GetEntryBytes(n)});
    return entries;
}
} // namespace

std::vector<CClipEntry> ReadEntryMimeData(const QMimeData& data, const CDocKind& kind,
                                          const FRowKind& rowKind)
{
    return ReadEntryMessages(data.data(kSysExMimeType), kind, rowKind);
}

CEntryClip& CEntryClip::Get()
{
    static CEntryClip clip;
    return clip;
}

void CEntryClip::Keep(const CDocKind& kind, std::vector<CClipEntry> entries)
{
    QMimeData* pData = MakeEntryMimeData(kind, entries);
    m_entries = std::move(entries);
    m_messages.clear();
    Publish(pData);
}

bool CEntryClip::KeepMessages(QMimeData* pData)
{
    if (!pData || !pData->hasFormat(kSysExMimeType)) {
        delete pData;
        return false;
    }
    m_entries.clear();
    m_messages = pData->data(kSysExMimeType);
    m_pPickedUp = nullptr;
    Publish(pData);
    return true;
}

void CEntryClip::Publish(QMimeData* pData)
{
    m_pOwnData = pData;
    if (pData && QGuiApplication::clipboard())
        QGuiApplication::clipboard()->setMimeData(pData); // the clipboard owns it
    else
        delete pData;
}

const QMimeData* CEntryClip::ForeignData() const
{
    const QClipboard* pClipboard = QGuiApplication::clipboard();
    const QMimeData* pData = pClipboard ? pClipboard->mimeData() : nullptr;
    if (!pData || (m_pOwnData && pData == m_pOwnData.data()) || !pData->hasFormat(kSysExMimeType))
        return nullptr;
    return pData;
}

std::vector<CClipEntry> CEntryClip::Entries(const CDocKind& kind, const FRowKind& rowKind) const
{
    if (const QMimeData* pData = ForeignData())
        return ReadEntryMimeData(*pData, kind, rowKind);
    if (!m_messages.isEmpty())
        return ReadEntryMessages(m_messages, kind, rowKind);
    return m_entries;
}

bool CEntryClip::HasEntries() const
{
    return !m_entries.empty() || !m_messages.isEmpty() || ForeignData();
}

void CEntryClip::Forget()
{
    m_entries.clear();
    m_messages.clear();
    QClipboard* pClipboard = QGuiApplication::clipboard();
    if (pClipboard && m_pOwnData && pClipboard->mimeData() == m_pOwnData.data())
        pClipboard->clear();
    m_pOwnData = nullptr;
}

} // namespace vantorel
