#pragma once
// Commands carry the numeric ids of the program's resources. A target lists
// the ids it handles; the main frame routes each command through the active
// view, the child frame, the main frame and the application, and an action
// that no target in that chain handles is shown disabled.
#include <functional>
#include <map>
#include <string>

namespace vantorel {

// The state a command's menu item or toolbar button should show.
struct CCmdUI {
    int m_nID = 0;
    bool m_bEnabled = true;
    bool m_bChecked = false;
    bool m_bCheckable = false;
    // A text for the item of the moment ("Undo Rename"); empty: its own text.
    std::string m_strText;
    void SetText(std::string strText) { m_strText = std::move(strText); }
    void Enable(bool bOn = true) { m_bEnabled = bOn; }
    void SetCheck(bool bCheck = true)
    {
        m_bCheckable = true;
        m_bChecked = bCheck;
    }
};

// What commands depend on has changed (a selection, the copy buffer): the
// handler (the main frame's) updates the commands once the event in hand is
// done. Documents and undo stacks tell the document manager instead.
void CommandStateChanged();
// Returns the previous handler; an empty one hears nothing.
std::function<void()> SetCommandStateHandler(std::function<void()> handler);

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    bool HandlesCommand(int nId) const { return m_handlers.count(nId) != 0; }
    // Runs the handler; false when this target does not handle nId.
    bool ExecuteCommand(int nId);
    // Lets the target set enable/check state; false when it does not handle nId.
    bool UpdateCommand(CCmdUI& ui) const;

protected:
    void OnCommand(int nId, std::function<void()> handler, std::function<void(CCmdUI&)> update = {});

private:
    struct Entry {
        std::function<void()> handler;
        std::function<void(CCmdUI&)> update;
    };
    std::map<int, Entry> m_handlers;
};

} // namespace vantorel
