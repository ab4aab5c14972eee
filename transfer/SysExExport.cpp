#include "transfer/SysExExport.h"

#include "midi/msg/SysEx.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

CSysExExport ExportSendPlan(CSendPlan& plan)
{
    CSysExExport result;
    CSilentDisplay display; // a file has no progress bar
    plan.Begin(display);
    for (bool bMore = true; bMore;) {
        CDataSet dataSet;
        bMore = plan.Next(dataSet, display);
        if (!dataSet.bValid)
            break;
        if (const EDataSetFault fault = CheckDataSet(dataSet); fault != EDataSetFault::None) {
            result = CSysExExport{};
            result.fault = fault;
            result.strBadEntry = dataSet.strEntry;
            result.nEntrySize = dataSet.nEntrySize;
            result.nEntryRoom = dataSet.nEntryRoom;
            break;
        }
        if (result.messages.empty())
            result.strFirstEntry = dataSet.strEntry;
        result.messages.push_back(BuildDataSet(dataSet.dwAddress, dataSet.pData, dataSet.nCount));
    }
    return result;
}

CSysExExport ExportSysEx(const CDocKind& kind, const CDocument& doc, int nEntry)
{
    const std::unique_ptr<CSendPlan> plan = kind.MakeSendPlan(doc, nEntry);
    return plan ? ExportSendPlan(*plan) : CSysExExport{};
}

CSysExBytes JoinSysEx(const std::vector<CSysExBytes>& messages)
{
    CSysExBytes bytes;
    for (const CSysExBytes& m : messages)
        bytes.insert(bytes.end(), m.begin(), m.end());
    return bytes;
}

} // namespace vantorel
