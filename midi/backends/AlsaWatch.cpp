#include "midi/backends/AlsaWatch.h"

#include <regex>

#ifdef VANTOREL_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace vantorel {

bool CAlsaWatch::ParseAddress(const std::string& rawName, int& client, int& port)
{
    static const std::regex address(R"( (\d{1,3}):(\d{1,5})$)");
    std::smatch m;
    if (!std::regex_search(rawName, m, address))
        return false;
    client = std::stoi(m[1].str());
    port = std::stoi(m[2].str());
    return true;
}

#ifdef VANTOREL_HAVE_ALSA

CAlsaWatch::~CAlsaWatch()
{
    if (m_pSeq)
        snd_seq_close(static_cast<snd_seq_t*>(m_pSeq));
}

bool CAlsaWatch::HasPort(int client, int port)
{
    if (!m_pSeq && !m_bTried) {
        m_bTried = true;
        snd_seq_t* pSeq = nullptr;
        if (snd_seq_open(&pSeq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) == 0)
            m_pSeq = pSeq;
    }
    if (!m_pSeq)
        return true;
    snd_seq_port_info_t* pInfo = nullptr;
    snd_seq_port_info_alloca(&pInfo);
    return snd_seq_get_any_port_info(static_cast<snd_seq_t*>(m_pSeq), client, port, pInfo) == 0;
}

#else

CAlsaWatch::~CAlsaWatch() = default;
bool CAlsaWatch::HasPort(int, int)
{
    return true;
}

#endif

} // namespace vantorel
