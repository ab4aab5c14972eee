#pragma once
// Get Patch and Send Patch: a whole bank, one user patch, or one of the two
// patches inside a performance.
#include "data/PatchDoc.h"
#include "data/PatchRecord.h"

#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CDocKind;
// The patch bank as a kind (PatchKind.cpp).
const CDocKind& PatchKind();

// Where a patch lives: user patch nIndex (nPart 0) or patch nPart (1 or 2) of
// performance nPerformance.
uint32_t PatchAddress(int nIndex, int nPerformance, int nPart);

// Its dialogs' template ids, as the program's resources number them.
enum : int { IDD_GETTING_PATCH = 161, IDD_GET_PATCH = 162, IDD_SENDING_PATCH = 163, IDD_SEND_PATCH = 164 };

// Made by the kinds (PatchKind, and PerformanceKind for a performance's
// patches), which set what it fetches.
class CPatchGetPlan : public CGetPlan {
public:
    // Where the patches go, through the document's edits: a patch bank, or
    // for a performance's patch (m_nPart 1 or 2) the performance bank.
    CDocument* m_pDoc = nullptr;
    bool m_bSingle = false; // user patch m_nIndex alone, not the bank
    int m_nIndex = 0;       // the patch now being fetched
    int m_nPerformance = 0;
    int m_nPart = 0;

    const CGetRules& Rules() const override { return kFixedBlockRules; }
    void Begin(IProgressDisplay& display) override;
    CRequest Request(IProgressDisplay& display) override;
    bool Store(const CSysExMessage& answer, CSysExList& answers, IProgressDisplay& display) override;
    bool IsWhole() const override { return !IsSingle(); }
    CTransferNoun Noun() const override;
    int Total() const override { return IsSingle() ? 1 : CPatchDoc::kPatchCount; }

private:
    bool IsSingle() const { return m_bSingle || m_nPart != 0; }
};

class CPatchSendPlan : public CSendPlan {
public:
    const CPatchRecord* m_pRead = nullptr;   // bank: the first record
    const CPatchRecord* m_pRecord = nullptr; // single or part: the record sent
    int m_nIndex = 0;
    int m_nPerformance = 0;
    int m_nPart = 0;

    void Begin(IProgressDisplay& display) override;
    bool Next(CDataSet& dataSet, IProgressDisplay& display) override;
    bool IsWhole() const override { return !IsSingle(); }
    CTransferNoun Noun() const override;
    int Total() const override { return IsSingle() ? 1 : CPatchDoc::kPatchCount; }

private:
    bool IsSingle() const { return m_pRecord != nullptr || m_nPart != 0; }
};

} // namespace vantorel
