#include "app/library/LibraryWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include <set>

#include "app/AppText.h"
#include "app/DocKinds.h"
#include "framework/core/MessageBox.h"
#include "library/LibraryIndex.h"
#include "res/strings/librarywindow.h"
#include "transfer/plans/DocKind.h"
#include "views/CopyBuffer.h"
#include "views/EntryClip.h"
#include "views/ProgramSwitches.h"

namespace vantorel {

namespace {

CLibraryWindow::DragHook& Hook()
{
    static CLibraryWindow::DragHook hook;
    return hook;
}
} // namespace

// ---- the result list ---------------------------------------------------------

CLibraryResultView::CLibraryResultView(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
}

QSize CLibraryResultView::sizeHint() const
{
    int nWidth = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = CLibraryModel::kStar; c <= CLibraryModel::kFile; ++c)
        nWidth += columnWidth(c);
    return {nWidth, QTableView::sizeHint().height()};
}

bool CLibraryResultView::event(QEvent* e)
{
    // Ctrl+C here copies the result, not the active list window's row.
    if (e->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy)) {
        e->accept();
        return true;
    }
    return QTableView::event(e);
}

void CLibraryResultView::keyPressEvent(QKeyEvent* e)
{
    const int nRow = currentIndex().row();
    if (e->matches(QKeySequence::Copy)) {
        if (nRow >= 0)
            emit copyRequested(nRow);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Asterisk:
        if (nRow >= 0)
            emit rowPressed(nRow, CLibraryModel::kStar);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (nRow >= 0)
            emit openRequested(nRow);
        return;
    default: break;
    }
    QTableView::keyPressEvent(e);
    if (currentIndex().row() != nRow && currentIndex().row() >= 0)
        emit keyMoved(currentIndex().row());
}

void CLibraryResultView::mousePressEvent(QMouseEvent* e)
{
    QTableView::mousePressEvent(e);
    const QModelIndex i = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && i.isValid())
        emit rowPressed(i.row(), i.column());
}

void CLibraryResultView::startDrag(Qt::DropActions)
{
    if (currentIndex().isValid())
        emit dragRequested(currentIndex().row());
}

// ---- the window --------------------------------------------------------------

CLibraryWindow::CLibraryWindow(QWidget* parent) : QDockWidget(Q(res::kLibraryTitle), parent)
{
    setObjectName(QStringLiteral("LibraryWindow"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    BuildWidgets();
}

CLibraryWindow::~CLibraryWindow() = default;

CLibraryWindow::DragHook CLibraryWindow::SetDragHook(DragHook hook)
{
    DragHook previous = Hook();
    Hook() = std::move(hook);
    return previous;
}

void CLibraryWindow::BuildWidgets()
{
    auto* pBody = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pBody);
    pLayout->setContentsMargins(4, 4, 4, 4);

    m_pSearch = new QLineEdit(pBody);
    m_pSearch->setPlaceholderText(Q(res::kLibrarySearchHint));
    m_pSearch->setClearButtonEnabled(true);
    pLayout->addWidget(m_pSearch);

    auto* pFilters = new QHBoxLayout;
    m_pKind = new QComboBox(pBody);
    m_pKind->addItem(Q(res::kLibraryAllKinds));
    for (const CKindWindow& w : KindWindows())
        m_pKind->addItem(KindDisplayName(w.pKind));
    m_pTag = new QComboBox(pBody);
    m_pStarred = new QCheckBox(Q(res::kLibraryStarredOnly), pBody);
    pFilters->addWidget(m_pKind);
    pFilters->addWidget(m_pTag, 1);
    pFilters->addWidget(m_pStarred);
    pLayout->addLayout(pFilters);

    m_pResults = new CLibraryResultView(pBody);
    m_pResults->setModel(&m_model);
    m_pResults->horizontalHeader()->setSectionResizeMode(CLibraryModel::kName, QHeaderView::Interactive);
    m_pResults->setColumnWidth(CLibraryModel::kName, 140);
    m_pResults->setColumnWidth(CLibraryModel::kKind, 90);
    m_pResults->setColumnWidth(CLibraryModel::kLabel, 80);
    m_pResults->setColumnWidth(CLibraryModel::kFile, 110);
    m_pResults->setColumnWidth(CLibraryModel::kStar, 28);
    pLayout->addWidget(m_pResults, 1);

    auto* pTags = new QHBoxLayout;
    pTags->addWidget(new QLabel(Q(res::kLibraryTagsLabel), pBody));
    m_pTagsEdit = new QLineEdit(pBody);
    m_pTagsEdit->setEnabled(false);
    pTags->addWidget(m_pTagsEdit, 1);
    pLayout->addLayout(pTags);

    m_pNote = new QLabel(pBody);
    m_pNote->setWordWrap(true);
    m_pNote->hide();
    pLayout->addWidget(m_pNote);
    setWidget(pBody);

    connect(m_pSearch, &QLineEdit::textChanged, this, [this] { ApplyFilters(); });
    connect(m_pKind, &QComboBox::currentIndexChanged, this, [this] { ApplyFilters(); });
    connect(m_pTag, &QComboBox::currentIndexChanged, this, [this] { ApplyFilters(); });
    connect(m_pStarred, &QCheckBox::toggled, this, [this] { ApplyFilters(); });
    connect(m_pSearch, &QLineEdit::returnPressed, this, [this] {
        if (m_model.rowCount() > 0) {
            m_pResults->setFocus();
            m_pResults->setCurrentIndex(m_model.index(0, CLibraryModel::kName));
        }
    });
    m_pSearch->installEventFilter(this);

    connect(m_pResults, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { OpenRow(i.row()); });
    connect(m_pResults, &CLibraryResultView::rowPressed, this, [this](int nRow, int nColumn) {
        if (nColumn == CLibraryModel::kStar)
            ToggleStar(nRow);
        else
            AuditionRow(nRow);
    });
    connect(m_pResults, &CLibraryResultView::keyMoved, this, [this](int nRow) { AuditionRow(nRow); });
    connect(m_pResults, &CLibraryResultView::openRequested, this, [this](int nRow) { OpenRow(nRow); });
    connect(m_pResults, &CLibraryResultView::copyRequested, this, [this](int nRow) { CopyRow(nRow); });
    connect(m_pResults, &CLibraryResultView::dragRequested, this, [this](int nRow) { DragRow(nRow); });
    connect(m_pResults->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& i) { ShowTagsOf(i.row()); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] { ShowTagsOf(-1); });
    connect(m_pTagsEdit, &QLineEdit::editingFinished, this,
            [this] { SetTags(m_pResults->currentIndex().row(), m_pTagsEdit->text()); });
}

