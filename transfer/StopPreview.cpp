#include "transfer/StopPreview.h"

namespace vantorel {

namespace {
std::function<void()>& Handler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void StopPreview()
{
    // Copy: the handler may replace itself.
    auto handler = Handler();
    if (handler)
        handler();
}

std::function<void()> SetStopPreviewHandler(std::function<void()> handler)
{
    auto previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace vantorel
