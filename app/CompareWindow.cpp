#include "app/CompareWindow.h"

#include <QHeaderView>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

#include "app/AppText.h"
#include "res/strings/compare.h"
#include "transfer/compare/BankDiff.h"
#include "transfer/compare/EntryDiff.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

constexpr int kColumnWhere = 0;
constexpr int kColumnA = 1;
constexpr int kColumnB = 2;
constexpr int kColumnResult = 3;
constexpr int kColumns = 4;

// A name as the windows show it: its bytes as Latin-1, without the padding;
// control characters as dots, so that each row stays one line.
QString NameOf(const CDocKind& kind, const CDocument& doc, int n)
{
    QString name = Latin1(kind.EntryName(doc, n));
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    for (QChar& c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('.');
    return name;
}

// A byte of a name also as its character ("90 'Z'").
QString SideText(const CChangeSide& side, bool bPair, bool bName)
{
    const QString text = Latin1(side.Text(bPair));
    if (!bName || !side.by || *side.by < 0x20 || *side.by >= 0x7F)
        return text;
    return text + QStringLiteral(" '") + QChar(*side.by) + QLatin1Char('\'');
}

// One row per part that differs, with a row per byte (a pair as its value) under it.
void AddParts(QTreeWidgetItem* pParent, QTreeWidget* pTree, const CEntryDiff& diff)
{
    for (const CPartDiff& part : diff.parts) {
        const QString title =
            part.nSizeA == part.nSizeB
                ? Latin1(part.Title())
                : Q(res::kComparePartLengths).arg(Latin1(part.Title())).arg(part.nSizeA).arg(part.nSizeB);
        auto* pPart = pParent ? new QTreeWidgetItem(pParent) : new QTreeWidgetItem(pTree);
        pPart->setText(kColumnWhere, title);
        for (const CByteChange& c : part.changes) {
            auto* pByte = new QTreeWidgetItem(pPart);
            pByte->setText(kColumnWhere, Q(res::kCompareByte).arg(c.nOffset - part.nOffset));
            const bool bName = std::strcmp(part.szName, res::kPartName) == 0;
            pByte->setText(kColumnA, SideText(c.a, c.bPair, bName));
            pByte->setText(kColumnB, SideText(c.b, c.bPair, bName));
        }
    }
}

QString EntrySummary(const CEntryDiff& diff)
{
    if (diff.IsSame())
        return Q(res::kCompareSameEntries);
    if (diff.bNameOnly)
        return Q(res::kCompareNameOnlyDiffers);
    return diff.nBytes == 1 ? Q(res::kCompareOneByteDiffers) : Q(res::kCompareEntriesDiffer).arg(diff.nBytes);
}

QString MatchText(const CDocKind& kind, const CEntryMatch& m, const CCompareSide& a, const CCompareSide& b)
{
    switch (m.match) {
    case EEntryMatch::NameOnly: return Q(res::kMatchNameOnly);
    case EEntryMatch::Differs:
        return m.nBytes == 1 ? Q(res::kMatchDiffersOneByte) : Q(res::kMatchDiffers).arg(m.nBytes);
    case EEntryMatch::Moved: return Q(res::kMatchMoved).arg(Latin1(kind.EntryLabel(m.nMovedTo)));
    case EEntryMatch::OnlyInFirst: return Q(res::kMatchOnlyIn).arg(a.strName);
    case EEntryMatch::OnlyInSecond: return Q(res::kMatchOnlyIn).arg(b.strName);
    case EEntryMatch::Same: break;
    }
    return {};
}

} // namespace

CCompareWindow::CCompareWindow(const CDocKind& kind, const CCompareSide& a, int nA, const CCompareSide& b,
                               int nB, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    const auto side = [&](const CCompareSide& s, int n) {
        return Q(res::kCompareEntrySide).arg(Latin1(kind.EntryLabel(n)), NameOf(kind, s.doc, n), s.strName);
    };
    Build(side(a, nA), side(b, nB));
    const CEntryDiff diff = CompareEntries(kind, a.doc, nA, b.doc, nB);
    m_pSummary->setText(EntrySummary(diff));
    AddParts(nullptr, m_pTree, diff);
    m_pTree->setColumnHidden(kColumnResult, true);
    m_pTree->expandAll();
    FitWidth();
}

CCompareWindow::CCompareWindow(const CDocKind& kind, const CCompareSide& a, const CCompareSide& b,
                               QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    Build(a.strName, b.strName);
    const CBankDiff diff = CompareBanks(kind, {a.doc, a.present}, {b.doc, b.present});
    const int nDiffer = diff.CountDiffering();
    m_pSummary->setText(nDiffer == 0 ? Q(res::kCompareBanksSame).arg(kind.EntryCount())
                                     : Q(res::kCompareBanksDiffer).arg(nDiffer).arg(kind.EntryCount()));
    for (const CEntryMatch& m : diff.entries) {
        if (m.match == EEntryMatch::Same)
            continue;
        auto* pEntry = new QTreeWidgetItem(m_pTree);
        pEntry->setText(kColumnWhere, Latin1(kind.EntryLabel(m.nEntry)));
        if (a.present.empty() || a.present[size_t(m.nEntry)])
            pEntry->setText(kColumnA, NameOf(kind, a.doc, m.nEntry));
        if (b.present.empty() || b.present[size_t(m.nEntry)])
            pEntry->setText(kColumnB, NameOf(kind, b.doc, m.nEntry));
        pEntry->setText(kColumnResult, MatchText(kind, m, a, b));
        // What differs from the entry it is compared with: the one in its
        // place, or where it moved to.
        if (m.match == EEntryMatch::OnlyInFirst || m.match == EEntryMatch::OnlyInSecond)
            continue;
        const int nB = m.match == EEntryMatch::Moved ? m.nMovedTo : m.nEntry;
        AddParts(pEntry, m_pTree, CompareEntries(kind, a.doc, m.nEntry, b.doc, nB));
    }
    FitWidth();
}

void CCompareWindow::Build(const QString& strA, const QString& strB)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Q(res::kCompareTitle).arg(strA, strB));
    auto* pLayout = new QVBoxLayout(this);
    m_pSummary = new QLabel(this);
    m_pTree = new QTreeWidget(this);
    m_pTree->setColumnCount(kColumns);
    m_pTree->setHeaderLabels({Q(res::kCompareColumnWhere), strA, strB, Q(res::kCompareColumnResult)});
    m_pTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTree->setUniformRowHeights(true);
    pLayout->addWidget(m_pSummary);
    pLayout->addWidget(m_pTree);
    resize(640, 480);
}

void CCompareWindow::FitWidth()
{
    // Wide enough for every column, headings and rows (files named with their
    // folders are long), within the screen.
    // The header sizes its sections to their contents (the rows' and its
    // own), as it does when shown; its length is then the columns' width.
    m_pTree->header()->resizeSections(QHeaderView::ResizeToContents);
    int nWidth = m_pTree->header()->length();
    nWidth += 2 * layout()->contentsMargins().left() + 2 * m_pTree->frameWidth() + 24;
    const QScreen* pScreen = screen();
    const int nMax = pScreen ? pScreen->availableGeometry().width() * 9 / 10 : nWidth;
    resize(std::clamp(nWidth, width(), std::max(width(), nMax)), height());
}

} // namespace vantorel
