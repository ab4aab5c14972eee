#include "cli/Kinds.h"

#include <algorithm>
#include <cctype>

#include "data/EntryName.h"
#include "data/FileHeader.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "res/strings/cli.h"
#include "res/strings/datawindows.h"

namespace vantorel::cli {

namespace {

const std::array<CKindInfo, 5> kKinds = {{
    {EKind::Patch, "patch", "patch.pat", ".pat", kTypePatch, CPatchDoc::kPatchCount, res::kCliRangePatch,
     SysExKind::Patch},
    {EKind::Performance, "performance", "performance.pfm", ".pfm", kTypePerformance,
     CPerformDoc::kPerformanceCount, res::kCliRangePerformance, SysExKind::Performance},
    {EKind::System, "system", "system.syp", ".syp", kTypeSystem, 2, res::kCliRangeSystem, SysExKind::System},
    {EKind::Pattern, "pattern", "pattern.ptn", ".ptn", kTypePattern, CPatternDoc::kPatternCount,
     res::kCliRangePattern, SysExKind::Pattern},
    {EKind::Motion, "motion", "motion.mtn", ".mtn", kTypeMotion, CMotionDoc::kMotionCount,
     res::kCliRangeMotion, SysExKind::Motion},
}};

constexpr const char* kSystemLabels[2] = {"system", "txrx"};

std::string Trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return std::string(s);
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}


} // namespace

const std::array<CKindInfo, 5>& AllKinds() {
    return kKinds;
}

const CKindInfo& Info(EKind kind) {
    return kKinds[size_t(kind)];
}

std::optional<EKind> KindFromWord(std::string_view word) {
    for (const CKindInfo& k : kKinds)
        if (word == k.szWord)
            return k.kind;
    return std::nullopt;
}

std::optional<EKind> KindFromType(std::string_view type) {
    for (const CKindInfo& k : kKinds)
        if (type == k.type)
            return k.kind;
    return std::nullopt;
}

std::string EntryLabel(EKind kind, int n) {
    // The command line names the system's two blocks; the rest label as the lists do.
    return kind == EKind::System ? kSystemLabels[n] : SysExEntryLabel(Info(kind).sysex, n);
}

std::optional<int> ParseEntryLabel(EKind kind, std::string_view label) {
    // Few entries per kind: compare with each formatted label, so parsing can
    // never disagree with what is shown.
    const std::string wanted = Upper(Trimmed(label));
    for (int n = 0; n < Info(kind).nEntries; ++n)
        if (Upper(EntryLabel(kind, n)) == wanted)
            return n;
    return std::nullopt;
}

std::unique_ptr<CDocument> NewDocument(EKind kind) {
    switch (kind) {
    case EKind::Patch:
        return std::make_unique<CPatchDoc>();
    case EKind::Performance:
        return std::make_unique<CPerformDoc>();
    case EKind::System:
        return std::make_unique<CSystemDoc>();
    case EKind::Pattern:
        return std::make_unique<CPatternDoc>();
    case EKind::Motion:
        return std::make_unique<CMotionDoc>();
    }
    return nullptr;
}

} // namespace vantorel::cli
