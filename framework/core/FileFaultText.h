#pragma once
// What a file fault says, from one table for the program and the command
// line: the program's box fills %1 with the file's name (for a missing folder,
// the folder's), the command line fills %s with the path.
#include "framework/core/SafeFile.h"

namespace vantorel {

enum class EFileAccess { Read, Write };

struct CFileFaultText {
    const char* szProgram;     // "%1"
    bool bProgramNamesFolder;  // the program names the folder, not the file
    const char* szCommandLine; // "%s"
};

CFileFaultText FileFaultText(FileFault fault, EFileAccess access);

} // namespace vantorel
