#include "framework/core/MessageBox.h"

#include <cstdio>

namespace vantorel {

namespace {
int DefaultHandler(const std::string& text, unsigned type)
{
    std::fprintf(stderr, "Vantorel: %s\n", text.c_str());
    return type == MB_YESNOCANCEL || type == MB_SAVEALLYESNOCANCEL ? IDNO : IDOK;
}
MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler = DefaultHandler;
    return handler;
}
} // namespace

int AfxMessageBox(const std::string& text, unsigned type)
{
    // Copy: the handler may replace itself while a box is up.
    MessageBoxHandler h = Handler();
    return h(text, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = Handler();
    Handler() = handler ? std::move(handler) : MessageBoxHandler(DefaultHandler);
    return previous;
}

} // namespace vantorel
