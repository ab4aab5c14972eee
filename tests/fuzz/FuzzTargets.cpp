#include "FuzzTargets.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/core/Archive.h"
#include "midi/msg/SysEx.h"
#include "midi/msg/SysExFramer.h"
#include "sim/model/SimDevice.h"

namespace vantorel::fuzz {

namespace {
[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

// Any byte sequence either loads, is refused for its header, or is refused as
// too short. A loaded document stores a file that loads back to the same file.
template <class TDoc>
int Load(const uint8_t* data, size_t size)
{
    TDoc doc;
    CArchive in(data, size);
    CDocument::LoadResult result;
    try {
        result = doc.Serialize(in);
    } catch (const CArchiveException&) {
        return 0;
    }
    if (result == CDocument::LoadResult::HeaderMismatch)
        return 0;
    if (in.Position() > size)
        Fail("read past the input");
    std::vector<uint8_t> first;
    CArchive out(first);
    doc.Serialize(out);
    if (first.size() != in.Position())
        Fail("stored size differs from the bytes loaded");
    TDoc again;
    CArchive in2(first.data(), first.size());
    if (again.Serialize(in2) != CDocument::LoadResult::Ok)
        Fail("a stored file does not load");
    std::vector<uint8_t> second;
    CArchive out2(second);
    again.Serialize(out2);
    if (first != second)
        Fail("store, load, store is not stable");
    return 0;
}
} // namespace

int LoadPatchBank(const uint8_t* d, size_t n)
{
    return Load<CPatchDoc>(d, n);
}
int LoadPerformanceBank(const uint8_t* d, size_t n)
{
    return Load<CPerformDoc>(d, n);
}
int LoadSystem(const uint8_t* d, size_t n)
{
    return Load<CSystemDoc>(d, n);
}
int LoadPattern(const uint8_t* d, size_t n)
{
    return Load<CPatternDoc>(d, n);
}
int LoadMotion(const uint8_t* d, size_t n)
{
    return Load<CMotionDoc>(d, n);
}

int ParseMessage(const uint8_t* data, size_t size)
{
    CSysExMessage msg;
    const int32_t count = size > 4096 ? 4096 : int32_t(size);
    msg.AppendBytes(count, data);
    msg.Parse();
    if (msg.m_nBodyLength < 0 || msg.m_nBodyLength > count)
        Fail("body longer than the message");
    if (msg.m_nBodyLength > 0 && !msg.GetBody())
        Fail("body length without a body");
    volatile uint8_t sink = 0;
    for (int32_t i = 0; i < msg.m_nBodyLength; ++i)
        sink = sink + msg.GetBody()[i];
    // Building from whatever was parsed must not misbehave either.
    msg.Build();
    if (msg.size() < 3)
        Fail("a built message is never shorter than F0, manufacturer, F7");
    return 0;
}

int AnswerFaults(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    CSimDevice device;
    CSimFaults& f = device.Faults();
    f.m_nDropEvery = data[0] % 8;
    f.m_nCorruptEvery = data[1] % 8;
    f.m_nStrayEvery = data[2] % 8;
    f.m_nShortEvery = data[3] % 8;
    f.m_nEndlessEvery = data[4] % 8;
    CSysExFramer assembler(sysex::kPortBufferSize, CSysExFramer::EOverlong::Truncate);
    // Each request: a patch (index, then the size asked for), answered and
    // fed to the assembler in chunks of the sizes that follow.
    for (size_t at = 5; at + 2 < size; at += 3) {
        const int nPatch = data[at] % sim::kPatchCount;
        const uint32_t nAsked = 1 + data[at + 1] % sim::kPatchSize;
        const size_t nChunk = 1 + data[at + 2];
        const uint32_t address = sim::PatchAddress(nPatch);
        std::vector<uint8_t> expected;
        device.Read(address, nAsked, expected);
        for (const CSimAnswer& a : device.Receive(BuildDataRequest(address, nAsked))) {
            for (size_t from = 0; from < a.m_bytes.size(); from += nChunk) {
                const size_t n = std::min(nChunk, a.m_bytes.size() - from);
                assembler.Feed(a.m_bytes.data() + from, n, [&](const uint8_t* msg, size_t count) {
                    if (count > sysex::kPortBufferSize)
                        Fail("a message longer than the port buffer was passed on");
                    if (count == expected.size() + sysex::kDataSetOverhead &&
                        IsValidDataSetFor(msg, count, address) &&
                        !std::equal(expected.begin(), expected.end(), msg + 10))
                        Fail("a valid answer of the asked length holds other bytes");
                    return true;
                });
            }
        }
    }
    return 0;
}

} // namespace vantorel::fuzz
