#pragma once
// The Get, Send and progress dialogs of any kind: one generic set, laid out
// from the layouts the kind supplies (CDocKind::Dialogs()). What a dialog
// transfers is the plan the kind makes (CDocKind::MakeGetPlan, MakeSendPlan),
// the same one the command line and .syx export run; the caller hands it in
// before the dialog is shown. A kind's dialogs are these set up for its
// description: CGetDlgT<PatchKind>, CSendDlgT<PatchKind>.
#include <memory>
#include <utility>

#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "transfer/TransferDlg.h"
#include "transfer/TransferTemplates.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

// How a dialog finds its kind: the kind's accessor (PatchKind).
using KindAccessor = const CDocKind& (*)();

// A Get or Send dialog and its progress dialog, which runs the plan handed in.
template <class TProgress, class TPlan>
class CKindTransferDlg : public CTransferDlg {
public:
    CKindTransferDlg(const CAskLayout& ask, const char* szConfirm, const CProgressLayout& progress,
                     const char* szProgressCaption, QWidget* parent)
        : CTransferDlg(AskTemplate(ask), szConfirm, parent),
          m_progress(ProgressTemplate(progress, szProgressCaption), this)
    {
    }

    // Before DoModal: what START transfers.
    void SetPlan(std::unique_ptr<TPlan> plan) { m_progress.SetPlan(std::move(plan)); }
    TPlan* Plan() const { return m_progress.Plan(); }

    TProgress m_progress;
    CProgressDlg& Progress() override { return m_progress; }
};

template <KindAccessor TKind>
class CGetDlgT : public CKindTransferDlg<CGettingDlg, CGetPlan> {
public:
    explicit CGetDlgT(QWidget* parent = nullptr)
        : CKindTransferDlg(TKind().Dialogs().get, res::kConfirmGet, TKind().Dialogs().getting,
                           res::kGettingCaption, parent)
    {
    }
};

template <KindAccessor TKind>
class CSendDlgT : public CKindTransferDlg<CSendingDlg, CSendPlan> {
public:
    explicit CSendDlgT(QWidget* parent = nullptr)
        : CKindTransferDlg(TKind().Dialogs().send, res::kConfirmSend, TKind().Dialogs().sending,
                           res::kSendingCaption, parent)
    {
    }
};

} // namespace vantorel
