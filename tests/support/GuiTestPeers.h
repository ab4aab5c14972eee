#pragma once
// Test access to the framework's windows: the hook that answers modal dialogs
// and clicks run as the mouse would give them.
#include <utility>

#include "framework/gui/Dialog.h"
#include "framework/gui/ScrollView.h"

namespace vantorel {

class CDialogTestPeer {
public:
    // Returns the previous hook; an empty one leaves dialogs to the user.
    static CDialog::ModalHook SetModalHook(CDialog::ModalHook hook)
    {
        return CDialog::SetModalHook(std::move(hook));
    }
};

class CScrollViewTestPeer {
public:
    static void LButtonDown(CScrollView& view, unsigned nFlags, const QPoint& pt)
    {
        view.OnLButtonDown(nFlags, pt);
    }
    static void RButtonDown(CScrollView& view, unsigned nFlags, const QPoint& pt)
    {
        view.OnRButtonDown(nFlags, pt);
    }
};

} // namespace vantorel
