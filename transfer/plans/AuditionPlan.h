#pragma once
// Send Data: one whole performance to the audition address outside the user
// memory, as its five blocks, so that the Preview note sounds with it. A kind
// whose entries are auditioned makes the plan from an entry's bytes
// (CDocKind::MakeAuditionPlan); the plan keeps its own copy of the
// performance, taken at the click. A performance with bytes of 0x80 and above
// would end a data set early on the wire: it is not sent at all, rather than
// cut short, and nothing is said.
#include <array>
#include <cstdint>

#include "data/PatchRecord.h"
#include "data/PerformRecord.h"
#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CAuditionPlan : public CSendPlan {
public:
    static constexpr int kStepCount = CPerformRecord::kBlockCount;

    // Where each block goes (linear addresses: 01 00 00 00, 01 00 10 00,
    // 01 00 11 00, 01 00 40 00, 01 00 42 00).
    static constexpr uint32_t kCommonAddress = 0x200000;
    static constexpr uint32_t kFirstPartAddress = 0x200800;
    static constexpr uint32_t kSecondPartAddress = 0x200880;
    static constexpr uint32_t kFirstPatchAddress = 0x202000;
    static constexpr uint32_t kSecondPatchAddress = 0x202100;
    static constexpr std::array<uint32_t, kStepCount> kAddresses = {
        kCommonAddress, kFirstPartAddress, kSecondPartAddress, kFirstPatchAddress, kSecondPatchAddress};

    // Sends a performance as it is.
    explicit CAuditionPlan(const CPerformRecord& performance) : m_performance(performance) {}
    // Sends a patch in the performance PerformanceFor makes of it.
    explicit CAuditionPlan(const CPatchRecord& patch) { PerformanceFor(patch, m_performance); }

    // The performance sent for a patch: the patch's name (spaces from a zero
    // byte on), the initial performance's settings, the patch in the first
    // slot and the initial patch in the second.
    static void PerformanceFor(const CPatchRecord& patch, CPerformRecord& performance);
    const CPerformRecord& Performance() const { return m_performance; }

    int m_nStep = 0; // the next block

    bool CanStart() const override;
    void Begin(IProgressDisplay& display) override;
    bool Next(CDataSet& dataSet, IProgressDisplay& display) override;
    bool IsWhole() const override { return false; }
    CTransferNoun Noun() const override;
    int Total() const override { return 1; }

private:
    CPerformRecord m_performance;
};

} // namespace vantorel
