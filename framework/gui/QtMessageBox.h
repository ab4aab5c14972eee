#pragma once
#include <QString>

namespace vantorel {

// Makes AfxMessageBox show real modal boxes captioned with caption.
void InstallQtMessageBoxHandler(const QString& caption);

} // namespace vantorel
