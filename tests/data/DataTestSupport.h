#pragma once
// Helpers shared by the library data tests: saving and loading documents
// through archives, a view that records update hints, and one traits type
// per document kind for the tests that run over all five.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/core/Archive.h"
#include "framework/core/HintRect.h"

namespace vantorel::test {

using Bytes = std::vector<uint8_t>;

inline Bytes Save(CDocument& doc)
{
    Bytes out;
    CArchive ar(out);
    EXPECT_EQ(doc.Serialize(ar), CDocument::LoadResult::Ok);
    return out;
}

inline CDocument::LoadResult Load(CDocument& doc, const Bytes& bytes, size_t* pPosition = nullptr)
{
    CArchive ar(bytes.data(), bytes.size());
    const auto result = doc.Serialize(ar);
    if (pPosition)
        *pPosition = ar.Position();
    return result;
}

// The header a correct file of the given type starts with, written out by hand.
inline Bytes MakeHeader(const std::string& type16)
{
    Bytes h(128, 0);
    const std::string model = "KQ-3300 ";
    std::copy(model.begin(), model.end(), h.begin());
    std::copy(type16.begin(), type16.end(), h.begin() + 8);
    const std::string version = "0001";
    std::copy(version.begin(), version.end(), h.begin() + 24);
    return h;
}

struct CUpdate {
    CViewBase* pSender;
    long lHint;
    bool bHintRect;
    CRect rect;
};

class CRecordingView : public CViewBase {
public:
    void OnUpdate(CViewBase* pSender, long lHint, CObject* pHint) override
    {
        auto* pRect = dynamic_cast<CHintRect*>(pHint);
        m_updates.push_back({pSender, lHint, pRect != nullptr, pRect ? pRect->m_rect : CRect{}});
    }
    std::vector<CUpdate> m_updates;
};

inline void Fill(uint8_t* p, size_t n, std::mt19937& rng)
{
    for (size_t i = 0; i < n; ++i)
        p[i] = static_cast<uint8_t>(rng());
}

template <class TEntry, size_t N>
void FillEntries(std::array<TEntry, N>& entries, std::mt19937& rng, size_t nMaxSize)
{
    for (TEntry& e : entries) {
        Bytes data(rng() % (nMaxSize + 1));
        Fill(data.data(), data.size(), rng);
        e.SetData(data.data(), data.size());
        e.m_byValue = static_cast<uint8_t>(rng());
        e.m_dwFlag = rng() % 2;
    }
}

struct PatchKind {
    using Doc = CPatchDoc;
    static constexpr size_t kNewFileSize = 30720;
    static constexpr const char* kType = "USER PATCH      ";
    static void Randomize(Doc& d, std::mt19937& rng)
    {
        for (auto& r : d.m_aPatch)
            Fill(r.Data(), 239, rng);
    }
    static bool Same(const Doc& a, const Doc& b) { return a.m_aPatch == b.m_aPatch; }
};

struct PerformKind {
    using Doc = CPerformDoc;
    static constexpr size_t kNewFileSize = 33920;
    static constexpr const char* kType = "USER PERFORMANCE";
    static void Randomize(Doc& d, std::mt19937& rng)
    {
        for (auto& r : d.m_aPerform)
            Fill(r.Data(), 528, rng);
    }
    static bool Same(const Doc& a, const Doc& b) { return a.m_aPerform == b.m_aPerform; }
};

struct SystemKind {
    using Doc = CSystemDoc;
    static constexpr size_t kNewFileSize = 193;
    static constexpr const char* kType = "SYSTEM          ";
    static void Randomize(Doc& d, std::mt19937& rng) { Fill(d.m_aSystem.data(), 65, rng); }
    static bool Same(const Doc& a, const Doc& b) { return a.m_aSystem == b.m_aSystem; }
};

struct PatternKind {
    using Doc = CPatternDoc;
    static constexpr size_t kNewFileSize = 1088;
    static constexpr const char* kType = "PATTERN         ";
    static void Randomize(Doc& d, std::mt19937& rng) { FillEntries(d.m_aPattern, rng, 300); }
    static bool Same(const Doc& a, const Doc& b) { return a.m_aPattern == b.m_aPattern; }
};

struct MotionKind {
    using Doc = CMotionDoc;
    static constexpr size_t kNewFileSize = 236;
    static constexpr const char* kType = "MOTION          ";
    static void Randomize(Doc& d, std::mt19937& rng) { FillEntries(d.m_aMotion, rng, 600); }
    static bool Same(const Doc& a, const Doc& b) { return a.m_aMotion == b.m_aMotion; }
};

} // namespace vantorel::test
