#pragma once
// The window of a motion document: four rows "A1 ", "A2 ", "B1 ", "B2 ", each
// with "MOTION n". It never shows what a motion holds, and repaints whole.
#include "data/MotionDoc.h"
#include "res/Images.h"
#include "views/VarListView.h"

namespace vantorel {

// What a Shift-click on a motion picks up.
inline const int kCopyMotion = res::DefineCopyCursor(144, "MTN");

class CMotionView : public CVarListView {
    Q_OBJECT
public:
    enum : int {
        ID_GET_MOTION = 32788,
        ID_SEND_MOTION = 32789,
        ID_INITIALIZE_MOTION_DATA = 32817,
        ID_GET_MOTION_DATA = 32818,
        ID_SEND_MOTION_DATA = 32819,
    };

    explicit CMotionView(QWidget* parent = nullptr);

    CMotionDoc* GetDocument() const { return dynamic_cast<CMotionDoc*>(CVarListView::GetDocument()); }

protected:
    void OnDraw(CDC& dc) override;
    // Every update repaints the whole window.
    void OnUpdate(CViewBase* pSender, long lHint, CObject* pHint) override;

    CVarEntry* Entry(int nRow) override;
    QSize ContentSize() const override;
    int RowHeight() const override;
    void RepaintSelection(int nOld, int nNew) override;
    int RunGetDialog(int nSingle) override;
    int RunSendDialog(int nSingle) override;

private:
    void RepaintDocument();
};

} // namespace vantorel
