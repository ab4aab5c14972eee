#pragma once
// Test access to the Library window's drags.
#include <utility>

#include "app/library/LibraryWindow.h"

namespace vantorel {

class CLibraryWindowTestPeer {
public:
    // Returns the previous hook; an empty one starts real drags.
    static CLibraryWindow::DragHook SetDragHook(CLibraryWindow::DragHook hook)
    {
        return CLibraryWindow::SetDragHook(std::move(hook));
    }
};

} // namespace vantorel
