#pragma once
// The Get, Send and progress dialogs of any kind: one generic set, laid out
// from the layouts the kind supplies (CDocKind::Dialogs()) and holding the
// fields its plan takes (TPlan::Fields), which START hands to the plan. A
// kind's dialogs are these set up for its plans and its description:
//   CGetDlgT<CPatchGetPlan, PatchKind>, CSendDlgT<CPatchSendPlan, PatchKind>.
#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "transfer/TransferDlg.h"
#include "transfer/TransferTemplates.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

// How a dialog finds its kind: the kind's accessor (PatchKind).
using KindAccessor = const CDocKind& (*)();

// "Getting..." with the kind's Get plan.
template <class TPlan>
class CGettingDlgT : public CGettingDlg {
public:
    CGettingDlgT(const CProgressLayout& layout, QWidget* parent)
        : CGettingDlg(ProgressTemplate(layout, res::kGettingCaption), &m_plan, parent)
    {
    }
    using Plan = TPlan;
    TPlan m_plan;
};

// "Sending..." with the kind's Send plan.
template <class TPlan>
class CSendingDlgT : public CSendingDlg {
public:
    CSendingDlgT(const CProgressLayout& layout, QWidget* parent)
        : CSendingDlg(ProgressTemplate(layout, res::kSendingCaption), &m_plan, parent)
    {
    }
    using Plan = TPlan;
    TPlan m_plan;
};

// A Get or Send dialog whose fields are the plan's: the caller sets them, and
// START copies them into the progress dialog's plan.
template <class TProgress>
class CKindTransferDlg : public CTransferDlg, public TProgress::Plan::Fields {
public:
    using Fields = typename TProgress::Plan::Fields;

    CKindTransferDlg(const CAskLayout& ask, const char* szConfirm, const CProgressLayout& progress, QWidget* parent)
        : CTransferDlg(AskTemplate(ask), szConfirm, parent), m_progress(progress, this)
    {
    }

    TProgress m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override
    {
        static_cast<Fields&>(m_progress.m_plan) = static_cast<const Fields&>(*this);
    }
};

template <class TPlan, KindAccessor TKind>
class CGetDlgT : public CKindTransferDlg<CGettingDlgT<TPlan>> {
public:
    explicit CGetDlgT(QWidget* parent = nullptr)
        : CKindTransferDlg<CGettingDlgT<TPlan>>(TKind().Dialogs().get, res::kConfirmGet, TKind().Dialogs().getting,
                                                parent)
    {
    }
};

template <class TPlan, KindAccessor TKind>
class CSendDlgT : public CKindTransferDlg<CSendingDlgT<TPlan>> {
public:
    explicit CSendDlgT(QWidget* parent = nullptr)
        : CKindTransferDlg<CSendingDlgT<TPlan>>(TKind().Dialogs().send, res::kConfirmSend, TKind().Dialogs().sending,
                                                parent)
    {
    }
};

} // namespace vantorel
