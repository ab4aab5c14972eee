#include "framework/gui/CmdTarget.h"

#include <utility>

namespace vantorel {

namespace {
std::function<void()>& StateHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void CommandStateChanged()
{
    if (const std::function<void()>& handler = StateHandler())
        handler();
}

std::function<void()> SetCommandStateHandler(std::function<void()> handler)
{
    return std::exchange(StateHandler(), std::move(handler));
}

void CCmdTarget::OnCommand(int nId, std::function<void()> handler, std::function<void(CCmdUI&)> update)
{
    m_handlers[nId] = Entry{std::move(handler), std::move(update)};
}

bool CCmdTarget::ExecuteCommand(int nId)
{
    auto it = m_handlers.find(nId);
    if (it == m_handlers.end())
        return false;
    // Copy: the handler may close the window that owns this target.
    auto handler = it->second.handler;
    if (handler)
        handler();
    return true;
}

bool CCmdTarget::UpdateCommand(CCmdUI& ui) const
{
    auto it = m_handlers.find(ui.m_nID);
    if (it == m_handlers.end())
        return false;
    ui.m_bEnabled = true;
    if (it->second.update)
        it->second.update(ui);
    return true;
}

} // namespace vantorel
