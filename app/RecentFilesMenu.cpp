#include "app/RecentFilesMenu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>

#include "framework/core/FileNames.h"
#include "framework/core/Settings.h"
#include "framework/gui/DocManager.h"

namespace vantorel {

namespace {
// Longer paths keep their start and their file name, with "..." between.
constexpr int kShownPathLength = 60;

QString ShownPath(const QString& path)
{
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && home != QStringLiteral("/") && shown.startsWith(home + QDir::separator()))
        shown = QStringLiteral("~") + shown.mid(home.size());
    if (shown.size() > kShownPathLength) {
        const QString name = QFileInfo(path).fileName();
        const int keep = std::max(0, int(kShownPathLength - name.size() - 4));
        shown = shown.left(keep) + QStringLiteral("...") + QDir::separator() + name;
    }
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

CRecentFilesMenu::CRecentFilesMenu(CDocManager& manager, QObject* parent)
    : QObject(parent), m_manager(manager), m_pSeparator(new QAction(this))
{
    m_pSeparator->setSeparator(true);
    for (int i = 0; i < CSettings::kRecentFileCount; ++i) {
        auto* pItem = new QAction(this);
        pItem->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        connect(pItem, &QAction::triggered, this, [this, i] {
            const std::vector<std::string>& files = m_manager.GetRecentFiles();
            if (size_t(i) < files.size())
                m_manager.OpenDocumentFile(DecodeFileName(files[size_t(i)]));
        });
        m_items.push_back(pItem);
    }
}

void CRecentFilesMenu::AddTo(QMenu* pMenu, QAction* pBefore)
{
    connect(pMenu, &QMenu::aboutToShow, this, [this, pMenu, pBefore] { Refresh(pMenu, pBefore); });
}

void CRecentFilesMenu::Refresh(QMenu* pMenu, QAction* pBefore)
{
    for (QAction* pItem : m_items)
        pMenu->removeAction(pItem);
    pMenu->removeAction(m_pSeparator);
    const std::vector<std::string>& files = m_manager.GetRecentFiles();
    for (size_t i = 0; i < m_items.size() && i < files.size(); ++i) {
        m_items[i]->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(ShownPath(DecodeFileName(files[i]))));
        pMenu->insertAction(pBefore, m_items[i]);
    }
    if (!files.empty())
        pMenu->insertAction(pBefore, m_pSeparator);
}

} // namespace vantorel
