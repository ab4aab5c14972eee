#include "views/NameDlg.h"

#include <QLineEdit>
#include <QToolTip>
#include <QValidator>

#include "framework/core/MessageBox.h"
#include "res/Strings.h"
#include "res/strings/datawindows.h"
#include "res/strings/views.h"

namespace vantorel {

namespace {

CDlgTemplate PatchNameTemplate()
{
    return CDlgTemplate{CPatchNameDlg::kTemplateId,
                        res::kPatchNameTitle,
                        91,
                        52,
                        {
                            {CPatchNameDlg::kEditId, CtlKind::Edit, "", 7, 7, 78, 12},
                            {IDOK, CtlKind::DefButton, res::kNameOk, 7, 31, 33, 14},
                            {IDCANCEL, CtlKind::Button, res::kNameCancel, 51, 31, 33, 14},
                        },
                        true};
}

CDlgTemplate PerformNameTemplate()
{
    return CDlgTemplate{CPerformNameDlg::kTemplateId,
                        res::kPerformanceNameTitle,
                        91,
                        50,
                        {
                            {CPerformNameDlg::kEditId, CtlKind::Edit, "", 7, 7, 78, 12},
                            {IDOK, CtlKind::DefButton, res::kNameOk, 7, 29, 33, 14},
                            {IDCANCEL, CtlKind::Button, res::kNameCancel, 51, 29, 33, 14},
                        },
                        true};
}

std::string FormatLimit(const char* pattern, int n)
{
    std::string s = pattern;
    if (const size_t pos = s.find("%1"); pos != std::string::npos)
        s.replace(pos, 2, std::to_string(n));
    return s;
}

// The synthesizer's display shows printable ASCII only. A name read from a
// file may already hold other bytes: those stay as they are unless edited, but
// nothing new outside the range gets in.
class CNameValidator : public QValidator {
public:
    CNameValidator(const QString& opened, QObject* parent) : QValidator(parent)
    {
        for (const QChar c : opened)
            if (!IsShown(c))
                m_kept += c;
    }
    State validate(QString& input, int&) const override
    {
        for (const QChar c : input)
            if (!IsShown(c) && !m_kept.contains(c))
                return Invalid;
        return Acceptable;
    }

private:
    static bool IsShown(QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; }
    QString m_kept;
};

} // namespace

CNameDlg::CNameDlg(const CDlgTemplate& tmpl, int nEditId, QWidget* parent)
    : CDialog(tmpl, parent), m_nEditId(nEditId)
{
}

void CNameDlg::OnInitDialog()
{
    if (QLineEdit* edit = GetEdit(m_nEditId)) {
        const QString name = QString::fromLatin1(m_strName.data(), static_cast<qsizetype>(m_strName.size()));
        edit->setMaxLength(kMaxChars);
        edit->setValidator(new CNameValidator(name, edit));
        edit->setText(name);
        edit->setToolTip(QString::fromLatin1(res::kNameCharactersHint));
        // A refused key, or a paste cut at 16 characters, says why at once.
        connect(edit, &QLineEdit::inputRejected, edit, [edit] {
            QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), edit->toolTip(), edit);
        });
        edit->setFocus();
    }
}

void CNameDlg::OnOK()
{
    QLineEdit* edit = GetEdit(m_nEditId);
    const QByteArray text = edit ? edit->text().toLatin1() : QByteArray();
    if (text.size() > kMaxChars) {
        AfxMessageBox(FormatLimit(res::kEnterNoMoreThan, kMaxChars), MB_OK);
        if (edit)
            edit->setFocus();
        return;
    }
    m_strName.assign(text.constData(), static_cast<size_t>(text.size()));
    EndDialog(IDOK);
}

bool CNameDlg::EditName(CNameField field)
{
    m_strName = GetEntryName(CConstNameField(field));
    if (DoModal() != IDOK)
        return false;
    SetEntryName(field, m_strName);
    return true;
}

CPatchNameDlg::CPatchNameDlg(QWidget* parent) : CNameDlg(PatchNameTemplate(), kEditId, parent) {}

CPerformNameDlg::CPerformNameDlg(QWidget* parent) : CNameDlg(PerformNameTemplate(), kEditId, parent) {}

} // namespace vantorel
