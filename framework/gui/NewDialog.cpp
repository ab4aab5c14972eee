#include "framework/gui/NewDialog.h"

#include <QListWidget>

#include "framework/core/MessageBox.h"
#include "res/Strings.h"
#include "res/strings/app.h"

namespace vantorel {

namespace {
enum : int { kNewTypeDialogId = 30721, kNewTypeListId = 100 };

const CDlgTemplate& NewTypeTemplate()
{
    static const CDlgTemplate tmpl{kNewTypeDialogId,
                                   res::kNewDialogCaption,
                                   160,
                                   64,
                                   {
                                       {-1, CtlKind::Static, res::kNewDialogLabel, 6, 5, 100, 8},
                                       {kNewTypeListId, CtlKind::ListBox, "", 6, 15, 100, 42},
                                       {IDOK, CtlKind::DefButton, res::kOk, 114, 6, 40, 14},
                                       {IDCANCEL, CtlKind::Button, res::kCancel, 114, 24, 40, 14},
                                   },
                                   true};
    return tmpl;
}
} // namespace

CNewDialog::CNewDialog(const std::vector<std::unique_ptr<CDocTemplate>>& templates, QWidget* parent)
    : CDialog(NewTypeTemplate(), parent), m_templates(templates)
{
}

CDocTemplate* CNewDialog::Choose(const std::vector<std::unique_ptr<CDocTemplate>>& templates, QWidget* parent)
{
    CNewDialog dlg(templates, parent);
    return dlg.DoModal() == IDOK ? dlg.m_pSelected : nullptr;
}

void CNewDialog::OnInitDialog()
{
    QListWidget* list = GetListBox(kNewTypeListId);
    list->clear();
    for (const auto& t : m_templates)
        list->addItem(QString::fromLocal8Bit(t->GetDocString(CDocTemplate::fileNewName).c_str()));
    if (list->count() > 0)
        list->setCurrentRow(0);
    QObject::connect(list, &QListWidget::itemDoubleClicked, this, [this] { ClickButton(IDOK); });
}

void CNewDialog::OnOK()
{
    const int row = GetListBox(kNewTypeListId)->currentRow();
    if (row < 0 || row >= int(m_templates.size()))
        return; // nothing chosen: the dialog stays
    m_pSelected = m_templates[size_t(row)].get();
    EndDialog(IDOK);
}

} // namespace vantorel
