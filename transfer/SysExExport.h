#pragma once
// A document as the data sets a Send of it would carry: the same addresses,
// sizes, packets and order, because each kind's Send plan is driven to list
// them. Joined back to back they make a .syx file. No widgets and no ports,
// so the command line can write files with it too.
#include <cstdint>
#include <string>
#include <vector>

#include "transfer/engine/DataSetCheck.h"

namespace vantorel {

class CDocument;
class CSendPlan;

using CSysExBytes = std::vector<uint8_t>;

struct CSysExExport {
    std::vector<CSysExBytes> messages; // one complete F0 ... F7 data set each
    // None when every entry could be written. Otherwise why the entry
    // strBadEntry, as the user knows it ("Patch A13"), was refused, as a Send
    // refuses it (DataSetCheck.h), and nothing is exported; for an entry too
    // large, its size and the memory it has.
    EDataSetFault fault = EDataSetFault::None;
    std::string strBadEntry;
    size_t nEntrySize = 0;
    size_t nEntryRoom = 0;
    // The first entry written, as the user knows it: for one entry, that entry.
    std::string strFirstEntry;
    bool IsOk() const { return fault == EDataSetFault::None; }
};

// Every data set plan would send, from Begin to its last Next.
CSysExExport ExportSendPlan(CSendPlan& plan);

// The whole document (nEntry -1) or one entry of it: a patch, a performance,
// a pattern or a motion by index; for the system document 0 is the system
// parameters and 1 the Tx/Rx settings. A document of no known kind, or an
// entry outside it, gives no messages.
CSysExExport ExportSysEx(const CDocument& doc, int nEntry = -1);

// The messages back to back: the bytes of a .syx file.
CSysExBytes JoinSysEx(const std::vector<CSysExBytes>& messages);

} // namespace vantorel
