#pragma once
// The program's device list: the built-in simulator first (device 0, so that
// a first start with an empty profile works with no hardware), then the ALSA
// sequencer ports, then JACK ports while a JACK server runs. No widgets: the
// command line numbers its devices with the same list.
#include <memory>

#include "midi/backends/CompositeMidiService.h"

namespace vantorel {

class CSimDevice;
class CSimMidiService;
class CRtMidiService;

class CDefaultMidiService : public CCompositeMidiService {
public:
    CDefaultMidiService();
    ~CDefaultMidiService() override;

    // Which backend lists input or output nDevice; None past the list.
    enum class EBackend { None, Simulator, Alsa, Jack };
    EBackend BackendOf(bool bInput, unsigned nDevice);

    CSimMidiService& GetSimService() { return *m_pSim; }

private:
    std::unique_ptr<CSimDevice> m_pSimDevice;
    std::unique_ptr<CSimMidiService> m_pSim;
    std::unique_ptr<CRtMidiService> m_pAlsa;
    std::unique_ptr<CRtMidiService> m_pJack;
};

// Makes the default service once and installs it; it lives until exit.
CMidiService& CreateDefaultMidiService();

} // namespace vantorel
