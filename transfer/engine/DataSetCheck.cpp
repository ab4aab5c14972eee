#include "transfer/engine/DataSetCheck.h"

#include "midi/msg/SysEx.h"

namespace vantorel {

EDataSetFault CheckDataSet(const CDataSet& dataSet)
{
    // The size first: an entry too large is refused at its first data set,
    // before any of it has left.
    if (dataSet.nEntrySize > dataSet.nEntryRoom)
        return EDataSetFault::TooLarge;
    if (!AreDataBytes(dataSet.pData, dataSet.nCount))
        return EDataSetFault::HighByte;
    return EDataSetFault::None;
}

} // namespace vantorel
