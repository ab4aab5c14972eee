#pragma once
#include "framework/core/Object.h"
#include "framework/core/Rect.h"

namespace vantorel {

class CArchive;

// The rectangle of a changed row, sent with UpdateAllViews so that a view
// repaints only that row. Never stored in a file.
class CHintRect : public CObject {
public:
    static constexpr int kSchema = 1;

    CHintRect() = default;
    explicit CHintRect(const CRect& rect) : m_rect(rect) {}
    const char* GetRuntimeClassName() const override { return "CHintRect"; }
    void Serialize(CArchive&) {} // a hint carries nothing into files

    CRect m_rect;
};

} // namespace vantorel
