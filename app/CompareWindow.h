#pragma once
// The window a compare opens: what differs between two entries (by the
// parts of the kind's records, byte by byte) or between two documents of
// one kind (entry by entry, each with its parts), as a tree. It holds the
// result as text, so the documents may change or close while it is open.
#include <QLabel>
#include <QString>
#include <QTreeWidget>
#include <QWidget>

#include <vector>

namespace vantorel {

class CDocKind;
class CDocument;

// One side of a compare: a document, what the user calls it ("bank.pat"),
// and the entries it holds (empty: all; a .syx file may hold some).
struct CCompareSide {
    const CDocument& doc;
    QString strName;
    std::vector<bool> present;
};

class CCompareWindow : public QWidget {
    Q_OBJECT
public:
    // Entry nA of a with entry nB of b.
    CCompareWindow(const CDocKind& kind, const CCompareSide& a, int nA, const CCompareSide& b, int nB,
                   QWidget* parent);
    // Every entry of a with the same entry of b.
    CCompareWindow(const CDocKind& kind, const CCompareSide& a, const CCompareSide& b, QWidget* parent);

    QTreeWidget* Tree() const { return m_pTree; }
    QLabel* Summary() const { return m_pSummary; }

private:
    void Build(const QString& strA, const QString& strB);
    void FitWidth();

    QLabel* m_pSummary = nullptr;
    QTreeWidget* m_pTree = nullptr;
};

} // namespace vantorel
