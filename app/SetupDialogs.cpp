#include "app/SetupDialogs.h"

#include <QLineEdit>
#include <QListWidget>

#include <climits>
#include <string>
#include <vector>

#include "app/Resource.h"
#include "app/Templates.h"
#include "framework/core/MessageBox.h"
#include "midi/DeviceNames.h"
#include "midi/MidiService.h"
#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {
// The row of a chosen device that is not listed: after the devices, so that
// positions still equal device numbers.
constexpr int kMissingRole = Qt::UserRole + 1;

// names: every device in device order, listed once (asking for each number in
// turn lists every port again for each).
void FillAndSelect(QListWidget* list, const std::vector<std::string>& names, int nSelection,
                   const std::string& strMissing)
{
    list->clear();
    // Position equals device number, so every device gets a row, named or not.
    for (size_t i = 0; i < names.size() && i <= UINT16_MAX; ++i)
        list->addItem(QString::fromLocal8Bit(names[i].c_str()));
    if (!strMissing.empty()) {
        auto* pMissing = new QListWidgetItem(
            QString::fromLocal8Bit(FormatText(res::kDeviceNotAvailable, strMissing.c_str()).c_str()), list);
        pMissing->setData(kMissingRole, true);
        if (nSelection < 0)
            nSelection = list->row(pMissing);
    }
    if (nSelection >= 0 && nSelection < list->count()) {
        list->setCurrentRow(nSelection);
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

int SelectedRow(const QListWidget* list)
{
    const auto items = list->selectedItems();
    if (items.isEmpty() || items.front()->data(kMissingRole).toBool())
        return -1;
    return list->row(items.front());
}
} // namespace

bool ParseDialogInt(const QString& text, int& nValue)
{
    const QString t = text.trimmed();
    int i = 0;
    bool bNegative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        bNegative = t[i] == '-';
        ++i;
    }
    if (i >= t.size())
        return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return false;
        v = v * 10 + (t[i].unicode() - '0');
        if (v > 1LL + INT_MAX)
            return false;
    }
    if (bNegative)
        v = -v;
    if (v < INT_MIN || v > INT_MAX)
        return false;
    nValue = int(v);
    return true;
}

CMidiSetupDlg::CMidiSetupDlg(QWidget* parent) : CDialog(MidiSetupTemplate(), parent) {}

void CMidiSetupDlg::OnInitDialog()
{
    CMidiService& service = CMidiService::Get();
    FillAndSelect(GetListBox(IDC_MIDI_IN_LIST), service.InGetDevNames(), m_nInSelection, m_strMissingIn);
    FillAndSelect(GetListBox(IDC_MIDI_OUT_LIST), service.OutGetDevNames(), m_nOutSelection, m_strMissingOut);
}

void CMidiSetupDlg::OnOK()
{
    m_nInSelection = SelectedRow(GetListBox(IDC_MIDI_IN_LIST));
    m_nOutSelection = SelectedRow(GetListBox(IDC_MIDI_OUT_LIST));
    EndDialog(IDOK);
}

CPreviewSetupDlg::CPreviewSetupDlg(QWidget* parent) : CDialog(PreviewSetupTemplate(), parent) {}

void CPreviewSetupDlg::OnInitDialog()
{
    GetEdit(IDC_NOTE_NUMBER)->setText(QString::number(m_nNoteNumber));
    GetEdit(IDC_VELOCITY)->setText(QString::number(m_nVelocity));
    GetEdit(IDC_TONE_LENGTH)->setText(QString::number(m_nToneLength));
}

void CPreviewSetupDlg::OnOK()
{
    struct Field {
        int nId;
        bool bRange; // 0 to 127
    };
    // The order the values are checked in.
    const Field fields[] = {{IDC_NOTE_NUMBER, true}, {IDC_TONE_LENGTH, false}, {IDC_VELOCITY, true}};
    int values[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        QLineEdit* edit = GetEdit(fields[k].nId);
        std::string failure;
        if (!ParseDialogInt(edit->text(), values[k]))
            failure = res::kEnterInteger;
        else if (fields[k].bRange && (values[k] < 0 || values[k] > 127))
            failure = QString::fromLatin1(res::kEnterIntegerBetween).arg(0).arg(127).toStdString();
        if (!failure.empty()) {
            AfxMessageBox(failure, MB_OK);
            edit->setFocus();
            edit->selectAll();
            return; // the dialog stays open, nothing is copied back
        }
    }
    m_nNoteNumber = values[0];
    m_nToneLength = values[1];
    m_nVelocity = values[2];
    EndDialog(IDOK);
}

} // namespace vantorel
