#include "app/library/LibraryModel.h"

#include <QDateTime>
#include <QFileInfo>

#include "app/AppText.h"
#include "app/DocKinds.h"
#include "framework/core/FileNames.h"
#include "res/strings/librarywindow.h"

namespace vantorel {

QString KindDisplayName(const CDocKind* pKind)
{
    for (const CKindWindow& w : KindWindows())
        if (w.pKind == pKind)
            return QString::fromLatin1(w.szDocStrings).section(QLatin1Char('\n'), 1, 1);
    return {};
}

CLibraryModel::CLibraryModel(QObject* parent) : QAbstractTableModel(parent) {}

void CLibraryModel::SetIndex(const CLibraryIndex* pIndex)
{
    m_pIndex = pIndex;
    SetQuery(m_query);
}

void CLibraryModel::SetQuery(const CLibraryQuery& query)
{
    beginResetModel();
    m_query = query;
    m_query.nOffset = 0;
    m_query.nLimit = kPageSize;
    m_rows.clear();
    m_bAtEnd = m_pIndex == nullptr;
    m_rows = NextPage();
    m_bAtEnd = m_rows.size() < static_cast<size_t>(kPageSize);
    endResetModel();
}

std::vector<CLibraryEntry> CLibraryModel::NextPage() const
{
    if (m_bAtEnd || !m_pIndex)
        return {};
    CLibraryQuery q = m_query;
    q.nOffset = static_cast<int>(m_rows.size());
    q.nLimit = kPageSize;
    return m_pIndex->Search(q);
}

bool CLibraryModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_bAtEnd;
}

void CLibraryModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_bAtEnd)
        return;
    std::vector<CLibraryEntry> page = NextPage();
    if (page.size() < static_cast<size_t>(kPageSize))
        m_bAtEnd = true;
    if (page.empty())
        return;
    const int nFirst = static_cast<int>(m_rows.size());
    beginInsertRows({}, nFirst, nFirst + static_cast<int>(page.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
    endInsertRows();
}

const CLibraryEntry* CLibraryModel::Entry(int nRow) const
{
    return nRow >= 0 && nRow < static_cast<int>(m_rows.size()) ? &m_rows[static_cast<size_t>(nRow)] : nullptr;
}

void CLibraryModel::ShowStarred(const std::string& strSound, bool bStarred)
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].strSound != strSound)
            continue;
        m_rows[i].bStarred = bStarred;
        const QModelIndex cell = index(static_cast<int>(i), kStar);
        emit dataChanged(cell, cell);
    }
}

int CLibraryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CLibraryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

Qt::ItemFlags CLibraryModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled
                           : Qt::NoItemFlags;
}

QVariant CLibraryModel::data(const QModelIndex& index, int role) const
{
    const CLibraryEntry* e = Entry(index.row());
    if (e && role == Qt::TextAlignmentRole && index.column() == kStar)
        return QVariant::fromValue(Qt::AlignCenter);
    if (!e || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    if (role == Qt::ToolTipRole)
        return DecodeFileName(e->strFile);
    switch (index.column()) {
    case kName: return Latin1(e->strName);
    case kKind: return KindDisplayName(e->pKind);
    case kLabel: return Latin1(e->strLabel);
    case kFile: return QFileInfo(DecodeFileName(e->strFile)).fileName();
    case kFolder: return QFileInfo(DecodeFileName(e->strFile)).path();
    case kDate:
        return QDateTime::fromSecsSinceEpoch(e->nModified).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    case kStar: return QString::fromUtf8(e->bStarred ? res::kLibraryStar : res::kLibraryNoStar);
    default: return {};
    }
}

QVariant CLibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[kColumnCount] = {
        res::kLibraryColumnStar, res::kLibraryColumnName,   res::kLibraryColumnKind, res::kLibraryColumnLabel,
        res::kLibraryColumnFile, res::kLibraryColumnFolder, res::kLibraryColumnDate};
    return section >= 0 && section < kColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

} // namespace vantorel
