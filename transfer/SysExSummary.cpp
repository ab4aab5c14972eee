#include "transfer/SysExSummary.h"

#include "res/strings/syx.h"
#include "transfer/SysExReader.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

// Skips named in a summary; the count says how many there were in all.
constexpr size_t kSummaryNotes = 3;
// Up to this many entries of a kind are named one by one.
constexpr size_t kNamedEntries = 8;

std::string Noun(const CDocKind& kind, int n)
{
    const CTransferNoun noun = kind.Noun();
    return n == 1 ? noun.szOne : noun.szMany;
}

} // namespace

std::string FormatSysExText(const char* szPattern, const std::vector<std::string>& args)
{
    std::string text;
    for (const char* p = szPattern; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9' && size_t(p[1] - '1') < args.size()) {
            text += args[size_t(p[1] - '1')];
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}

std::string FormatPlacedLine(const CSysExHaul& haul, const CDocKind& kind, const std::string& strTarget,
                             int nInto)
{
    const int nShown = kind.ShownCount(haul);
    const std::string count = std::to_string(nShown);
    const std::vector<int> taken = kind.TakenEntries(haul);
    const int nFrom = kind.SingleEntry(haul);
    if (nFrom >= 0 && nInto >= 0 && nInto < kind.EntryCount() && nInto != nFrom)
        return FormatSysExText(res::kSysExMovedLine, {count, Noun(kind, nShown), kind.EntryLabel(nFrom),
                                                      kind.EntryLabel(nInto), strTarget});
    if (!kind.HasMovableEntries() || taken.size() > kNamedEntries)
        return FormatSysExText(res::kSysExTakenLine, {count, Noun(kind, nShown), strTarget});
    std::string labels;
    for (int n : taken)
        labels += (labels.empty() ? "" : ", ") + kind.EntryLabel(n);
    return FormatSysExText(res::kSysExTakenEntriesLine, {count, Noun(kind, nShown), labels, strTarget});
}

std::string FormatSysExSkips(const CSysExHaul& haul)
{
    if (haul.TotalSkips() == 0)
        return {};
    std::string text = FormatSysExText(res::kSysExSkippedLine, {std::to_string(haul.TotalSkips())});
    for (size_t i = 0; i < haul.m_notes.size() && i < kSummaryNotes; ++i)
        text += "\n" + FormatSysExNote(haul.m_notes[i]);
    return text;
}

std::string FormatSysExSummary(const std::string& strHead, const std::vector<std::string>& lines,
                               const CSysExHaul& haul)
{
    std::string text = strHead;
    for (const std::string& line : lines)
        text += "\n" + line;
    if (const std::string skips = FormatSysExSkips(haul); !skips.empty())
        text += "\n\n" + skips;
    return text;
}

} // namespace vantorel
