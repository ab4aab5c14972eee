#pragma once
// A scripted MIDI service for tests: records every call in order with its
// arguments, can fail any call with a chosen code, and lists the devices the
// test gives it. Buffers, handles and notifications follow the one backend
// contract (CMidiServiceBase): nothing reaches a device, and "done" comes
// after the wire time of what was sent.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiServiceBase.h"

namespace vantorel {
// Hands an input buffer back by hand, as the fake service does.
class CInSlotTestPeer {
public:
    static bool Withdraw(CMidiServiceBase::CInSlot& slot, MIDIHDR* pHdr) { return slot.Withdraw(pHdr); }
};
} // namespace vantorel

namespace vantorel::test {

class CFakeMidiService : public CMidiServiceBase {
public:
    struct CCall {
        std::string m_strName;  // "InOpen", "OutLongMsg", ...
        uintptr_t m_handle = 0; // handle argument (or the device for opens)
        MIDIHDR* m_pHdr = nullptr;
        uint32_t m_dwArg = 0;         // short message, header flags at the call
        std::vector<uint8_t> m_bytes; // long message bytes
    };

    std::vector<std::string> m_ins;
    std::vector<std::string> m_outs;
    std::vector<CCall> m_calls;
    // Calls by name that fail, with their code; a count of 0 fails every time.
    struct CFailure {
        MMRESULT m_result;
        int m_nTimes;
    };
    std::map<std::string, CFailure> m_failures;
    // Handles that have been opened and not closed, with their windows.
    std::map<uintptr_t, IMidiNotify*> m_openIn;
    std::map<uintptr_t, IMidiNotify*> m_openOut;
    using CMidiServiceBase::m_nNextHandle;
    // How many times a device list was made (each walks every port).
    int m_nListings = 0;
    std::string m_strTag; // prefix of this service's error texts

    void Fail(const std::string& name, MMRESULT result, int nTimes = 0)
    {
        m_failures[name] = {result, nTimes};
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& c : m_calls)
            names.push_back(c.m_strName);
        return names;
    }
    static std::string TextFor(const std::string& tag, const char* dir, MMRESULT r)
    {
        return tag + dir + " error " + std::to_string(r);
    }

    MMRESULT InOpen(HMIDIIN* ph, unsigned n, IMidiNotify* pWnd) override
    {
        Record("InOpen", n);
        if (MMRESULT r = Check("InOpen"))
            return r;
        const MMRESULT r = CMidiServiceBase::InOpen(ph, n, pWnd);
        if (r == MMSYSERR_NOERROR)
            m_openIn[reinterpret_cast<uintptr_t>(*ph)] = pWnd;
        return r;
    }
    MMRESULT InReset(HMIDIIN h) override
    {
        return Scripted("InReset", h, nullptr, [&] { return CMidiServiceBase::InReset(h); });
    }
    MMRESULT InPrepareHeader(HMIDIIN h, MIDIHDR* p) override
    {
        return Scripted("InPrepareHeader", h, p, [&] { return CMidiServiceBase::InPrepareHeader(h, p); });
    }
    MMRESULT InAddBuffer(HMIDIIN h, MIDIHDR* p) override
    {
        return Scripted("InAddBuffer", h, p, [&] { return CMidiServiceBase::InAddBuffer(h, p); });
    }
    MMRESULT InStart(HMIDIIN h) override
    {
        return Scripted("InStart", h, nullptr, [&] { return CMidiServiceBase::InStart(h); });
    }
    MMRESULT InStop(HMIDIIN h) override
    {
        return Scripted("InStop", h, nullptr, [&] { return CMidiServiceBase::InStop(h); });
    }
    MMRESULT InUnprepareHeader(HMIDIIN h, MIDIHDR* p) override
    {
        return Scripted("InUnprepareHeader", h, p, [&] { return CMidiServiceBase::InUnprepareHeader(h, p); });
    }
    MMRESULT InClose(HMIDIIN h) override
    {
        const MMRESULT r = Scripted("InClose", h, nullptr, [&] { return CMidiServiceBase::InClose(h); });
        if (r == MMSYSERR_NOERROR)
            m_openIn.erase(reinterpret_cast<uintptr_t>(h));
        return r;
    }
    std::string InGetErrorText(MMRESULT r) override { return TextFor(m_strTag, "in", r); }

