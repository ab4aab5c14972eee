#include "midi/backends/CompositeMidiService.h"

#include "res/strings/midi.h"

namespace vantorel {

CCompositeMidiService::CCompositeMidiService(std::vector<CMidiService*> backends)
    : m_backends(std::move(backends))
{
}

CCompositeMidiService::~CCompositeMidiService()
{
    CloseAll();
}

void CCompositeMidiService::CloseAll()
{
    // Close them so that no backend keeps calling an entry that is gone.
    for (auto& [h, pEntry] : m_ins) {
        pEntry->m_pBackend->InReset(pEntry->m_hBackend);
        pEntry->m_pBackend->InClose(pEntry->m_hBackend);
    }
    for (auto& [h, pEntry] : m_outs) {
        pEntry->m_pBackend->OutReset(pEntry->m_hBackend);
        pEntry->m_pBackend->OutClose(pEntry->m_hBackend);
    }
    m_ins.clear();
    m_outs.clear();
}

void CCompositeMidiService::AddBackend(CMidiService* pBackend)
{
    m_backends.push_back(pBackend);
}

void CCompositeMidiService::CInEntry::OnMidiInLongData(HMIDIIN, MIDIHDR* pHdr)
{
    if (m_pWindow)
        m_pWindow->OnMidiInLongData(reinterpret_cast<HMIDIIN>(this), pHdr);
}

void CCompositeMidiService::COutEntry::OnMidiOutDone(HMIDIOUT, MIDIHDR* pHdr)
{
    if (m_pWindow)
        m_pWindow->OnMidiOutDone(reinterpret_cast<HMIDIOUT>(this), pHdr);
}

CMidiService* CCompositeMidiService::FindIn(unsigned nDevice, unsigned& nLocal)
{
    for (CMidiService* p : m_backends) {
        const unsigned n = p->InGetNumDevs();
        if (nDevice < n) {
            nLocal = nDevice;
            return p;
        }
        nDevice -= n;
    }
    return nullptr;
}

CMidiService* CCompositeMidiService::FindOut(unsigned nDevice, unsigned& nLocal)
{
    for (CMidiService* p : m_backends) {
        const unsigned n = p->OutGetNumDevs();
        if (nDevice < n) {
            nLocal = nDevice;
            return p;
        }
        nDevice -= n;
    }
    return nullptr;
}

CCompositeMidiService::CInEntry* CCompositeMidiService::LookUp(HMIDIIN h)
{
    const auto it = m_ins.find(h);
    return it == m_ins.end() ? nullptr : it->second.get();
}

CCompositeMidiService::COutEntry* CCompositeMidiService::LookUp(HMIDIOUT h)
{
    const auto it = m_outs.find(h);
    return it == m_outs.end() ? nullptr : it->second.get();
}

MMRESULT CCompositeMidiService::NoteIn(MMRESULT result, CMidiService* pBackend)
{
    if (result != MMSYSERR_NOERROR)
        m_lastIn = {result, pBackend, {}};
    return result;
}

MMRESULT CCompositeMidiService::NoteOut(MMRESULT result, CMidiService* pBackend)
{
    if (result != MMSYSERR_NOERROR)
        m_lastOut = {result, pBackend, {}};
    return result;
}

// ---------------------------------------------------------------- input

unsigned CCompositeMidiService::InGetNumDevs()
{
    unsigned n = 0;
    for (CMidiService* p : m_backends)
        n += p->InGetNumDevs();
    return n;
}

MMRESULT CCompositeMidiService::InGetDevName(unsigned nDevice, std::string& name)
{
    unsigned nLocal = 0;
    if (CMidiService* p = FindIn(nDevice, nLocal))
        return p->InGetDevName(nLocal, name);
    name.clear();
    return MMSYSERR_BADDEVICEID;
}

MMRESULT CCompositeMidiService::InOpen(HMIDIIN* phIn, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phIn)
        return NoteIn(MMSYSERR_INVALPARAM, nullptr);
    *phIn = nullptr;
    unsigned nLocal = 0;
    CMidiService* p = FindIn(nDevice, nLocal);
    if (!p) {
        m_lastIn = {MMSYSERR_BADDEVICEID, nullptr, FormatMidiText(res::kMidiInNoSuchDevice, nDevice)};
        return MMSYSERR_BADDEVICEID;
    }
    auto pEntry = std::make_unique<CInEntry>();
    pEntry->m_pBackend = p;
    pEntry->m_pWindow = pWindow;
    const MMRESULT r = p->InOpen(&pEntry->m_hBackend, nLocal, pEntry.get());
    if (r != MMSYSERR_NOERROR)
        return NoteIn(r, p);
    const HMIDIIN h = reinterpret_cast<HMIDIIN>(pEntry.get());
    m_ins.emplace(h, std::move(pEntry));
    *phIn = h;
    return MMSYSERR_NOERROR;
}

