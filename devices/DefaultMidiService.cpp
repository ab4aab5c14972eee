#include "devices/DefaultMidiService.h"

#include "midi/backends/RtMidiService.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"

namespace vantorel {

CDefaultMidiService::CDefaultMidiService()
    : m_pSimDevice(std::make_unique<CSimDevice>()), m_pSim(std::make_unique<CSimMidiService>(*m_pSimDevice)),
      m_pAlsa(std::make_unique<CRtMidiService>(RtMidi::LINUX_ALSA)),
      m_pJack(std::make_unique<CRtMidiService>(RtMidi::UNIX_JACK))
{
    // The built-in device paces like a real one, so transfers take the time
    // they would take on a cable.
    m_pSim->SetWireSpeed(true);
    AddBackend(m_pSim.get());
    AddBackend(m_pAlsa.get());
    AddBackend(m_pJack.get());
}

CDefaultMidiService::~CDefaultMidiService()
{
    if (&CMidiService::Get() == this)
        CMidiService::Install(nullptr);
    CloseAll(); // while the backends still exist
}

CDefaultMidiService::EBackend CDefaultMidiService::BackendOf(bool bInput, unsigned nDevice)
{
    const std::pair<CMidiService*, EBackend> backends[] = {{m_pSim.get(), EBackend::Simulator},
                                                           {m_pAlsa.get(), EBackend::Alsa},
                                                           {m_pJack.get(), EBackend::Jack}};
    for (const auto& [pBackend, backend] : backends) {
        const unsigned nCount = bInput ? pBackend->InGetNumDevs() : pBackend->OutGetNumDevs();
        if (nDevice < nCount)
            return backend;
        nDevice -= nCount;
    }
    return EBackend::None;
}

CMidiService& CreateDefaultMidiService()
{
    static CDefaultMidiService service;
    CMidiService::Install(&service);
    return service;
}

} // namespace vantorel