bool CLibraryWindow::eventFilter(QObject* pWatched, QEvent* e)
{
    // Down from the search field moves into the results.
    if (pWatched == m_pSearch && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Down && m_model.rowCount() > 0) {
        m_pResults->setFocus();
        if (!m_pResults->currentIndex().isValid())
            m_pResults->setCurrentIndex(m_model.index(0, CLibraryModel::kName));
        return true;
    }
    return QDockWidget::eventFilter(pWatched, e);
}

void CLibraryWindow::SetIndex(CLibraryIndex* pIndex)
{
    m_pIndex = pIndex;
    FillTags();
    m_model.SetIndex(pIndex);
    const bool bNoFolders = pIndex && pIndex->Folders().empty();
    m_pNote->setText(Q(res::kLibraryNoFolders));
    m_pNote->setVisible(bNoFolders);
}

void CLibraryWindow::Reload()
{
    FillTags();
    m_model.Reload();
    m_pNote->setVisible(m_pIndex && m_pIndex->Folders().empty());
}

void CLibraryWindow::FocusSearch()
{
    show();
    raise();
    m_pSearch->setFocus(Qt::ShortcutFocusReason);
    m_pSearch->selectAll();
}

void CLibraryWindow::FillTags()
{
    const QString strCurrent = m_pTag->currentIndex() > 0 ? m_pTag->currentText() : QString();
    const QSignalBlocker block(m_pTag);
    m_pTag->clear();
    m_pTag->addItem(Q(res::kLibraryAnyTag));
    if (m_pIndex)
        for (const std::string& tag : m_pIndex->AllTags())
            m_pTag->addItem(QString::fromStdString(tag));
    const int nAt = strCurrent.isEmpty() ? 0 : m_pTag->findText(strCurrent);
    m_pTag->setCurrentIndex(std::max(0, nAt));
}

void CLibraryWindow::ApplyFilters()
{
    CLibraryQuery q;
    q.strText = m_pSearch->text().trimmed().toStdString();
    const int nKind = m_pKind->currentIndex() - 1;
    if (nKind >= 0 && nKind < static_cast<int>(KindWindows().size()))
        q.pKind = KindWindows()[static_cast<size_t>(nKind)].pKind;
    if (m_pTag->currentIndex() > 0)
        q.strTag = m_pTag->currentText().toStdString();
    q.bStarredOnly = m_pStarred->isChecked();
    m_model.SetQuery(q);
}

