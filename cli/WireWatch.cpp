#include "cli/WireWatch.h"

namespace vantorel::cli {

CWireWatch::CWireWatch(SendFn onSend) : m_inner(CMidiService::Get()), m_onSend(std::move(onSend)) {
    CMidiService::Install(this);
}

CWireWatch::~CWireWatch() {
    if (&CMidiService::Get() == this)
        CMidiService::Install(&m_inner);
}

MMRESULT CWireWatch::OutLongMsg(HMIDIOUT h, MIDIHDR* p) {
    if (p && p->lpData && m_onSend &&
        !m_onSend(std::vector<uint8_t>(p->lpData, p->lpData + p->dwBufferLength)))
        return MMSYSERR_NOERROR;
    return m_inner.OutLongMsg(h, p);
}

} // namespace vantorel::cli
