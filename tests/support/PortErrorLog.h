#pragma once
// Keeps the sentence of every failure a port reports to its owner.
#include <string>
#include <vector>

#include "midi/MidiPorts.h"

namespace vantorel::test {

class CPortErrorLog {
public:
    PortErrorHandler Handler()
    {
        return [this](const CPortError& error) {
            m_texts.push_back(error.strText);
            m_errors.push_back(error);
        };
    }

    std::vector<std::string> m_texts;
    std::vector<CPortError> m_errors;
};

} // namespace vantorel::test
