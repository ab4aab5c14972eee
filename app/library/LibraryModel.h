#pragma once
// The Library window's result list: the entries a query finds, fetched from
// the index a page at a time as the list scrolls (canFetchMore/fetchMore),
// so the first rows show at once however many the query finds.
#include <QAbstractTableModel>

#include <vector>

#include "library/LibraryIndex.h"

namespace vantorel {

class CLibraryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The star first: a narrow window still shows it.
    enum EColumn { kStar, kName, kKind, kLabel, kFile, kFolder, kDate, kColumnCount };
    static constexpr int kPageSize = 200;

    explicit CLibraryModel(QObject* parent = nullptr);

    // The index searched (null: nothing found); the query starts again.
    void SetIndex(const CLibraryIndex* pIndex);
    // A new query: the first page is read at once.
    void SetQuery(const CLibraryQuery& query);
    const CLibraryQuery& Query() const { return m_query; }
    // Reads the query again (the index changed).
    void Reload() { SetQuery(m_query); }

    // The entry of a row, or null.
    const CLibraryEntry* Entry(int nRow) const;
    // Every row holding the sound shows the star as given.
    void ShowStarred(const std::string& strSound, bool bStarred);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // The next page of the query, without telling the views.
    std::vector<CLibraryEntry> NextPage() const;

    const CLibraryIndex* m_pIndex = nullptr;
    CLibraryQuery m_query;
    std::vector<CLibraryEntry> m_rows;
    bool m_bAtEnd = true;
};

// What the user calls a kind ("Patch", "Pattern Data"), from its document strings.
QString KindDisplayName(const CDocKind* pKind);

} // namespace vantorel
