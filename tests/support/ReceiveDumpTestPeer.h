#pragma once
// Test access to the Receive Dump window: its texts and its Stop button.
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "app/ReceiveDumpDlg.h"

namespace vantorel {

class CReceiveDumpDlgTestPeer {
public:
    // The count of each kind and the skipped line, one a line.
    static QString CountText(const CReceiveDumpDlg& dlg)
    {
        QStringList lines;
        for (const QLabel* label : dlg.m_counts)
            lines << label->text();
        lines << dlg.m_pSkipped->text();
        return lines.join(QLatin1Char('\n'));
    }
    static QString LastText(const CReceiveDumpDlg& dlg) { return dlg.m_pLast->text(); }
    static QPushButton* StopButton(const CReceiveDumpDlg& dlg) { return dlg.m_pStop; }
};

} // namespace vantorel
