#pragma once
#include <functional>
#include <string>

namespace vantorel {

// Button sets and answers, numbered as the program's resources expect.
// MB_SAVEALLYESNOCANCEL: a Yes/No/Cancel question with a "Save All" choice
// first (one of several documents to save), answered IDSAVEALL.
enum : unsigned { MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_SAVEALLYESNOCANCEL = 0x103 };
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7, IDSAVEALL = 20 };

// Shows a modal message box captioned with the application title and returns
// the button pressed. Every message of the program goes through here, so that
// tests can answer boxes and count them.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);

using MessageBoxHandler = std::function<int(const std::string& text, unsigned type)>;

// Replaces the handler (the GUI installs one that shows a real box; tests
// install one that records and answers). Returns the previous one. An empty
// handler restores the default, which writes to stderr and answers IDOK
// (IDNO for a Yes/No/Cancel question, so nothing is written unasked).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace vantorel
