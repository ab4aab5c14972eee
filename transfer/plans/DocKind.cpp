#include "transfer/plans/DocKind.h"

#include <algorithm>
#include <cctype>

#include "framework/core/Document.h"
#include "midi/msg/SysEx.h"
#include "res/strings/compare.h"
#include "res/strings/transfer.h"

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
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
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

bool CKindRegistry::HaulHasEntries(const CSysExHaul& haul) const
{
    return std::any_of(m_kinds.begin(), m_kinds.end(), [&](const CDocKind* k) { return k->TakenCount(haul) > 0; });
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
