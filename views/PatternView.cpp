#include "views/PatternView.h"

#include <array>
#include <cstdio>

#include "data/EntryName.h"
#include "res/strings/datawindows.h"
#include "views/CopyBuffer.h"
#include "transfer/PatternTransfer.h"

namespace vantorel {

namespace {
// The keyboard repeats every octave (12 rows). White-key boundaries step by
// these numbers of half rows, starting half a row plus one pixel down; black
// keys step by these numbers of rows, starting one pixel below the first row.
constexpr std::array<int, 7> kWhiteKeySteps = {4, 3, 3, 4, 4, 3, 3};
constexpr std::array<int, 5> kBlackKeySteps = {2, 3, 2, 2, 3};
} // namespace

CPatternView::CPatternView(QWidget* parent)
    : CVarListView(CVarListSpec{kCopyPattern, CPatternDoc::kPatternCount, ID_GET_PATTERN, ID_SEND_PATTERN,
                                ID_INITIALIZE_PATTERN_DATA, ID_GET_PATTERN_DATA, ID_SEND_PATTERN_DATA,
                                res::kMenuInitializePatternData, res::kMenuGetPatternData,
                                res::kMenuSendPatternData},
                   parent)
{
}

std::string CPatternView::NoteName(int nRow)
{
    std::string name = FormatPatternLabel(nRow);
    name.resize(3, ' ');
    return name;
}

CVarEntry* CPatternView::Entry(int nRow)
{
    CPatternDoc* pDoc = GetDocument();
    if (!pDoc || nRow < 0 || nRow >= CPatternDoc::kPatternCount)
        return nullptr;
    return &pDoc->m_aPattern[size_t(nRow)];
}

QSize CPatternView::ContentSize() const
{
    const CPatternDoc* pDoc = GetDocument();
    return pDoc ? QSize(pDoc->m_nScrollWidth, pDoc->m_nScrollHeight) : QSize();
}

int CPatternView::RowHeight() const
{
    const CPatternDoc* pDoc = GetDocument();
    return pDoc ? pDoc->m_nRowHeight : 0;
}

void CPatternView::RepaintSelection(int nOld, int nNew)
{
    if (CPatternDoc* pDoc = GetDocument())
        pDoc->UpdateRows(nOld, nNew);
}

int CPatternView::RunGetDialog(int nSingle)
{
    CGetPatternDlg dlg(this);
    dlg.SetPlan(PatternKind().MakeGetPlan(*GetDocument(), nSingle));
    return RunGetTransfer(dlg);
}

int CPatternView::RunSendDialog(int nSingle)
{
    CSendPatternDlg dlg(this);
    dlg.SetPlan(PatternKind().MakeSendPlan(*GetDocument(), nSingle));
    return RunTransferDialog(dlg);
}

void CPatternView::OnDraw(CDC& dc)
{
    const CPatternDoc* pDoc = GetDocument();
    if (!pDoc)
        return;
    const int nRowHeight = pDoc->m_nRowHeight;
    DrawRowGrid(dc,
                CRowGrid{pDoc->m_nKeyboardWidth,
                         {pDoc->m_nKeyboardWidth, pDoc->m_nPatternColumnX, pDoc->m_nListRightX},
                         pDoc->m_nListHeight,
                         CPatternDoc::kPatternCount,
                         nRowHeight,
                         ContentSize()},
                GetSelection());

    SelectListFont(dc);
    char label[32];
    for (int i = 0; i < CPatternDoc::kPatternCount; ++i) {
        const int y = i * nRowHeight + 2;
        DrawText(dc, pDoc->m_nKeyboardWidth + 5, y, NoteName(i));
        std::snprintf(label, sizeof label, res::kPatternLabel, i + 1);
        DrawText(dc, pDoc->m_nPatternColumnX + 5, y, label);
    }

    DrawKeyboard(dc, *pDoc);
    FitList(ContentSize());
}

void CPatternView::DrawKeyboard(CDC& dc, const CPatternDoc& doc)
{
    const int nHeight = doc.m_nScrollHeight;
    const int nHalfRow = doc.m_nRowHeight / 2;
    dc.FillSolidRect(CRect{0, 0, doc.m_nKeyboardWidth, nHeight}, Qt::white);

    size_t step = 0;
    for (int y = nHalfRow + 1; y < nHeight; y += kWhiteKeySteps[step++ % kWhiteKeySteps.size()] * nHalfRow)
        DrawLine(dc, Qt::black, 0, y, doc.m_nKeyboardWidth, y);

    step = 0;
    for (int y = 1; y < nHeight; y += kBlackKeySteps[step++ % kBlackKeySteps.size()] * doc.m_nRowHeight)
        dc.FillSolidRect(CRect{doc.m_nBlackKeyX, y, doc.m_nKeyboardWidth, y + doc.m_nRowHeight}, Qt::black);
}

} // namespace vantorel
