#include "app/GetEverything.h"

#include <QString>

#include <algorithm>

#include "app/AppText.h"
#include "app/DocKinds.h"
#include "framework/core/MessageBox.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/MDIFrameWnd.h"
#include "res/strings/app.h"
#include "transfer/CompleteDlg.h"
#include "transfer/TransferBatch.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

// The entry a failure stopped at, as the window labels it.
std::string FailedEntry(const CDocKind& kind, const CRunFailure& failure)
{
    if (!failure.strEntry.empty())
        return failure.strEntry;
    return kind.EntryLabel(std::clamp(failure.nEntry, 0, kind.EntryCount() - 1));
}
} // namespace

bool GetEverything(CDocManager& manager, CMDIFrameWnd& frame)
{
    if (AfxMessageBox(res::kGetEverythingConfirm, MB_OKCANCEL) != IDOK)
        return false;
    int nTotal = 0;
    for (const CKindWindow& w : KindWindows())
        nTotal += w.pKind->EntryCount();
    CTransferBatch batch(nTotal, CRunSettings{kGetEverythingRetries});
    int nBefore = 0;
    for (const CKindWindow& w : KindWindows()) {
        const CDocKind& kind = *w.pKind;
        CDocTemplate* pTemplate = TemplateOfKind(manager, kind);
        CDocument* pDoc = pTemplate ? manager.OpenNewDocument(pTemplate) : nullptr;
        if (!pDoc)
            return false; // the document manager has said why
        batch.BeginPart(nBefore, kind.EntryCount());
        frame.RouteCommand(w.get.nId);
        const std::optional<CRunResult>& end = batch.LastEnd();
        if (end && end->end == ERunEnd::Done) {
            nBefore += kind.EntryCount();
            continue;
        }
        if (end && end->end == ERunEnd::Failed && !batch.WasTold()) {
            const QString text =
                Q(res::kGetEverythingFailed)
                    .arg(Q(kind.Noun().szMany), QString::fromStdString(FailedEntry(kind, end->failure)),
                         QString::fromStdString(DescribeFailure(end->failure)));
            AfxMessageBox(text.toStdString());
        }
        // A window nothing arrived in is not worth keeping.
        if (!pDoc->IsModified())
            manager.CloseDocument(pDoc);
        return false;
    }
    CCompleteDlg complete(&frame);
    complete.DoModal();
    return true;
}

} // namespace vantorel
