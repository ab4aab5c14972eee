#pragma once
// What vantorel-cli returns, as --help and the user guide list them.
namespace vantorel::cli {

enum EExit : int {
    kExitDone = 0,
    kExitDiffers = 1,       // verify or diff found entries that differ
    kExitSkipped = 1,       // convert skipped part of a SysEx file (unless --lenient)
    kExitNothingFound = 1,  // search or duplicates found nothing
    kExitUsage = 2,         // unknown command, kind, entry or port; bad option
    kExitMidi = 3,          // port missing, no answer after the retries, server gone
    kExitFile = 4,          // unreadable, wrong kind, cannot write
    kExitInterrupted = 130, // SIGINT or SIGTERM: 128 + 2, as shells report Ctrl+C
};

} // namespace vantorel::cli
