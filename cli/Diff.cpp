#include "cli/Diff.h"

#include <memory>
#include <optional>
#include <vector>

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/LibraryFile.h"
#include "cli/SysExFile.h"
#include "res/strings/cli.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/compare/BankDiff.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

namespace {

// One of the two files: a library file of one kind, or what a .syx file held.
struct CDiffFile {
    std::string path;
    std::optional<CLoadedFile> library;
    std::unique_ptr<CSysExHaul> haul;

    bool Holds(const CDocKind& kind) const
    {
        return library ? library->pKind == &kind : kind.TakenCount(*haul) > 0;
    }
    std::string Kinds() const
    {
        std::string words;
        for (const CDocKind* k : DocumentKinds().All())
            if (Holds(*k))
                words += (words.empty() ? "" : ", ") + std::string(k->Word());
        return words.empty() ? res::kCliDiffNothing : words;
    }
};

bool Open(const std::string& path, bool bAnyDevice, CDiffFile& file, std::string& error)
{
    file.path = path;
    if (!IsSysExPath(path)) {
        file.library = LoadLibraryFile(path, nullptr, error);
        return file.library.has_value();
    }
    file.haul = std::make_unique<CSysExHaul>(DocumentKinds().SysExLayouts());
    if (!ReadSysExHaul(path, bAnyDevice, *file.haul, error))
        return false;
    if (DocumentKinds().HaulHasEntries(*file.haul))
        return true;
    const std::string ids = FormatDeviceIds(*file.haul);
    error = ids.empty() ? FormatText(res::kCliDiffNoData, path)
                        : FormatText(res::kCliSysExOtherDevice, path, ids);
    return false;
}

// The file's entries of kind as a document, and which entries it holds.
struct CDiffSide {
    std::unique_ptr<CDocument> pOwned;
    const CDocument* pDoc = nullptr;
    std::vector<bool> present;
};

CDiffSide SideOf(const CDiffFile& file, const CDocKind& kind)
{
    CDiffSide side;
    if (file.library) {
        side.pDoc = file.library->pDoc.get();
        return side;
    }
    side.pOwned = kind.NewDocument();
    PlaceHaul(*file.haul, kind, *side.pOwned, res::kCliConvertEdit);
    side.pDoc = side.pOwned.get();
    for (int n = 0; n < kind.EntryCount(); ++n)
        side.present.push_back(kind.IsTaken(*file.haul, n));
    return side;
}

std::string EntryLine(const CDocKind& kind, const CEntryMatch& m, const CDiffSide& a, const CDiffSide& b,
                      const CDiffFile& fa, const CDiffFile& fb)
{
    const std::string word = kind.Word();
    const std::string label = kind.EntryLabel(m.nEntry);
    // Names as the windows show them, without the padding.
    const auto name = [&](const CDiffSide& s, int n) {
        std::string text = kind.EntryName(*s.pDoc, n);
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    };
    switch (m.match) {
    case EEntryMatch::NameOnly:
        return FormatText(res::kCliDiffNameOnly, word, label, name(a, m.nEntry), name(b, m.nEntry));
    case EEntryMatch::Differs:
        return FormatText(res::kCliDiffDiffers, word, label,
                          m.nBytes == 1 ? res::kCliDiffByte
                                        : FormatText(res::kCliDiffBytes, std::to_string(m.nBytes)),
                          name(a, m.nEntry), name(b, m.nEntry));
    case EEntryMatch::Moved:
        return FormatText(res::kCliDiffMoved, word, label, kind.EntryLabel(m.nMovedTo), name(a, m.nEntry),
                          name(b, m.nMovedTo));
    case EEntryMatch::OnlyInFirst:
        return FormatText(res::kCliDiffOnlyIn, word, label, fa.path, name(a, m.nEntry));
    case EEntryMatch::OnlyInSecond:
        return FormatText(res::kCliDiffOnlyIn, word, label, fb.path, name(b, m.nEntry));
    case EEntryMatch::Same: break;
    }
    return {};
}

} // namespace

int Diff(const COptions& options, CContext& ctx)
{
    CDiffFile a, b;
    std::string error;
    if (!Open(options.strPath, options.bAnyDevice, a, error) ||
        !Open(options.strTarget, options.bAnyDevice, b, error)) {
        PrintMessage(ctx, error);
        return kExitFile;
    }
    std::vector<const CDocKind*> kinds;
    for (const CDocKind* k : DocumentKinds().All())
        if (a.Holds(*k) && b.Holds(*k))
            kinds.push_back(k);
    if (kinds.empty()) {
        PrintMessage(ctx, FormatText(res::kCliDiffNoCommonKind, a.path, a.Kinds(), b.path, b.Kinds()));
        return kExitFile;
    }
    int nExit = kExitDone;
    for (const CDocKind* pKind : kinds) {
        const CDiffSide sa = SideOf(a, *pKind), sb = SideOf(b, *pKind);
        const CBankDiff diff = CompareBanks(*pKind, {*sa.pDoc, sa.present}, {*sb.pDoc, sb.present});
        for (const CEntryMatch& m : diff.entries)
            if (m.match != EEntryMatch::Same)
                ctx.out << EntryLine(*pKind, m, sa, sb, a, b) << '\n';
        const std::string count = std::to_string(pKind->EntryCount());
        if (diff.CountDiffering() == 0) {
            ctx.out << FormatText(res::kCliDiffSame, a.path, b.path, count, pKind->Word()) << '\n';
            continue;
        }
        ctx.out << FormatText(res::kCliDiffSummary, a.path, b.path, std::to_string(diff.CountDiffering()),
                              count, pKind->Word())
                << '\n';
        nExit = kExitDiffers;
    }
    return nExit;
}

} // namespace vantorel::cli
