#pragma once
// Patterns and motions: items of any length, each a one-byte value and a
// data stream the synthesizer hands out in packets of 231 bytes. The two
// kinds differ only by the numbers in CVarKind.
#include <cstdint>
#include <vector>

#include "data/VarEntry.h"
#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CDocKind;
// Patterns and motions as kinds (VarKinds.cpp).
const CDocKind& PatternKind();
const CDocKind& MotionKind();

struct CVarKind {
    int nCount; // items: 48 patterns, 4 motions
    uint32_t (*pValueAddress)(int);
    uint32_t (*pDataAddress)(int);
    uint32_t dwItemStep; // from one item's data to the next one's
    const char* szText;  // "Pattern %d" or "Motion %d"
    CTransferNoun noun;
};

extern const CVarKind kPatternKind;
extern const CVarKind kMotionKind;

// Their dialogs' template ids, as the program's resources number them.
enum : int {
    IDD_GETTING_PATTERN = 190,
    IDD_GET_PATTERN = 191,
    IDD_SENDING_PATTERN = 192,
    IDD_SEND_PATTERN = 193,
    IDD_GETTING_MOTION = 200,
    IDD_GET_MOTION = 201,
    IDD_SENDING_MOTION = 202,
    IDD_SEND_MOTION = 203,
};

// Get: per item the value (step 0), then packets (step 1) until a short one
// or two time-outs in a row. What arrives is kept aside and replaces the item,
// through the document's edits, only when the item is complete: Cancel or a
// silent synthesizer leave the item as it was.
class CVarGetPlan : public CGetPlan {
public:
    explicit CVarGetPlan(const CVarKind& kind) : m_kind(kind) {}

    CDocument* m_pDoc = nullptr; // the pattern or motion document
    int m_nSingle = -1;          // one item, or -1 for all
    int m_nIndex = 0;
    int m_nStep = 0;
    uint32_t m_dwBase = 0;    // the current item's data address
    uint32_t m_dwAddress = 0; // the next packet's address
    bool m_bBusy = false;

    const CGetRules& Rules() const override { return kVariableLengthRules; }
    void Begin(IProgressDisplay& display) override;
    CRequest Request(IProgressDisplay& display) override;
    bool Store(const CSysExMessage& answer, CSysExList& answers, IProgressDisplay& display) override;
    Silence OnSilence(IProgressDisplay& display) override;
    bool IsWhole() const override { return m_nSingle == -1; }
    CTransferNoun Noun() const override { return m_kind.noun; }
    int Total() const override { return m_nSingle == -1 ? m_kind.nCount : 1; }

private:
    void StartItem();
    void ItemComplete(IProgressDisplay& display);
    const CVarKind& m_kind;
    bool m_bHasValue = false; // the item's value has arrived
    uint8_t m_byValue = 0;
    std::vector<uint8_t> m_data; // the item's data so far
};

// Send: per item the value, then the data in packets of at most 231 bytes;
// an empty item goes out as one data set with no data.
class CVarSendPlan : public CSendPlan {
public:
    explicit CVarSendPlan(const CVarKind& kind) : m_kind(kind) {}

    int m_nIndex = 0;
    int m_nStep = 0;
    uint32_t m_dwBase = 0;
    uint32_t m_dwAddress = 0;
    size_t m_nPos = 0; // the next data byte of the current item

    void Begin(IProgressDisplay& display) override;
    bool Next(CDataSet& dataSet, IProgressDisplay& display) override;
    bool IsWhole() const override { return Single() == -1; }
    CTransferNoun Noun() const override { return m_kind.noun; }
    int Total() const override { return Single() == -1 ? m_kind.nCount : 1; }

protected:
    const CVarKind& Kind() const { return m_kind; }
    virtual const CVarEntry* Item(int n) const = 0;
    // The one item sent, or -1 for all.
    virtual int Single() const = 0;

private:
    const CVarKind& m_kind;
};

// The Send plan bound to an array of entries of one kind: the document's
// items, all or one.
template <class TEntry>
class CVarSendPlanT : public CVarSendPlan {
public:
    explicit CVarSendPlanT(const CVarKind& kind) : CVarSendPlan(kind) {}

    const TEntry* m_pItems = nullptr;
    int m_nSingle = -1; // one item, or -1 for all

protected:
    const CVarEntry* Item(int n) const override
    {
        return this->m_pItems && n >= 0 && n < Kind().nCount ? &this->m_pItems[n] : nullptr;
    }
    int Single() const override { return this->m_nSingle; }
};

} // namespace vantorel
