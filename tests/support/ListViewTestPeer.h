#pragma once
// Test access to the list windows' pop-up menus and drags.
#include <utility>

#include "views/ListView.h"

namespace vantorel {

class CListViewTestPeer {
public:
    // Returns the previous hook; an empty one shows real menus.
    static CListView::PopupHook SetPopupHook(CListView::PopupHook hook)
    {
        return CListView::SetPopupHook(std::move(hook));
    }
    // Returns the previous hook; an empty one starts real drags.
    static CListView::DragHook SetDragHook(CListView::DragHook hook)
    {
        return CListView::SetDragHook(std::move(hook));
    }
};

} // namespace vantorel