#define VANTOREL_FORWARD_IN(call)                                                                            \
    CInEntry* e = LookUp(h);                                                                                 \
    if (!e)                                                                                                  \
        return NoteIn(MMSYSERR_INVALHANDLE, nullptr);                                                        \
    return NoteIn(e->m_pBackend->call, e->m_pBackend)

MMRESULT CCompositeMidiService::InReset(HMIDIIN h)
{
    VANTOREL_FORWARD_IN(InReset(e->m_hBackend));
}
MMRESULT CCompositeMidiService::InPrepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    VANTOREL_FORWARD_IN(InPrepareHeader(e->m_hBackend, pHdr));
}
MMRESULT CCompositeMidiService::InAddBuffer(HMIDIIN h, MIDIHDR* pHdr)
{
    VANTOREL_FORWARD_IN(InAddBuffer(e->m_hBackend, pHdr));
}
MMRESULT CCompositeMidiService::InStart(HMIDIIN h)
{
    VANTOREL_FORWARD_IN(InStart(e->m_hBackend));
}
MMRESULT CCompositeMidiService::InStop(HMIDIIN h)
{
    VANTOREL_FORWARD_IN(InStop(e->m_hBackend));
}
MMRESULT CCompositeMidiService::InUnprepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    VANTOREL_FORWARD_IN(InUnprepareHeader(e->m_hBackend, pHdr));
}

MMRESULT CCompositeMidiService::InCheckConnection(HMIDIIN h)
{
    VANTOREL_FORWARD_IN(InCheckConnection(e->m_hBackend));
}

MMRESULT CCompositeMidiService::InClose(HMIDIIN h)
{
    CInEntry* e = LookUp(h);
    if (!e)
        return NoteIn(MMSYSERR_INVALHANDLE, nullptr);
    CMidiService* p = e->m_pBackend;
    const MMRESULT r = p->InClose(e->m_hBackend);
    // A device the backend refused to close keeps its entry, and with it the
    // way back to the window.
    if (r == MMSYSERR_NOERROR)
        m_ins.erase(h);
    return NoteIn(r, p);
}

std::string CCompositeMidiService::InGetErrorText(MMRESULT result)
{
    if (result != MMSYSERR_NOERROR && result == m_lastIn.m_result) {
        if (m_lastIn.m_pBackend)
            return m_lastIn.m_pBackend->InGetErrorText(result);
        if (!m_lastIn.m_strText.empty())
            return m_lastIn.m_strText;
    }
    return GetMidiErrorText(result);
}

// ---------------------------------------------------------------- output

unsigned CCompositeMidiService::OutGetNumDevs()
{
    unsigned n = 0;
    for (CMidiService* p : m_backends)
        n += p->OutGetNumDevs();
    return n;
}

MMRESULT CCompositeMidiService::OutGetDevName(unsigned nDevice, std::string& name)
{
    unsigned nLocal = 0;
    if (CMidiService* p = FindOut(nDevice, nLocal))
        return p->OutGetDevName(nLocal, name);
    name.clear();
    return MMSYSERR_BADDEVICEID;
}

