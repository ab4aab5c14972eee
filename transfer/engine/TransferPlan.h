#pragma once
// What one kind of transfer needs to say to the shared machinery: which
// address comes next, where the answer's bytes go, what the progress display
// shows, and when the transfer is over. The runs (GetRun.h, SendRun.h) own the
// ports, the timers and the order of events; a plan owns none of them. A plan
// also counts its entries, so that a run can say how far it got.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantorel {

class CSysExMessage;
class CSysExList;

// The times of every transfer.
inline constexpr int kPauseMs = 100;          // after each data set; before a transfer ends
inline constexpr int kAnswerTimeoutMs = 1000; // for the synthesizer to answer a request

// What a plan may show while it runs.
class IProgressDisplay {
public:
    virtual ~IProgressDisplay() = default;
    // The progress text (the dialog draws it in a white box, fixed font).
    virtual void ShowText(const std::string& text) = 0;
    // A sentence for the user to read in place of the progress text; a
    // window shows it whole, on as many lines as it takes.
    virtual void ShowNote(const std::string& text) { ShowText(text); }
    // The progress bar, where the display has one (range 0 to 100).
    virtual void SetProgressPos(int nPos) = 0;
    virtual void SetProgressStep(int nStep) = 0;
    virtual void StepProgress() = 0;
    // The status line of the run ("Getting patch 16 of 128, about 9 s left");
    // empty once the run is over.
    virtual void ShowStatus(const std::string&) {}
};

// Shows nothing: for runs nobody watches (the audition).
class CSilentDisplay : public IProgressDisplay {
public:
    void ShowText(const std::string&) override {}
    void SetProgressPos(int) override {}
    void SetProgressStep(int) override {}
    void StepProgress() override {}
};

// One data request: a linear address and a size.
struct CRequest {
    uint32_t dwAddress = 0;
    uint32_t dwSize = 0;
};

// One data set to send; pData points into the document and is copied by the
// port before the plan moves on.
struct CDataSet {
    uint32_t dwAddress = 0;
    const uint8_t* pData = nullptr;
    size_t nCount = 0;
    bool bValid = true;   // false: the caller gave nothing to read from
    int nEntry = 0;       // the entry it belongs to, counted from 0 in this transfer
    std::string strEntry; // that entry as messages name it ("Patch A13")
    // For entries of any length (patterns, motions): the whole entry's data
    // and the device memory it has, so that none of an entry leaves when it
    // would run into the next one's. Fixed-size records leave both 0.
    size_t nEntrySize = 0;
    size_t nEntryRoom = 0;
};

// What a transfer counts in: "patch" and "patches".
struct CTransferNoun {
    const char* szOne;
    const char* szMany;
};

// How a Get waits for its answers. The fixed-block kinds arm the time-out when
// the request has left the port and ask again without limit; the
// variable-length kinds arm it as the request goes out and ask again once,
// after which the plan decides what the silence means.
struct CGetRules {
    int nTimeoutTimer = 2;
    int nFinishTimer = 1;
    bool bArmOnSend = false;
    bool bRetryOnce = false;
    // An answer must carry exactly the size asked for; otherwise it may carry
    // less (the end of an item) but never more. Anything else is damaged.
    bool bExactLength = true;
};

inline constexpr CGetRules kFixedBlockRules{2, 1, false, false, true};
inline constexpr CGetRules kVariableLengthRules{1, 2, true, true, false};

// A Get: requests, each answered by one data set of this device for the
// address just asked for (the run drops anything else before the plan sees it).
class CGetPlan {
public:
    enum class Silence { AskNext, Finish, Stall };

    virtual ~CGetPlan() = default;
    virtual const CGetRules& Rules() const = 0;
    // Resets the plan for a new transfer, before the first request.
    virtual void Begin(IProgressDisplay& display) = 0;
    // The request of the current step; called again, unchanged, to repeat it.
    virtual CRequest Request(IProgressDisplay& display) = 0;
    // Stores a verified answer to the current request (already the newest of
    // answers) and moves on. Returns true while another request follows.
    virtual bool Store(const CSysExMessage& answer, CSysExList& answers, IProgressDisplay& display) = 0;
    // A time-out after the one repeat the rules allow.
    virtual Silence OnSilence(IProgressDisplay&) { return Silence::Stall; }
    // True for a whole bank (or the whole system): the "Complete!" box follows.
    virtual bool IsWhole() const = 0;

    virtual CTransferNoun Noun() const = 0;
    // The entries this Get fetches, and how many of them are complete.
    virtual int Total() const = 0;
    int Done() const { return m_nDone; }
    // True once an answer has changed the document.
    bool HasStored() const { return m_bStored; }
    // Before Begin, by the run.
    void ResetCounts()
    {
        m_nDone = 0;
        m_bStored = false;
    }

protected:
    void MarkStored() { m_bStored = true; }
    void EntryDone() { ++m_nDone; }

private:
    int m_nDone = 0;
    bool m_bStored = false;
};

// A Send: data sets, each followed by a 100 ms pause.
class CSendPlan {
public:
    virtual ~CSendPlan() = default;
    // False: the run ends at once, failed (refused bytes, no entry named),
    // before any port is opened: the plan's owner has refused the data already.
    virtual bool CanStart() const { return true; }
    virtual void Begin(IProgressDisplay& display) = 0;
    // The next data set; returns true while another one follows it.
    virtual bool Next(CDataSet& dataSet, IProgressDisplay& display) = 0;
    virtual bool IsWhole() const = 0;
    virtual CTransferNoun Noun() const = 0;
    // The entries this Send sends.
    virtual int Total() const = 0;
};

} // namespace vantorel
