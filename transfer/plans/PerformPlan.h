#pragma once
// Get Performance and Send Performance: a whole bank or one performance,
// each as its five blocks (common, part 1, part 2, patch 1, patch 2).
#include "data/PerformDoc.h"
#include "data/PerformRecord.h"

#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CDocKind;
// The performance bank as a kind (PerformKind.cpp).
const CDocKind& PerformanceKind();

// Block nBlock (0 to 4) of performance nIndex.
uint32_t PerformanceBlockAddress(int nIndex, int nBlock);

// Its dialogs' template ids, as the program's resources number them.
enum : int {
    IDD_GETTING_PERFORMANCE = 171,
    IDD_GET_PERFORMANCE = 172,
    IDD_SENDING_PERFORMANCE = 173,
    IDD_SEND_PERFORMANCE = 174,
};

// Made by PerformanceKind, which sets what it fetches.
class CPerformGetPlan : public CGetPlan {
public:
    CDocument* m_pDoc = nullptr; // the performance bank, written through its edits
    bool m_bSingle = false;      // performance m_nIndex alone, not the bank
    int m_nIndex = 0;
    int m_nStep = 0; // the block asked for; 5 when all is done

    const CGetRules& Rules() const override { return kFixedBlockRules; }
    void Begin(IProgressDisplay& display) override;
    CRequest Request(IProgressDisplay& display) override;
    bool Store(const CSysExMessage& answer, CSysExList& answers, IProgressDisplay& display) override;
    bool IsWhole() const override { return !m_bSingle; }
    CTransferNoun Noun() const override;
    int Total() const override { return m_bSingle ? 1 : CPerformDoc::kPerformanceCount; }
};

// What it sends: a bank (m_pDoc) or one record.
class CPerformSendPlan : public CSendPlan {
public:
    const CPerformDoc* m_pDoc = nullptr;
    const CPerformRecord* m_pRecord = nullptr;
    int m_nIndex = 0;
    int m_nStep = 0;

    void Begin(IProgressDisplay& display) override;
    bool Next(CDataSet& dataSet, IProgressDisplay& display) override;
    bool IsWhole() const override { return m_pRecord == nullptr; }
    CTransferNoun Noun() const override;
    int Total() const override { return m_pRecord ? 1 : CPerformDoc::kPerformanceCount; }
};

} // namespace vantorel
