#pragma once
// Where each port's buffer comes from: the heap, unless another source is put
// in (null puts the heap back). A source that leaves the buffer empty makes
// the allocation fail, as when memory runs out. Tests put one in; nothing of
// the program includes this.
#include "midi/MidiPorts.h"

namespace vantorel {

using PortBufferSource = void (*)(CPortBuffer& buffer);
void SetPortBufferSource(PortBufferSource source);

} // namespace vantorel
