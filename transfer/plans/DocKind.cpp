#include "transfer/plans/DocKind.h"

#include <algorithm>
#include <cctype>

#include "framework/core/Document.h"
#include "midi/msg/SysEx.h"
#include "res/strings/compare.h"
#include "res/strings/transfer.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"

namespace vantorel {

namespace {

std::string Trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return std::string(s);
}

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

} // namespace

bool PathEndsWith(std::string_view path, std::string_view ext)
{
    return path.size() > ext.size() &&
           std::equal(ext.begin(), ext.end(), path.end() - std::ptrdiff_t(ext.size()), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// ---------------------------------------------------------------- CDocKind

std::optional<int> CDocKind::ParseEntryLabel(std::string_view label) const
{
    // Few entries per kind: compare with each formatted label, so parsing can
    // never disagree with what is shown.
    const std::string wanted = Upper(Trimmed(label));
    for (int n = 0; n < EntryCount(); ++n)
        if (Upper(Trimmed(EntryLabel(n))) == wanted)
            return n;
    return std::nullopt;
}

bool CDocKind::SameEntry(const CDocument& a, const CDocument& b, int n) const
{
    return a.GetEntryBytes(n) == b.GetEntryBytes(n);
}

int CDocKind::TakenCount(const CSysExHaul& haul) const
{
    const CSysExLayout& layout = SysExLayout();
    return layout.IsItems() ? haul.Items(layout).GetTakenCount() : haul.Bank(layout).GetTakenCount();
}

bool CDocKind::IsTaken(const CSysExHaul& haul, int n) const
{
    const CSysExLayout& layout = SysExLayout();
    return layout.IsItems() ? haul.Items(layout).IsTaken(n) : haul.Bank(layout).IsTaken(n);
}

int CDocKind::Merge(const CSysExHaul& haul, CDocument& doc, const CPlacement& placement,
                    const std::string& strEdit) const
{
    if (!IsKindOf(doc))
        return 0;
    const CSysExLayout& layout = SysExLayout();
    return layout.IsItems()
               ? MergeItems(haul.Items(layout), doc, placement, strEdit)
               : MergeBank(haul.Bank(layout), doc, layout.nRecordSize, layout.blocks, placement, strEdit);
}

std::unique_ptr<CGetPlan> CDocKind::MakeInnerGetPlan(CDocument&, int, int) const
{
    return nullptr;
}

std::unique_ptr<CSendPlan> CDocKind::MakeInnerSendPlan(const CDocument&, int, int) const
{
    return nullptr;
}

std::unique_ptr<CSendPlan> CDocKind::MakeAuditionPlan(std::span<const uint8_t>) const
{
    return nullptr;
}

CEntryLayout CDocKind::EntryLayout(int) const
{
    return CEntryLayout{{{nullptr, res::kPartData, 0, kRestOfEntry}}, {}};
}

std::vector<int> CDocKind::TakenEntries(const CSysExHaul& haul) const
{
    std::vector<int> taken;
    for (int n = 0; n < EntryCount(); ++n)
        if (IsTaken(haul, n))
            taken.push_back(n);
    return taken;
}

int CDocKind::SingleEntry(const CSysExHaul& haul) const
{
    if (!HasMovableEntries())
        return -1;
    const std::vector<int> taken = TakenEntries(haul);
    return taken.size() == 1 ? taken.front() : -1;
}

// ---------------------------------------------------------------- registration

namespace {
struct CRegistration {
    const CDocKind& (*pKind)();
    int nPlace;
};
std::vector<CRegistration>& Registrations()
{
    static std::vector<CRegistration> registrations;
    return registrations;
}
} // namespace

CKindRegistrar::CKindRegistrar(const CDocKind& (*pKind)(), int nPlace)
{
    Registrations().push_back({pKind, nPlace});
}

std::vector<const CDocKind*> RegisteredKinds()
{
    std::vector<CRegistration> sorted = Registrations();
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const CRegistration& a, const CRegistration& b) { return a.nPlace < b.nPlace; });
    std::vector<const CDocKind*> kinds;
    for (const CRegistration& r : sorted)
        kinds.push_back(&r.pKind());
    return kinds;
}

// ---------------------------------------------------------------- CKindRegistry

const CDocKind* CKindRegistry::FromWord(std::string_view word) const
{
    for (const CDocKind* k : m_kinds)
        if (word == k->Word())
            return k;
    return nullptr;
}

const CDocKind* CKindRegistry::FromType(std::string_view type) const
{
    for (const CDocKind* k : m_kinds)
        if (type == k->FileType())
            return k;
    return nullptr;
}

const CDocKind* CKindRegistry::FromExtension(std::string_view path) const
{
    for (const CDocKind* k : m_kinds)
        if (PathEndsWith(path, k->Extension()))
            return k;
    return nullptr;
}

const CDocKind* CKindRegistry::Of(const CDocument& doc) const
{
    for (const CDocKind* k : m_kinds)
        if (k->IsKindOf(doc))
            return k;
    return nullptr;
}

std::vector<const CSysExLayout*> CKindRegistry::SysExLayouts() const
{
    std::vector<const CSysExLayout*> layouts;
    for (const CDocKind* k : m_kinds)
        layouts.push_back(&k->SysExLayout());
    return layouts;
}

bool CKindRegistry::HaulHasEntries(const CSysExHaul& haul) const
{
    return std::any_of(m_kinds.begin(), m_kinds.end(),
                       [&](const CDocKind* k) { return k->TakenCount(haul) > 0; });
}

std::string CKindRegistry::DescribeDataSet(const uint8_t* p, size_t n, const CSysExHaul& haul) const
{
    if (!p || n < sysex::kDataSetOverhead)
        return {};
    const uint32_t dwAddress = DecodeWireAddress(p + sysex::kHeaderLength - sysex::kAddressLength);
    for (const CDocKind* k : m_kinds)
        if (std::optional<std::string> entry = k->DescribeDataSet(dwAddress, haul))
            return *entry;
    return res::kEntrySystem;
}

} // namespace vantorel
