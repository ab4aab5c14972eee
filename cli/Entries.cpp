#include "cli/Entries.h"

#include <algorithm>
#include <cstdio>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "res/strings/cli.h"
#include "res/strings/datawindows.h"

namespace vantorel::cli {

namespace {

template <class T> const T& As(const CDocument& doc) {
    return static_cast<const T&>(doc);
}

template <class T> T& As(CDocument& doc) {
    return static_cast<T&>(doc);
}

// The system rows: where each block lives in the 65 bytes.
size_t BlockOffset(int n) {
    return n == 0 ? CSystemDoc::kSystemParameterOffset : CSystemDoc::kTxRxSettingOffset;
}
size_t BlockSize(int n) {
    return n == 0 ? CSystemDoc::kSystemParameterSize : CSystemDoc::kTxRxSettingSize;
}

const CVarEntry& VarEntry(EKind kind, const CDocument& doc, int n) {
    if (kind == EKind::Pattern)
        return As<CPatternDoc>(doc).m_aPattern[size_t(n)];
    return As<CMotionDoc>(doc).m_aMotion[size_t(n)];
}

CVarEntry& VarEntry(EKind kind, CDocument& doc, int n) {
    return const_cast<CVarEntry&>(VarEntry(kind, static_cast<const CDocument&>(doc), n));
}

std::string Format(const char* pattern, const std::string& s, int n) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, s.c_str(), n);
    return text;
}

} // namespace

std::string EntryName(EKind kind, const CDocument& doc, int n) {
    switch (kind) {
    case EKind::Patch:
        return As<CPatchDoc>(doc).m_aPatch[size_t(n)].GetName();
    case EKind::Performance:
        return As<CPerformDoc>(doc).m_aPerform[size_t(n)].GetName();
    case EKind::System:
        return n == 0 ? res::kRowSystemParameter : res::kRowTxRxSetting;
    case EKind::Pattern:
    case EKind::Motion: {
        char row[32];
        std::snprintf(row, sizeof row, kind == EKind::Pattern ? res::kPatternLabel : res::kMotionLabel,
                      n + 1);
        return Format(res::kCliInfoVarName, row, int(VarEntry(kind, doc, n).GetSize()));
    }
    }
    return {};
}

bool SameEntry(EKind kind, const CDocument& a, const CDocument& b, int n) {
    switch (kind) {
    case EKind::Patch:
        return As<CPatchDoc>(a).m_aPatch[size_t(n)].m_data == As<CPatchDoc>(b).m_aPatch[size_t(n)].m_data;
    case EKind::Performance:
        return As<CPerformDoc>(a).m_aPerform[size_t(n)] == As<CPerformDoc>(b).m_aPerform[size_t(n)];
    case EKind::System: {
        const auto& x = As<CSystemDoc>(a).m_aSystem;
        const auto& y = As<CSystemDoc>(b).m_aSystem;
        return std::equal(x.begin() + std::ptrdiff_t(BlockOffset(n)),
                          x.begin() + std::ptrdiff_t(BlockOffset(n) + BlockSize(n)),
                          y.begin() + std::ptrdiff_t(BlockOffset(n)));
    }
    case EKind::Pattern:
    case EKind::Motion: {
        const CVarEntry& x = VarEntry(kind, a, n);
        const CVarEntry& y = VarEntry(kind, b, n);
        return x.m_byValue == y.m_byValue && x.GetBytes() == y.GetBytes();
    }
    }
    return false;
}

void CopyEntry(EKind kind, const CDocument& from, CDocument& to, int n) {
    switch (kind) {
    case EKind::Patch:
        As<CPatchDoc>(to).m_aPatch[size_t(n)] = As<CPatchDoc>(from).m_aPatch[size_t(n)];
        break;
    case EKind::Performance:
        As<CPerformDoc>(to).m_aPerform[size_t(n)] = As<CPerformDoc>(from).m_aPerform[size_t(n)];
        break;
    case EKind::System: {
        const auto& x = As<CSystemDoc>(from).m_aSystem;
        std::copy_n(x.begin() + std::ptrdiff_t(BlockOffset(n)), BlockSize(n),
                    As<CSystemDoc>(to).m_aSystem.begin() + std::ptrdiff_t(BlockOffset(n)));
        break;
    }
    case EKind::Pattern:
    case EKind::Motion:
        VarEntry(kind, to, n) = VarEntry(kind, from, n);
        break;
    }
}

} // namespace vantorel::cli
