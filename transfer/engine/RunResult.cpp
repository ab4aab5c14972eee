#include "transfer/engine/RunResult.h"

#include "midi/MidiPorts.h"
#include "res/strings/transfer.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

CRunFailure FailureFromPort(const CPortError& error)
{
    CRunFailure failure;
    switch (error.kind) {
    case CPortError::EKind::NotAvailable:
    case CPortError::EKind::NoMemory: failure.reason = EFailure::DeviceNotAvailable; break;
    case CPortError::EKind::CallFailed: failure.reason = EFailure::ConnectionLost; break;
    case CPortError::EKind::Refused: failure.reason = EFailure::RefusedBytes; break;
    }
    failure.bInput = error.bInput;
    failure.wDevice = error.wDevice;
    failure.strDevice =
        error.strDevice.empty() ? GetPortDeviceName(error.bInput, error.wDevice) : error.strDevice;
    failure.strDetail = error.strText;
    return failure;
}

std::string DescribeFailure(const CRunFailure& f)
{
    const char* szNoun = f.nTotal == 1 ? f.noun.szOne : f.noun.szMany;
    switch (f.reason) {
    case EFailure::ConnectionLost:
        if (f.bSending)
            return FormatText(res::kSendStopped, f.strDevice.c_str(), int(f.wDevice), f.nDone, f.nTotal,
                              szNoun);
        break;
    case EFailure::RefusedBytes:
        // The port's own refusal says what it refused; else the entry's bytes.
        if (f.strDetail.empty() && !f.strEntry.empty())
            return FormatText(res::kEntryNotSendable, f.strEntry.c_str());
        break;
    case EFailure::EntryTooLarge:
        return FormatText(res::kEntryTooLarge, f.strEntry.c_str(), f.nEntrySize, f.nEntryRoom);
    case EFailure::NoAnswer: return FormatText(res::kGaveUpNoAnswer, f.nTries, f.nDone, f.nTotal, szNoun);
    case EFailure::DamagedAnswer: return FormatText(res::kGaveUpDamaged, f.nTries, f.nDone, f.nTotal, szNoun);
    case EFailure::FileError:
    case EFailure::DeviceNotAvailable:
    case EFailure::None: break;
    }
    return f.strDetail;
}

} // namespace vantorel
