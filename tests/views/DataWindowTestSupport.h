#pragma once
// Set-up shared by the system, pattern and motion window tests: a document
// listener that records every repaint the windows ask for, transfers answered
// to their end, and pictures of a window's content taken at full size.
#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "ViewTestSupport.h"
#include "framework/core/HintRect.h"
#include "transfer/CompleteDlg.h"
#include "transfer/TransferDlg.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {

// Listens to a document like a window does and keeps what it was told:
// a null hint as an empty optional rectangle (repaint all).
class CRepaintRecorder : public CViewBase {
public:
    struct CUpdate {
        bool bWhole = false;
        CRect rect;
        bool operator==(const CUpdate&) const = default;
    };
    void OnUpdate(CViewBase*, long, CObject* pHint) override
    {
        if (!pHint)
            m_updates.push_back({true, {}});
        else if (auto* h = dynamic_cast<CHintRect*>(pHint))
            m_updates.push_back({false, h->m_rect});
    }
    static CUpdate Whole() { return {true, {}}; }
    static CUpdate Rect(const CRect& rc) { return {false, rc}; }
    std::vector<CUpdate> m_updates;
};

class CDataWindowTest : public CViewTest {
protected:
    // Every Get or Send dialog is answered with nButton (START runs the
    // transfer on the virtual clock to its end; Cancel closes at once);
    // "Complete!" is answered with OK. inspect sees each Get or Send dialog
    // before it is answered.
    void AnswerTransfers(int nButton = IDOK, std::function<void(CTransferDlg*)> inspect = {})
    {
        CDialogTestPeer::SetModalHook([this, nButton, inspect](CDialog* dlg) {
            if (auto* t = dynamic_cast<CTransferDlg*>(dlg)) {
                m_deviceTexts.push_back(t->m_strDevices);
                if (inspect)
                    inspect(t);
                t->ClickButton(nButton);
                m_clock.RunUntil([t] { return t->IsEnded(); }, 600'000'000LL);
                m_bTransferEnded = t->IsEnded();
            } else if (dynamic_cast<CCompleteDlg*>(dlg)) {
                ++m_nComplete;
                dlg->ClickButton(IDOK);
            }
        });
    }

    // The window's frame made larger than any list, so that the shrink-only
    // fit leaves the window exactly the size of its content.
    void Enlarge(CScrollView* view)
    {
        m_area.resize(1200, 1200);
        view->GetParentFrame()->resize(700, 1000);
        view->OnInitialUpdate();
    }

    // What the window shows, drawn at its current size.
    static QImage Picture(CScrollView* view)
    {
        return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Writes the window with its frame to $VANTOREL_SCREENSHOT_DIR/name when
    // that variable is set (how the pictures in docs/ are made).
    static void SaveScreenshot(CScrollView* view, const char* title, const char* name)
    {
        const char* dir = std::getenv("VANTOREL_SCREENSHOT_DIR");
        if (!dir)
            return;
        view->GetParentFrame()->setWindowTitle(QString::fromUtf8(title));
        view->GetParentFrame()->grab().save(QString::fromUtf8(dir) + "/" + name);
    }

    std::vector<std::string> m_deviceTexts;
    int m_nComplete = 0;
    bool m_bTransferEnded = false;
};

inline QRgb Px(const QImage& img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}
inline constexpr QRgb kGrey = 0xC0C0C0;
inline constexpr QRgb kDark = 0x7F7F7F;
inline constexpr QRgb kWhite = 0xFFFFFF;
inline constexpr QRgb kBlack = 0x000000;

// Pixels of exactly colour c inside (x0, y0)-(x1, y1), right and bottom excluded.
inline int CountColour(const QImage& img, QRgb c, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1 && y < img.height(); ++y)
        for (int x = x0; x < x1 && x < img.width(); ++x)
            n += Px(img, x, y) == c;
    return n;
}

// Pixels inside (x0, y0)-(x1, y1) whose green stands out from red and blue:
// text in dark green, smoothed or not, over grey.
inline int CountGreenish(const QImage& img, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1 && y < img.height(); ++y)
        for (int x = x0; x < x1 && x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            n += qGreen(c) > qRed(c) + 20 && qGreen(c) > qBlue(c) + 20;
        }
    return n;
}

// Pixels inside (x0, y0)-(x1, y1) near black: text in black, smoothed or not.
inline int CountInk(const QImage& img, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1 && y < img.height(); ++y)
        for (int x = x0; x < x1 && x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            n += std::max({qRed(c), qGreen(c), qBlue(c)}) < 80;
        }
    return n;
}

} // namespace vantorel::test
