#pragma once
// The window of a pattern document: 48 rows, one per key from C#2 to C6, with
// a drawn keyboard at the left, the note name and "PATTERN n". It never shows
// what a pattern holds. Rows repaint one at a time through row hints.
#include <string>

#include "data/PatternDoc.h"
#include "res/Images.h"
#include "views/VarListView.h"

namespace vantorel {

// What a Shift-click on a pattern picks up.
inline const int kCopyPattern = res::DefineCopyCursor(143, "PTN");

class CPatternView : public CVarListView {
    Q_OBJECT
public:
    enum : int {
        ID_GET_PATTERN = 32784,
        ID_SEND_PATTERN = 32785,
        ID_INITIALIZE_PATTERN_DATA = 32813,
        ID_GET_PATTERN_DATA = 32814,
        ID_SEND_PATTERN_DATA = 32815,
    };

    explicit CPatternView(QWidget* parent = nullptr);

    CPatternDoc* GetDocument() const { return dynamic_cast<CPatternDoc*>(CVarListView::GetDocument()); }

    // "C#2" for row 0 up to "C6 " for row 47: the key nRow + 1 semitones
    // above C2, a trailing blank where there is no sharp.
    static std::string NoteName(int nRow);

protected:
    void OnDraw(CDC& dc) override;

    CVarEntry* Entry(int nRow) override;
    QSize ContentSize() const override;
    int RowHeight() const override;
    void RepaintSelection(int nOld, int nNew) override;
    int RunGetDialog(int nSingle) override;
    int RunSendDialog(int nSingle) override;

private:
    void DrawKeyboard(CDC& dc, const CPatternDoc& doc);
};

} // namespace vantorel
