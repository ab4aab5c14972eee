#pragma once
// The recent-file list in the File menus: "&1" to "&4" above Exit, most
// recent first, each opening its file as File > Open does. The items are put
// in as a File menu opens, from the list as it is then; with no file in the
// list the menu stays as it was.
#include <QObject>

#include <vector>

class QAction;
class QMenu;

namespace vantorel {

class CDocManager;

class CRecentFilesMenu : public QObject {
    Q_OBJECT
public:
    CRecentFilesMenu(CDocManager& manager, QObject* parent);

    // The items go into menu above before whenever it opens.
    void AddTo(QMenu* pMenu, QAction* pBefore);
    // Puts the items of the list as it stands now into menu.
    void Refresh(QMenu* pMenu, QAction* pBefore);

private:
    CDocManager& m_manager;
    std::vector<QAction*> m_items;
    QAction* m_pSeparator;
};

} // namespace vantorel