MMRESULT CCompositeMidiService::OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phOut)
        return NoteOut(MMSYSERR_INVALPARAM, nullptr);
    *phOut = nullptr;
    unsigned nLocal = 0;
    CMidiService* p = FindOut(nDevice, nLocal);
    if (!p) {
        m_lastOut = {MMSYSERR_BADDEVICEID, nullptr, FormatMidiText(res::kMidiOutNoSuchDevice, nDevice)};
        return MMSYSERR_BADDEVICEID;
    }
    auto pEntry = std::make_unique<COutEntry>();
    pEntry->m_pBackend = p;
    pEntry->m_pWindow = pWindow;
    const MMRESULT r = p->OutOpen(&pEntry->m_hBackend, nLocal, pEntry.get());
    if (r != MMSYSERR_NOERROR)
        return NoteOut(r, p);
    const HMIDIOUT h = reinterpret_cast<HMIDIOUT>(pEntry.get());
    m_outs.emplace(h, std::move(pEntry));
    *phOut = h;
    return MMSYSERR_NOERROR;
}

#define VANTOREL_FORWARD_OUT(call)                                                                           \
    COutEntry* e = LookUp(h);                                                                                \
    if (!e)                                                                                                  \
        return NoteOut(MMSYSERR_INVALHANDLE, nullptr);                                                       \
    return NoteOut(e->m_pBackend->call, e->m_pBackend)

MMRESULT CCompositeMidiService::OutShortMsg(HMIDIOUT h, uint32_t dwMsg)
{
    VANTOREL_FORWARD_OUT(OutShortMsg(e->m_hBackend, dwMsg));
}
MMRESULT CCompositeMidiService::OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    VANTOREL_FORWARD_OUT(OutPrepareHeader(e->m_hBackend, pHdr));
}
MMRESULT CCompositeMidiService::OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr)
{
    VANTOREL_FORWARD_OUT(OutLongMsg(e->m_hBackend, pHdr));
}
MMRESULT CCompositeMidiService::OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    VANTOREL_FORWARD_OUT(OutUnprepareHeader(e->m_hBackend, pHdr));
}
MMRESULT CCompositeMidiService::OutReset(HMIDIOUT h)
{
    VANTOREL_FORWARD_OUT(OutReset(e->m_hBackend));
}

MMRESULT CCompositeMidiService::OutClose(HMIDIOUT h)
{
    COutEntry* e = LookUp(h);
    if (!e)
        return NoteOut(MMSYSERR_INVALHANDLE, nullptr);
    CMidiService* p = e->m_pBackend;
    const MMRESULT r = p->OutClose(e->m_hBackend);
    if (r == MMSYSERR_NOERROR)
        m_outs.erase(h);
    return NoteOut(r, p);
}

std::string CCompositeMidiService::OutGetErrorText(MMRESULT result)
{
    if (result != MMSYSERR_NOERROR && result == m_lastOut.m_result) {
        if (m_lastOut.m_pBackend)
            return m_lastOut.m_pBackend->OutGetErrorText(result);
        if (!m_lastOut.m_strText.empty())
            return m_lastOut.m_strText;
    }
    return GetMidiErrorText(result);
}

std::vector<std::string> CCompositeMidiService::InGetDevNames()
{
    std::vector<std::string> names;
    for (CMidiService* p : m_backends) {
        const std::vector<std::string> more = p->InGetDevNames();
        names.insert(names.end(), more.begin(), more.end());
    }
    return names;
}

std::vector<std::string> CCompositeMidiService::OutGetDevNames()
{
    std::vector<std::string> names;
    for (CMidiService* p : m_backends) {
        const std::vector<std::string> more = p->OutGetDevNames();
        names.insert(names.end(), more.begin(), more.end());
    }
    return names;
}

#undef VANTOREL_FORWARD_IN
#undef VANTOREL_FORWARD_OUT

} // namespace vantorel
