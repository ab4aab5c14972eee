#pragma once
// How a run ends, and what goes wrong on the way: done, cancelled by the user,
// or failed, with the reason, the device or file by the name the user knows,
// the entry, and how far the run got. The engine only reports; each front end
// (the windows, the command line, the audition) decides what to show.
#include <cstdint>
#include <string>

#include "transfer/engine/TransferPlan.h"

namespace vantorel {

struct CPortError;

enum class ERunEnd {
    Done,      // everything the plan asked for went across
    Cancelled, // the user stopped it
    Failed,    // see CRunFailure
};

enum class EFailure {
    None,
    DeviceNotAvailable, // a port could not be opened (or has no buffer)
    ConnectionLost,     // a call on an open port failed: the device went away
    NoAnswer,           // the device did not answer, however often it was asked
    RefusedBytes,       // bytes the synthesizer cannot take, or the port cannot carry
    EntryTooLarge,      // an entry larger than its memory on the synthesizer (nEntrySize, nEntryRoom)
    DamagedAnswer,      // only damaged answers came, however often it was asked
    FileError,          // a file could not be read or written
};

struct CRunFailure {
    EFailure reason = EFailure::None;
    // The device, as MIDI Setup names it, its number and its direction.
    std::string strDevice;
    uint16_t wDevice = 0;
    bool bInput = false;
    std::string strFile;  // a file error: the file
    std::string strEntry; // the entry as messages name it ("Patch A13"), where the run knows it
    int nEntry = -1;      // the entry under way, counted from 0 in the transfer
    int nDone = 0;        // entries complete: "n of m"
    int nTotal = 0;
    CTransferNoun noun{"", ""};
    int nTries = 0;        // requests for the entry under way, the first one included
    bool bSending = false; // a Send: the entries before nDone are on the synthesizer
    std::string strDetail; // the port's own sentence, when a port failed
    size_t nEntrySize = 0; // EntryTooLarge: the entry's size and the memory it has
    size_t nEntryRoom = 0;
};

struct CRunResult {
    ERunEnd end = ERunEnd::Done;
    bool bWhole = false; // done: a whole bank (or the whole system) went across
    CRunFailure failure; // failed: what went wrong
};

// How often a Get asks again for one entry that brought no usable answer
// (silence, damaged answers, a port that fails) before the run fails. The
// program's windows ask for ever; the command line gives up (--retries).
struct CRunSettings {
    static constexpr int kForEver = -1;
    int nRetries = kForEver;
};

// The failure a port's report means; the counts are the caller's to fill.
CRunFailure FailureFromPort(const CPortError& error);

// The program's sentence for a failure, as the windows show it: the port's
// own sentence for a device, how far a Send got, the entry that was refused,
// how often an unanswered Get asked.
std::string DescribeFailure(const CRunFailure& failure);

} // namespace vantorel
