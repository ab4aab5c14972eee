#include "views/ProgramSwitches.h"

namespace vantorel {

namespace {
int g_nSendData = 1; // the profile's default, until the main frame reads it
} // namespace

int GetSendDataSwitch()
{
    return g_nSendData;
}

void SetSendDataSwitch(int nOn)
{
    g_nSendData = nOn;
}

void ToggleSendDataSwitch()
{
    g_nSendData = g_nSendData == 0 ? 1 : 0;
}

} // namespace vantorel
