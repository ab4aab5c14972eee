#pragma once
// Get System and Send System: both blocks (mode 0), the system parameters
// only (mode 1) or the Tx/Rx settings only (mode 2).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CDocument;
class CDocKind;
// The system data as a kind (SystemKind.cpp).
const CDocKind& SystemKind();

enum : int { kSystemBoth = 0, kSystemParametersOnly = 1, kSystemTxRxOnly = 2 };
// The blocks of the system record as a .syx haul numbers them: the parameters,
// the Tx/Rx settings, and the one Tx/Rx byte among the parameters.
enum : int { kSystemParameterBlock = 0, kTxRxBlock = 1, kTxRxExtraBlock = 2 };

// One block of a system transfer: where it lives on the synthesizer, where in
// the 65 bytes of system data, and the bar before and after it.
struct CSystemStep {
    uint32_t dwAddress;
    uint32_t dwSize;
    size_t nOffset;
    int nPosAsked;
    int nPosStored;
};

// The blocks of a mode, in order. An unknown mode counts as both blocks.
std::vector<CSystemStep> SystemSteps(int nMode);

// Its dialogs' template ids, as the program's resources number them.
enum : int {
    IDD_GETTING_SYSTEM = 180,
    IDD_GET_SYSTEM = 181,
    IDD_SENDING_SYSTEM = 182,
    IDD_SEND_SYSTEM = 183
};

// Made by SystemKind, which sets what it fetches.
class CSystemGetPlan : public CGetPlan {
public:
    CDocument* m_pDoc = nullptr; // the system document, written through its edits
    int m_nMode = kSystemBoth;
    int m_nStep = 0;

    const CGetRules& Rules() const override { return kFixedBlockRules; }
    void Begin(IProgressDisplay& display) override;
    CRequest Request(IProgressDisplay& display) override;
    bool Store(const CSysExMessage& answer, CSysExList& answers, IProgressDisplay& display) override;
    bool IsWhole() const override { return m_nMode == kSystemBoth; }
    CTransferNoun Noun() const override;
    int Total() const override { return int(SystemSteps(m_nMode).size()); }

private:
    std::vector<CSystemStep> m_steps;
};

class CSystemSendPlan : public CSendPlan {
public:
    const uint8_t* m_pSystemData = nullptr;
    int m_nMode = kSystemBoth;
    int m_nStep = 0;

    void Begin(IProgressDisplay& display) override;
    bool Next(CDataSet& dataSet, IProgressDisplay& display) override;
    bool IsWhole() const override { return m_nMode == kSystemBoth; }
    CTransferNoun Noun() const override;
    int Total() const override { return int(SystemSteps(m_nMode).size()); }

private:
    std::vector<CSystemStep> m_steps;
};

} // namespace vantorel
