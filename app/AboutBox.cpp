#include "app/AboutBox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include "app/Resource.h"
#include "app/Templates.h"
#include "res/Images.h"

namespace vantorel {

namespace {
int32_t g_nClickCount = 0;

// Wraps around instead of overflowing, however long someone keeps clicking.
int32_t AddWrapping(int32_t a, int32_t b)
{
    return int32_t(uint32_t(a) + uint32_t(b));
}
} // namespace

CAboutBox::CAboutBox(QWidget* parent) : CDialog(AboutBoxTemplate(), parent) {}

int32_t CAboutBox::GetClickCount()
{
    return g_nClickCount;
}

void CAboutBox::SetClickCount(int32_t n)
{
    g_nClickCount = n;
}

void CAboutBox::OnInitDialog()
{
    if (QLabel* icon = qobject_cast<QLabel*>(GetDlgItem(IDC_ABOUT_ICON))) {
        const QPixmap pm = QPixmap::fromImage(res::IconImage(res::kIconApp));
        icon->setPixmap(pm.scaled(icon->size(), Qt::KeepAspectRatio, Qt::FastTransformation));
    }
}

void CAboutBox::OnLButtonDown(bool bShift, bool bCtrl)
{
    int32_t add = 1;
    if (bShift && bCtrl)
        add = 1000;
    else if (bShift)
        add = 100;
    else if (bCtrl)
        add = 10;
    g_nClickCount = AddWrapping(g_nClickCount, add);
}

void CAboutBox::OnRButtonDown(bool bShift, bool bCtrl)
{
    if (bShift && bCtrl && g_nClickCount == kPictureCount) {
        CPictureDlg dlg(this);
        dlg.DoModal();
    }
    g_nClickCount = 0;
}

void CAboutBox::mousePressEvent(QMouseEvent* e)
{
    const bool bShift = e->modifiers() & Qt::ShiftModifier;
    const bool bCtrl = e->modifiers() & Qt::ControlModifier;
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(bShift, bCtrl);
    else if (e->button() == Qt::RightButton)
        OnRButtonDown(bShift, bCtrl);
    CDialog::mousePressEvent(e);
}

CPictureDlg::CPictureDlg(QWidget* parent) : CDialog(PictureTemplate(), parent) {}

void CPictureDlg::OnInitDialog()
{
    if (QLabel* picture = qobject_cast<QLabel*>(GetDlgItem(IDC_PICTURE))) {
        const QPixmap pm = QPixmap::fromImage(res::PictureImage());
        // The control is smaller than the bitmap in most dialog fonts: fit it whole.
        picture->setPixmap(pm.scaled(picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        picture->setAlignment(Qt::AlignCenter);
    }
}

} // namespace vantorel
