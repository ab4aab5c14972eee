#pragma once
// Help > User Guide: the guide installed with the program (USER_GUIDE.md and
// its pictures in the documentation folder), opened with whatever the
// desktop opens such files with.
#include <QString>

namespace vantorel {

// Where the guide is: beside the installed program first, then where it was
// to be installed, then the sources the program was built from. The first of
// them when none holds it.
QString FindUserGuide();

// Opens the guide; a guide not found, or no program to open it with, is one
// message that says where it should be.
void OpenUserGuide();

} // namespace vantorel
