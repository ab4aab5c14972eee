#include "transfer/StopPreview.h"

#include <utility>

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
    if (Handler())
        Handler()();
}

void SetStopPreviewHandler(std::function<void()> handler) { Handler() = std::move(handler); }

} // namespace vantorel
