// Fuzz entry for the exclusive stream reader: any bytes, fed whole and in
// chunks, must give the same haul, entries within their blocks and rooms, and
// only 7-bit data.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzTargets.h"
#include "transfer/SysExReader.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::fuzz {

namespace {
[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

void CheckBank(const CSysExBank& bank, uint32_t blocks)
{
    // Records are contiguous, so one scan covers the bank.
    const uint8_t* p = bank.GetRecord(0);
    uint8_t any = 0;
    for (size_t i = 0; i < size_t(bank.GetCount()) * bank.GetRecordSize(); ++i)
        any |= p[i];
    if (any & 0x80)
        Fail("a data byte of 80 hex or more was taken");
    for (int n = 0; n < bank.GetCount(); ++n)
        if (bank.GetBlockMask(n) & ~blocks)
            Fail("a block that the kind does not have");
}

void CheckItems(const CSysExItems& items)
{
    for (int n = 0; n < items.GetCount(); ++n) {
        const size_t size = items.GetDataSize(n);
        if (size > items.GetRoom())
            Fail("item data larger than its address room");
        if (size > 0 && !items.HasData(n))
            Fail("item data without its first packet");
        const uint8_t* p = items.GetData(n);
        for (size_t i = 0; i < size; ++i)
            if (p[i] & 0x80)
                Fail("a data byte of 80 hex or more was taken");
        if (items.HasValue(n) && (items.GetValue(n) & 0x80))
            Fail("a value byte of 80 hex or more was taken");
    }
}

bool SameBank(const CSysExBank& a, const CSysExBank& b)
{
    for (int n = 0; n < a.GetCount(); ++n) {
        if (a.GetBlockMask(n) != b.GetBlockMask(n))
            return false;
        if (std::memcmp(a.GetRecord(n), b.GetRecord(n), a.GetRecordSize()) != 0)
            return false;
    }
    return true;
}

bool SameItems(const CSysExItems& a, const CSysExItems& b)
{
    for (int n = 0; n < a.GetCount(); ++n) {
        if (a.HasValue(n) != b.HasValue(n) || a.GetValue(n) != b.GetValue(n) ||
            a.HasData(n) != b.HasData(n) || a.GetDataSize(n) != b.GetDataSize(n))
            return false;
        if (a.GetDataSize(n) > 0 && std::memcmp(a.GetData(n), b.GetData(n), a.GetDataSize(n)) != 0)
            return false;
    }
    return true;
}
} // namespace

int ReadSysExStream(const uint8_t* data, size_t size)
{
    const std::vector<const CSysExLayout*> layouts = DocumentKinds().SysExLayouts();
    CSysExReader whole(layouts), chunked(layouts);
    whole.Feed(data, size);
    whole.Finish();
    const size_t chunk = size > 0 ? 1 + data[0] % 61 : 1;
    for (size_t i = 0; i < size; i += chunk)
        chunked.Feed(data + i, size - i < chunk ? size - i : chunk);
    chunked.Finish();
    chunked.Finish(); // a second end counts nothing twice

    const CSysExHaul& h = whole.GetHaul();
    const CSysExHaul& c = chunked.GetHaul();
    for (const CSysExLayout* pLayout : layouts) {
        if (pLayout->IsItems()) {
            CheckItems(h.Items(*pLayout));
            if (!SameItems(h.Items(*pLayout), c.Items(*pLayout)))
                Fail("chunked feeding reads differently");
        } else {
            CheckBank(h.Bank(*pLayout), (1u << pLayout->blocks.size()) - 1);
            if (!SameBank(h.Bank(*pLayout), c.Bank(*pLayout)))
                Fail("chunked feeding reads differently");
        }
    }
    if (h.m_nBytes != size || h.SkipBytes(SysExSkip::Noise) > size)
        Fail("more bytes counted than fed");
    if (h.m_nDataSets * sysex::kDataSetOverhead > size)
        Fail("more data sets taken than the bytes hold");
    if (h.m_notes.size() > CSysExHaul::kMaxNotes || h.m_notes.size() > h.TotalSkips())
        Fail("notes without skips");
    if (h.m_aSkipCount != c.m_aSkipCount || h.m_aSkipBytes != c.m_aSkipBytes ||
        h.m_nDataSets != c.m_nDataSets)
        Fail("chunked feeding counts differently");
    for (const CSysExNote& note : h.m_notes)
        if (note.nOffset >= size || FormatSysExNote(note).empty())
            Fail("a note outside the stream");
    return 0;
}

} // namespace vantorel::fuzz
