#pragma once
// The one check a data set passes before it leaves for a port (a Send) or a
// file (Export SysEx, the command line): only bytes below 0x80, which an
// exclusive message can carry, and an entry no larger than its memory on the
// synthesizer, whose next entry would otherwise be overwritten. Each caller
// names the refused entry in its own message.
#include "transfer/engine/TransferPlan.h"

namespace vantorel {

enum class EDataSetFault {
    None,
    HighByte, // a byte of 0x80 or above
    TooLarge, // the entry is larger than its memory (nEntrySize > nEntryRoom)
};

EDataSetFault CheckDataSet(const CDataSet& dataSet);

} // namespace vantorel
