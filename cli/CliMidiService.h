#pragma once
// The devices of the command line, numbered as the program numbers them: the
// built-in simulator (device 0), then the ALSA sequencer ports, then JACK
// ports. The program's own composition (app/) lives beside its widgets; this
// one needs none.
#include <memory>
#include <string>
#include <vector>

#include "midi/backends/CompositeMidiService.h"

namespace vantorel {

class CSimDevice;
class CSimMidiService;
class CRtMidiService;

namespace cli {

class CCliMidiService : public CCompositeMidiService {
  public:
    CCliMidiService();
    ~CCliMidiService() override;

    // The backend that lists input or output nDevice ("ALSA"); empty past the list.
    std::string BackendOf(bool bInput, unsigned nDevice);

    CSimMidiService& GetSimService() { return *m_pSim; }

  private:
    std::unique_ptr<CSimDevice> m_pSimDevice;
    std::unique_ptr<CSimMidiService> m_pSim;
    std::unique_ptr<CRtMidiService> m_pAlsa;
    std::unique_ptr<CRtMidiService> m_pJack;
};

} // namespace cli
} // namespace vantorel
