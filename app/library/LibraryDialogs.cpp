#include "app/library/LibraryDialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/AppText.h"
#include "app/library/LibraryModel.h"
#include "framework/core/FileNames.h"
#include "framework/core/MessageBox.h"
#include "library/LibraryIndex.h"
#include "res/strings/librarywindow.h"

namespace vantorel {

CLibraryFoldersDlg::CLibraryFoldersDlg(CLibraryIndex& index, const std::vector<std::string>& offered,
                                       QWidget* parent)
    : QDialog(parent), m_index(index), m_offered(offered)
{
    setWindowTitle(Q(res::kLibraryFoldersCaption));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(new QLabel(Q(res::kLibraryFoldersLabel), this));
    m_pFolders = new QListWidget(this);
    pLayout->addWidget(m_pFolders, 2);
    auto* pRow = new QHBoxLayout;
    auto* pAdd = new QPushButton(Q(res::kLibraryAddFolder), this);
    auto* pRemove = new QPushButton(Q(res::kLibraryRemoveFolder), this);
    pRow->addWidget(pAdd);
    pRow->addWidget(pRemove);
    pRow->addStretch(1);
    pLayout->addLayout(pRow);
    pLayout->addWidget(new QLabel(Q(res::kLibraryOfferedLabel), this));
    m_pOffered = new QListWidget(this);
    m_pOffered->setSelectionMode(QAbstractItemView::ExtendedSelection);
    pLayout->addWidget(m_pOffered, 1);
    auto* pAddOffered = new QPushButton(Q(res::kLibraryAddOffered), this);
    pLayout->addWidget(pAddOffered, 0, Qt::AlignLeft);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    pLayout->addWidget(pButtons);
    resize(520, 420);

    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(pAdd, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, Q(res::kLibraryChooseFolder));
        if (!dir.isEmpty())
            Add(EncodeFileName(dir));
    });
    connect(pRemove, &QPushButton::clicked, this, [this] {
        for (QListWidgetItem* item : m_pFolders->selectedItems())
            m_bChanged |= m_index.RemoveFolder(EncodeFileName(item->text()));
        Fill();
    });
    connect(pAddOffered, &QPushButton::clicked, this, [this] {
        QList<QListWidgetItem*> items = m_pOffered->selectedItems();
        if (items.isEmpty())
            for (int i = 0; i < m_pOffered->count(); ++i)
                items << m_pOffered->item(i);
        for (QListWidgetItem* item : items)
            Add(EncodeFileName(item->text()));
    });
    Fill();
}

void CLibraryFoldersDlg::Add(const std::string& dir)
{
    std::string strError;
    if (m_index.AddFolder(dir, strError))
        m_bChanged = true;
    else if (!strError.empty())
        AfxMessageBox(strError, MB_OK);
    Fill();
}

void CLibraryFoldersDlg::Fill()
{
    const std::vector<std::string> folders = m_index.Folders();
    m_pFolders->clear();
    for (const std::string& dir : folders)
        m_pFolders->addItem(DecodeFileName(dir));
    m_pOffered->clear();
    for (const std::string& dir : m_offered)
        if (std::find(folders.begin(), folders.end(), dir) == folders.end())
            m_pOffered->addItem(DecodeFileName(dir));
}

namespace {
// A read-only list in a dialog with a Close button.
QDialog* MakeListDialog(const char* szCaption, QWidget* pList, QWidget* parent)
{
    auto* pDlg = new QDialog(parent);
    pDlg->setAttribute(Qt::WA_DeleteOnClose);
    pDlg->setWindowTitle(Q(szCaption));
    auto* pLayout = new QVBoxLayout(pDlg);
    pList->setParent(pDlg);
    pLayout->addWidget(pList);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, pDlg);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, pDlg, &QDialog::accept);
    pLayout->addWidget(pButtons);
    pDlg->resize(640, 420);
    return pDlg;
}
} // namespace

void ShowLibraryProblems(const CLibraryIndex& index, QWidget* parent)
{
    const std::vector<CLibraryProblem> problems = index.Problems();
    if (problems.empty()) {
        AfxMessageBox(res::kLibraryNoProblems, MB_OK);
        return;
    }
    auto* pTree = new QTreeWidget;
    pTree->setRootIsDecorated(false);
    pTree->setHeaderLabels({Q(res::kLibraryColumnFile), Q(res::kLibraryColumnReason)});
    for (const CLibraryProblem& p : problems)
        pTree->addTopLevelItem(
            new QTreeWidgetItem({DecodeFileName(p.strFile), QString::fromStdString(p.strReason)}));
    pTree->resizeColumnToContents(0);
    MakeListDialog(res::kLibraryProblemsCaption, pTree, parent)->show();
}

void ShowLibraryDuplicates(const CLibraryIndex& index, QWidget* parent)
{
    const std::vector<std::vector<CLibraryEntry>> groups = index.Duplicates();
    if (groups.empty()) {
        AfxMessageBox(res::kLibraryNoDuplicates, MB_OK);
        return;
    }
    auto* pTree = new QTreeWidget;
    pTree->setHeaderLabels({Q(res::kLibraryColumnName), Q(res::kLibraryColumnKind),
                            Q(res::kLibraryColumnLabel), Q(res::kLibraryColumnFile)});
    for (const std::vector<CLibraryEntry>& group : groups) {
        if (group.empty())
            continue;
        auto* pGroup = new QTreeWidgetItem({QString::fromLatin1(res::kLibraryDuplicateGroup)
                                                .arg(Latin1(group.front().strName))
                                                .arg(group.size()),
                                            KindDisplayName(group.front().pKind)});
        for (const CLibraryEntry& e : group)
            pGroup->addChild(new QTreeWidgetItem({Latin1(e.strName), KindDisplayName(e.pKind),
                                                  Latin1(e.strLabel), DecodeFileName(e.strFile)}));
        pTree->addTopLevelItem(pGroup);
    }
    pTree->expandAll();
    pTree->resizeColumnToContents(0);
    MakeListDialog(res::kLibraryDuplicatesCaption, pTree, parent)->show();
}

} // namespace vantorel