std::optional<std::vector<uint8_t>> CLibraryWindow::ReadEntry(const CLibraryEntry& e)
{
    if (!m_pIndex)
        return std::nullopt;
    std::string strError;
    std::optional<std::vector<uint8_t>> bytes = m_pIndex->EntryBytes(e, strError);
    if (!bytes)
        AfxMessageBox(strError, MB_OK);
    return bytes;
}

void CLibraryWindow::OpenRow(int nRow)
{
    if (const CLibraryEntry* e = m_model.Entry(nRow); e && m_onOpen)
        m_onOpen(*e);
}

void CLibraryWindow::AuditionRow(int nRow)
{
    const CLibraryEntry* e = m_model.Entry(nRow);
    if (!e || !e->pKind || !e->pKind->HasAudition() || !IsSendDataOn() || m_audition.IsSending())
        return;
    if (const std::optional<std::vector<uint8_t>> bytes = ReadEntry(*e))
        m_audition.Start(*e->pKind, *bytes);
}

QMimeData* CLibraryWindow::RowMimeData(int nRow)
{
    const CLibraryEntry* e = m_model.Entry(nRow);
    const std::optional<std::vector<uint8_t>> bytes = e && e->pKind ? ReadEntry(*e) : std::nullopt;
    // A patch inside a performance goes as a patch of a bank.
    return bytes ? MakeEntryMimeData(*e->pKind, {{0, e->nPart >= 0 ? 0 : e->nEntry, *bytes}}) : nullptr;
}

bool CLibraryWindow::CopyRow(int nRow)
{
    if (!CEntryClip::Get().KeepMessages(RowMimeData(nRow)))
        return false;
    // As Edit > Copy in a list window: a Shift-click pick-up drops no more.
    CCopyBuffer::Get().Empty();
    return true;
}

void CLibraryWindow::DragRow(int nRow)
{
    // A list window takes the messages as it takes entries dragged from
    // another window (or refuses them there).
    QMimeData* pData = RowMimeData(nRow);
    if (!pData)
        return;
    if (Hook()) {
        Hook()(*pData);
        delete pData;
        return;
    }
    auto* pDrag = new QDrag(m_pResults);
    pDrag->setMimeData(pData);
    pDrag->exec(Qt::CopyAction);
}

void CLibraryWindow::ToggleStar(int nRow)
{
    const CLibraryEntry* e = m_model.Entry(nRow);
    if (!e || !m_pIndex)
        return;
    const bool bStarred = !e->bStarred;
    std::string error;
    if (!m_pIndex->SetStarred(e->strSound, bStarred, error)) {
        AfxMessageBox(error, MB_OK); // the star stays as it was
        return;
    }
    m_model.ShowStarred(e->strSound, bStarred);
}

void CLibraryWindow::ShowTagsOf(int nRow)
{
    const CLibraryEntry* e = m_model.Entry(nRow);
    m_pTagsEdit->setEnabled(e && m_pIndex);
    QStringList tags;
    if (e && m_pIndex)
        for (const std::string& tag : m_pIndex->Tags(e->strSound))
            tags << QString::fromStdString(tag);
    m_pTagsEdit->setText(tags.join(QStringLiteral(", ")));
}

void CLibraryWindow::SetTags(int nRow, const QString& strTags)
{
    const CLibraryEntry* e = m_model.Entry(nRow);
    if (!e || !m_pIndex)
        return;
    std::set<std::string> wanted;
    for (const QString& tag : strTags.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!tag.trimmed().isEmpty())
            wanted.insert(tag.trimmed().toStdString());
    const std::vector<std::string> had = m_pIndex->Tags(e->strSound);
    bool bChanged = false;
    std::string error;
    for (const std::string& tag : had)
        if (!wanted.count(tag) && error.empty())
            bChanged |= m_pIndex->RemoveTag(e->strSound, tag, error);
    for (const std::string& tag : wanted)
        if (std::find(had.begin(), had.end(), tag) == had.end() && error.empty())
            bChanged |= m_pIndex->AddTag(e->strSound, tag, error);
    if (!error.empty()) {
        AfxMessageBox(error, MB_OK); // one failure, one message; the field shows what was kept
        ShowTagsOf(nRow);
    }
    if (bChanged)
        FillTags();
}

} // namespace vantorel
