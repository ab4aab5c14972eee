#include "cli/CliMidiService.h"

#include "midi/backends/RtMidiService.h"
#include "res/strings/cli.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"

namespace vantorel::cli {

CCliMidiService::CCliMidiService()
    : m_pSimDevice(std::make_unique<CSimDevice>()), m_pSim(std::make_unique<CSimMidiService>(*m_pSimDevice)),
      m_pAlsa(std::make_unique<CRtMidiService>(RtMidi::LINUX_ALSA)),
      m_pJack(std::make_unique<CRtMidiService>(RtMidi::UNIX_JACK)) {
    // As in the program: the built-in device takes the time a cable would.
    m_pSim->SetWireSpeed(true);
    AddBackend(m_pSim.get());
    AddBackend(m_pAlsa.get());
    AddBackend(m_pJack.get());
}

CCliMidiService::~CCliMidiService() {
    if (&CMidiService::Get() == this)
        CMidiService::Install(nullptr);
    CloseAll(); // while the backends still exist
}

std::string CCliMidiService::BackendOf(bool bInput, unsigned nDevice) {
    const std::pair<CMidiService*, const char*> backends[] = {{m_pSim.get(), res::kCliBackendSim},
                                                              {m_pAlsa.get(), res::kCliBackendAlsa},
                                                              {m_pJack.get(), res::kCliBackendJack}};
    for (const auto& [pBackend, szName] : backends) {
        const unsigned nCount = bInput ? pBackend->InGetNumDevs() : pBackend->OutGetNumDevs();
        if (nDevice < nCount)
            return szName;
        nDevice -= nCount;
    }
    return {};
}

} // namespace vantorel::cli
