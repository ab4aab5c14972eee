#include "framework/gui/Dialog.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

#include "framework/core/MessageBox.h"

namespace vantorel {

namespace {
CDialog::ModalHook& Hook()
{
    static CDialog::ModalHook hook;
    return hook;
}
} // namespace

CDialog::ModalHook CDialog::SetModalHook(ModalHook hook)
{
    ModalHook previous = Hook();
    Hook() = std::move(hook);
    return previous;
}

QFont CDialog::DialogFont()
{
    // The dialogs were laid out for an 8-point sans-serif system font.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

CDialog::CDialog(const CDlgTemplate& tmpl, QWidget* parent) : QDialog(parent), m_tmpl(tmpl)
{
    setFont(DialogFont());
    const QFontMetrics fm(font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_nBaseX = std::max(1, (fm.horizontalAdvance(letters) + 26) / 52);
    m_nBaseY = std::max(1, fm.height());
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (m_tmpl.bSystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    if (m_tmpl.szCaption)
        setWindowTitle(QString::fromLatin1(m_tmpl.szCaption));
}

CDialog::~CDialog() = default;

int CDialog::DialogUnitsToPixelsX(int du) const
{
    return (du * m_nBaseX + 2) / 4;
}

int CDialog::DialogUnitsToPixelsY(int du) const
{
    return (du * m_nBaseY + 4) / 8;
}

void CDialog::Build()
{
    if (m_bBuilt)
        return;
    m_bBuilt = true;
    setFixedSize(DialogUnitsToPixelsX(m_tmpl.cx), DialogUnitsToPixelsY(m_tmpl.cy));
    for (const CDlgItem& item : m_tmpl.items) {
        const QRect geo(DialogUnitsToPixelsX(item.x), DialogUnitsToPixelsY(item.y),
                        DialogUnitsToPixelsX(item.cx), DialogUnitsToPixelsY(item.cy));
        const QString text = QString::fromLatin1(item.szText ? item.szText : "");
        QWidget* w = nullptr;
        switch (item.kind) {
        case CtlKind::Button:
        case CtlKind::DefButton: {
            auto* b = new QPushButton(text, this);
            b->setAutoDefault(false);
            b->setDefault(item.kind == CtlKind::DefButton);
            const int id = item.nId;
            connect(b, &QPushButton::clicked, this, [this, id] { ClickButton(id); });
            w = b;
            break;
        }
        case CtlKind::Static:
        case CtlKind::SunkenStatic: {
            // A static's "&" marks the mnemonic of the control after it; "&&" is a plain "&".
            QString shown = QString(text).replace('\t', QStringLiteral("    "));
            shown.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove('&').replace('\x01', '&');
            auto* l = new QLabel(shown, this);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            l->setWordWrap(false);
            if (item.kind == CtlKind::SunkenStatic) {
                l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                l->setAutoFillBackground(true);
                QPalette pal = l->palette();
                pal.setColor(QPalette::Window, Qt::white);
                l->setPalette(pal);
            }
            w = l;
            break;
        }
        case CtlKind::Edit: {
            auto* e = new QLineEdit(text, this);
            w = e;
            break;
        }
        case CtlKind::ListBox: w = new QListWidget(this); break;
        case CtlKind::Progress: {
            auto* p = new QProgressBar(this);
            p->setRange(0, 100);
            p->setValue(0);
            p->setTextVisible(false);
            w = p;
            break;
        }
        case CtlKind::Icon:
        case CtlKind::Picture: {
            auto* l = new QLabel(this);
            l->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = l;
            break;
        }
        }
        if (item.kind == CtlKind::Static)
            w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setGeometry(geo);
        if (item.nId >= 0)
            m_items[item.nId] = w;
    }
}

// A list box row is one line of the dialog font, 8 dialog units; Qt's rows
// are taller than that, so a list laid out for five rows would show four and
// a scroll bar. Each list box is made tall enough for the rows its template
// height stands for, and whatever lies below it moves down with the dialog's
// lower edge.
void CDialog::FitListBoxes()
{
    constexpr int kRowUnits = 8;
    int nGrowth = 0;
    int nTopOfGrowth = height();
    for (const CDlgItem& item : m_tmpl.items) {
        QListWidget* list = item.kind == CtlKind::ListBox ? GetListBox(item.nId) : nullptr;
        if (!list || list->count() == 0)
            continue;
        list->ensurePolished();
        const int nRows = std::max(1, (item.cy + kRowUnits / 2) / kRowUnits);
        const int nWanted = nRows * list->sizeHintForRow(0) + 2 * list->frameWidth();
        if (nWanted <= list->height())
            continue;
        nGrowth = std::max(nGrowth, nWanted - list->height());
        nTopOfGrowth = std::min(nTopOfGrowth, list->geometry().bottom() + 1);
        list->resize(list->width(), nWanted);
    }
    if (nGrowth == 0)
        return;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->y() >= nTopOfGrowth)
            w->move(w->x(), w->y() + nGrowth);
    setFixedSize(width(), height() + nGrowth);
}

int CDialog::DoModal()
{
    Build();
    m_bEnded = false;
    m_nResult = IDCANCEL;
    OnInitDialog();
    FitListBoxes();
    if (Hook()) {
        QTimer::singleShot(0, this, [this] {
            if (!m_bEnded && Hook())
                Hook()(this);
        });
    }
    if (!m_bEnded)
        exec();
    return m_nResult;
}

void CDialog::CreateModeless()
{
    Build();
    m_bEnded = false;
    OnInitDialog();
    FitListBoxes();
    show();
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
    done(nResult);
}

QWidget* CDialog::GetDlgItem(int nId) const
{
    auto it = m_items.find(nId);
    return it == m_items.end() ? nullptr : it->second;
}

QPushButton* CDialog::GetButton(int nId) const
{
    return qobject_cast<QPushButton*>(GetDlgItem(nId));
}
QLabel* CDialog::GetStatic(int nId) const
{
    return qobject_cast<QLabel*>(GetDlgItem(nId));
}
QLineEdit* CDialog::GetEdit(int nId) const
{
    return qobject_cast<QLineEdit*>(GetDlgItem(nId));
}
QListWidget* CDialog::GetListBox(int nId) const
{
    return qobject_cast<QListWidget*>(GetDlgItem(nId));
}
QProgressBar* CDialog::GetProgress(int nId) const
{
    return qobject_cast<QProgressBar*>(GetDlgItem(nId));
}

void CDialog::ClickButton(int nId)
{
    if (QWidget* w = GetDlgItem(nId); w && !w->isEnabled())
        return; // a disabled button does nothing, as on screen
    if (nId == IDOK)
        OnOK();
    else if (nId == IDCANCEL)
        OnCancel();
    else
        OnButton(nId);
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::accept()
{
    // Enter presses the default button.
    for (const CDlgItem& item : m_tmpl.items)
        if (item.kind == CtlKind::DefButton) {
            ClickButton(item.nId);
            return;
        }
}

void CDialog::reject()
{
    // Escape and the close box act as Cancel, if Cancel is there and enabled.
    if (QWidget* w = GetDlgItem(IDCANCEL); w && !w->isEnabled())
        return;
    OnCancel();
}

void CDialog::closeEvent(QCloseEvent* e)
{
    if (!m_bEnded) {
        e->ignore();
        reject();
        return;
    }
    QDialog::closeEvent(e);
}

} // namespace vantorel
