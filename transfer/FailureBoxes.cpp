#include "transfer/FailureBoxes.h"

#include "framework/core/MessageBox.h"
#include "midi/MidiPorts.h"
#include "transfer/engine/RunResult.h"

namespace vantorel {

void ShowFailureBox(const CRunFailure& failure)
{
    const std::string text = DescribeFailure(failure);
    if (!text.empty())
        AfxMessageBox(text, MB_OK);
}

void ShowPortErrorBox(const CPortError& error)
{
    AfxMessageBox(error.strText, MB_OK);
}

} // namespace vantorel
