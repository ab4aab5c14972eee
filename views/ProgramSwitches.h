#pragma once
// Program-wide switches that outlive every window. Only the GUI thread
// touches them.
namespace vantorel {

// The Send Data switch: while on, a left click that selects a patch or a
// performance sends it to the synthesizer at once. 1 is on, 0 off. The main
// frame reads it from the profile when it is created and writes it back.
int GetSendDataSwitch();
void SetSendDataSwitch(int nOn);
inline bool IsSendDataOn()
{
    return GetSendDataSwitch() != 0;
}
// The Send Data command: 0 becomes 1, any other value 0.
void ToggleSendDataSwitch();

} // namespace vantorel
