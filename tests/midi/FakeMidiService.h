#pragma once
// A scripted MIDI service for tests: records every call in order with its
// arguments, can fail any call with a chosen code, and lists the devices the
// test gives it. Handles are tokens it never dereferences.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "midi/MidiService.h"

namespace vantorel::test {

class CFakeMidiService : public CMidiService {
public:
    struct CCall {
        std::string m_strName;    // "InOpen", "OutLongMsg", ...
        uintptr_t m_handle = 0;   // handle argument (or the device for opens)
        MIDIHDR* m_pHdr = nullptr;
        uint32_t m_dwArg = 0;     // short message, header flags at the call
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
    // Handles that have been opened and not closed.
    std::map<uintptr_t, IMidiNotify*> m_openIn;
    std::map<uintptr_t, IMidiNotify*> m_openOut;
    uintptr_t m_nNextHandle = 0x1000;
    std::string m_strTag; // prefix of this service's error texts

    void Fail(const std::string& name, MMRESULT result, int nTimes = 0) { m_failures[name] = {result, nTimes}; }
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

    unsigned InGetNumDevs() override { return unsigned(m_ins.size()); }
    MMRESULT InGetDevName(unsigned n, std::string& name) override
    {
        if (n >= m_ins.size())
            return MMSYSERR_BADDEVICEID;
        name = m_ins[n];
        return MMSYSERR_NOERROR;
    }
    MMRESULT InOpen(HMIDIIN* ph, unsigned n, IMidiNotify* pWnd) override
    {
        Record("InOpen", n);
        if (MMRESULT r = Check("InOpen"))
            return r;
        if (n >= m_ins.size())
            return MMSYSERR_BADDEVICEID;
        const uintptr_t h = m_nNextHandle++;
        m_openIn[h] = pWnd;
        *ph = reinterpret_cast<HMIDIIN>(h);
        return MMSYSERR_NOERROR;
    }
    MMRESULT InReset(HMIDIIN h) override { return InCall("InReset", h); }
    MMRESULT InPrepareHeader(HMIDIIN h, MIDIHDR* p) override { return InCall("InPrepareHeader", h, p); }
    MMRESULT InAddBuffer(HMIDIIN h, MIDIHDR* p) override { return InCall("InAddBuffer", h, p); }
    MMRESULT InStart(HMIDIIN h) override { return InCall("InStart", h); }
    MMRESULT InStop(HMIDIIN h) override { return InCall("InStop", h); }
    MMRESULT InUnprepareHeader(HMIDIIN h, MIDIHDR* p) override { return InCall("InUnprepareHeader", h, p); }
    MMRESULT InClose(HMIDIIN h) override
    {
        const MMRESULT r = InCall("InClose", h);
        if (r == MMSYSERR_NOERROR)
            m_openIn.erase(reinterpret_cast<uintptr_t>(h));
        return r;
    }
    std::string InGetErrorText(MMRESULT r) override { return TextFor(m_strTag, "in", r); }

    unsigned OutGetNumDevs() override { return unsigned(m_outs.size()); }
    MMRESULT OutGetDevName(unsigned n, std::string& name) override
    {
        if (n >= m_outs.size())
            return MMSYSERR_BADDEVICEID;
        name = m_outs[n];
        return MMSYSERR_NOERROR;
    }
    MMRESULT OutOpen(HMIDIOUT* ph, unsigned n, IMidiNotify* pWnd) override
    {
        Record("OutOpen", n);
        if (MMRESULT r = Check("OutOpen"))
            return r;
        if (n >= m_outs.size())
            return MMSYSERR_BADDEVICEID;
        const uintptr_t h = m_nNextHandle++;
        m_openOut[h] = pWnd;
        *ph = reinterpret_cast<HMIDIOUT>(h);
        return MMSYSERR_NOERROR;
    }
    MMRESULT OutShortMsg(HMIDIOUT h, uint32_t dw) override
    {
        Record("OutShortMsg", reinterpret_cast<uintptr_t>(h), nullptr, dw);
        return CheckOut("OutShortMsg", h);
    }
    MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* p) override { return OutCall("OutPrepareHeader", h, p); }
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* p) override
    {
        Record("OutLongMsg", reinterpret_cast<uintptr_t>(h), p, p ? p->dwFlags : 0);
        if (p)
            m_calls.back().m_bytes.assign(p->lpData, p->lpData + p->dwBufferLength);
        return CheckOut("OutLongMsg", h);
    }
    MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* p) override { return OutCall("OutUnprepareHeader", h, p); }
    MMRESULT OutReset(HMIDIOUT h) override { return OutCall("OutReset", h); }
    MMRESULT OutClose(HMIDIOUT h) override
    {
        const MMRESULT r = OutCall("OutClose", h);
        if (r == MMSYSERR_NOERROR)
            m_openOut.erase(reinterpret_cast<uintptr_t>(h));
        return r;
    }
    std::string OutGetErrorText(MMRESULT r) override { return TextFor(m_strTag, "out", r); }

    // Hands the window a notification, as the service would (on the GUI thread).
    void ReturnInBuffer(HMIDIIN h, MIDIHDR* p, const std::vector<uint8_t>& bytes)
    {
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
    MMRESULT InCall(const char* name, HMIDIIN h, MIDIHDR* p = nullptr)
    {
        Record(name, reinterpret_cast<uintptr_t>(h), p, p ? p->dwFlags : 0);
        if (MMRESULT r = Check(name))
            return r;
        return m_openIn.count(reinterpret_cast<uintptr_t>(h)) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    }
    MMRESULT CheckOut(const char* name, HMIDIOUT h)
    {
        if (MMRESULT r = Check(name))
            return r;
        return m_openOut.count(reinterpret_cast<uintptr_t>(h)) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    }
    MMRESULT OutCall(const char* name, HMIDIOUT h, MIDIHDR* p = nullptr)
    {
        Record(name, reinterpret_cast<uintptr_t>(h), p, p ? p->dwFlags : 0);
        return CheckOut(name, h);
    }
};

// Installs a service for the lifetime of a test.
class CInstallService {
public:
    explicit CInstallService(CMidiService* p) { CMidiService::Install(p); }
    ~CInstallService() { CMidiService::Install(nullptr); }
};

} // namespace vantorel::test