    MMRESULT OutOpen(HMIDIOUT* ph, unsigned n, IMidiNotify* pWnd) override
    {
        Record("OutOpen", n);
        if (MMRESULT r = Check("OutOpen"))
            return r;
        const MMRESULT r = CMidiServiceBase::OutOpen(ph, n, pWnd);
        if (r == MMSYSERR_NOERROR)
            m_openOut[reinterpret_cast<uintptr_t>(*ph)] = pWnd;
        return r;
    }
    MMRESULT OutShortMsg(HMIDIOUT h, uint32_t dw) override
    {
        Record("OutShortMsg", reinterpret_cast<uintptr_t>(h), nullptr, dw);
        if (MMRESULT r = Check("OutShortMsg"))
            return r;
        return CMidiServiceBase::OutShortMsg(h, dw);
    }
    MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* p) override
    {
        return Scripted("OutPrepareHeader", h, p, [&] { return CMidiServiceBase::OutPrepareHeader(h, p); });
    }
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* p) override
    {
        Record("OutLongMsg", reinterpret_cast<uintptr_t>(h), p, p ? p->dwFlags : 0);
        if (p && p->lpData)
            m_calls.back().m_bytes.assign(p->lpData, p->lpData + p->dwBufferLength);
        if (MMRESULT r = Check("OutLongMsg"))
            return r;
        return CMidiServiceBase::OutLongMsg(h, p);
    }
    MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* p) override
    {
        return Scripted("OutUnprepareHeader", h, p,
                        [&] { return CMidiServiceBase::OutUnprepareHeader(h, p); });
    }
    MMRESULT OutReset(HMIDIOUT h) override
    {
        return Scripted("OutReset", h, nullptr, [&] { return CMidiServiceBase::OutReset(h); });
    }
    MMRESULT OutClose(HMIDIOUT h) override
    {
        const MMRESULT r = Scripted("OutClose", h, nullptr, [&] { return CMidiServiceBase::OutClose(h); });
        if (r == MMSYSERR_NOERROR)
            m_openOut.erase(reinterpret_cast<uintptr_t>(h));
        return r;
    }
    std::string OutGetErrorText(MMRESULT r) override { return TextFor(m_strTag, "out", r); }

    // The device sends a message: it goes to the buffer queued on every
    // open input, as a backend's delivery would put it there.
    void SendFromDevice(const std::vector<uint8_t>& bytes)
    {
        for (auto& [h, pSlot] : m_slots)
            pSlot->Deliver(bytes.data(), bytes.size());
    }
    // Hands the window a notification by hand, as the service would (on
    // the GUI thread): the buffer leaves the queue with the bytes given.
    void ReturnInBuffer(HMIDIIN h, MIDIHDR* p, const std::vector<uint8_t>& bytes)
    {
        if (const auto it = m_slots.find(h); it != m_slots.end())
            CInSlotTestPeer::Withdraw(*it->second, p);
        std::copy(bytes.begin(), bytes.end(), p->lpData);
        p->dwBytesRecorded = uint32_t(bytes.size());
        p->dwFlags = (p->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        if (IMidiNotify* w = m_openIn.at(reinterpret_cast<uintptr_t>(h)))
            w->OnMidiInLongData(h, p);
    }
    void SignalOutDone(HMIDIOUT h, MIDIHDR* p)
    {
        if (IMidiNotify* w = m_openOut.at(reinterpret_cast<uintptr_t>(h)))
            w->OnMidiOutDone(h, p);
    }

protected:
    std::vector<std::string> ListInDevices() override
    {
        ++m_nListings;
        return m_ins;
    }
    std::vector<std::string> ListOutDevices() override
    {
        ++m_nListings;
        return m_outs;
    }
    // A lost input device, when the test says so (not recorded as a call:
    // its owner may ask on a timer).
    MMRESULT CheckInDevice(HMIDIIN) override { return Check("InCheckConnection"); }
    MMRESULT OpenInDevice(HMIDIIN h, unsigned n, const std::shared_ptr<CInSlot>& slot) override
    {
        if (n >= m_ins.size())
            return MMSYSERR_BADDEVICEID;
        m_slots[h] = slot;
        return MMSYSERR_NOERROR;
    }
    void CloseInDevice(HMIDIIN h) override { m_slots.erase(h); }
    MMRESULT OpenOutDevice(HMIDIOUT, unsigned n) override
    {
        return n < m_outs.size() ? MMSYSERR_NOERROR : MMSYSERR_BADDEVICEID;
    }
    MMRESULT SendOut(HMIDIOUT, const uint8_t*, size_t) override { return MMSYSERR_NOERROR; }
    void CloseOutDevice(HMIDIOUT) override {}

private:
    void Record(const char* name, uintptr_t h, MIDIHDR* p = nullptr, uint32_t dw = 0)
    {
        m_calls.push_back({name, h, p, dw, {}});
    }
    MMRESULT Check(const std::string& name)
    {
        auto it = m_failures.find(name);
        if (it == m_failures.end())
            return MMSYSERR_NOERROR;
        const MMRESULT r = it->second.m_result;
        if (it->second.m_nTimes > 0 && --it->second.m_nTimes == 0)
            m_failures.erase(it);
        return r;
    }
    // Recorded, failed when the test says so, else the contract's answer.
    template <class THandle, class TCall>
    MMRESULT Scripted(const char* name, THandle h, MIDIHDR* p, const TCall& call)
    {
        Record(name, reinterpret_cast<uintptr_t>(h), p, p ? p->dwFlags : 0);
        if (MMRESULT r = Check(name))
            return r;
        return call();
    }

    std::map<HMIDIIN, std::shared_ptr<CInSlot>> m_slots;
};

// Installs a service for the lifetime of a test.
class CInstallService {
public:
    explicit CInstallService(CMidiService* p) { CMidiService::Install(p); }
    ~CInstallService() { CMidiService::Install(nullptr); }
};

} // namespace vantorel::test
