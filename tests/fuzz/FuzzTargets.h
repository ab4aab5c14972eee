#pragma once
// Fuzz entry points, shared by the libFuzzer programs (clang) and by the
// corpus replay test that every build runs. Each returns 0 and aborts on a
// broken property.
#include <cstddef>
#include <cstdint>

namespace vantorel::fuzz {

int LoadPatchBank(const uint8_t* data, size_t size);
int LoadPerformanceBank(const uint8_t* data, size_t size);
int LoadSystem(const uint8_t* data, size_t size);
int LoadPattern(const uint8_t* data, size_t size);
int LoadMotion(const uint8_t* data, size_t size);
int ParseMessage(const uint8_t* data, size_t size);
int ReadSysExStream(const uint8_t* data, size_t size);
// The simulator's answers under faults the input chooses (drop, corrupt,
// stray, short, endless), cut into chunks the input chooses, through the
// port's assembler: nothing longer than the port buffer comes out, and an
// answer that checks out for its address at the length asked for holds
// exactly the device's bytes.
int AnswerFaults(const uint8_t* data, size_t size);

} // namespace vantorel::fuzz
