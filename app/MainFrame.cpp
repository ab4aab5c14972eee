#include "app/MainFrame.h"

#include <QAction>
#include <QIcon>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

#include "app/AppText.h"
#include "app/RecentFilesMenu.h"
#include "app/Resource.h"
#include "app/SetupDialogs.h"
#include "app/library/Library.h"
#include "framework/core/MessageBox.h"
#include "framework/gui/ChildFrame.h"
#include "framework/core/Settings.h"
#include "midi/DeviceNames.h"
#include "res/Images.h"
#include "res/Strings.h"
#include "res/strings/app.h"
#include "res/strings/compare.h"
#include "res/strings/librarywindow.h"
#include "transfer/FailureBoxes.h"
#include "transfer/StopPreview.h"
#include "views/CopyBuffer.h"
#include "app/DocKinds.h"
#include "app/CompareCommands.h"
#include "views/EditCommands.h"
#include "views/ProgramSwitches.h"
#include "res/strings/views.h"

namespace vantorel {

namespace {
constexpr uint8_t kNoteOn = 0x90;  // channel 1
constexpr uint8_t kNoteOff = 0x80; // channel 1

// A MIDI data byte: a value from the profile outside 0 to 127 would otherwise
// turn into a status byte on the wire.
uint8_t DataByte(int n)
{
    return uint8_t(std::clamp(n, 0, 127));
}

// The share of the screen the main window takes at the first start.
constexpr double kFirstStartShare = 0.9;
} // namespace

namespace {
// A toolbar button: its command and its image drawn for a screen scale;
// command 0 is a separator.
struct CButton {
    int nId;
    std::function<QImage(qreal)> image;
};

std::vector<CButton> MakeToolbar()
{
    using res::EButtonImage;
    const auto own = [](EButtonImage b) { return [b](qreal s) { return res::ToolbarImage(b, s); }; };
    std::vector<CButton> buttons{{ID_FILE_NEW, own(EButtonImage::New)},
                                 {ID_FILE_OPEN, own(EButtonImage::Open)},
                                 {ID_FILE_SAVE, own(EButtonImage::Save)},
                                 {0, {}}};
    // Get and Send of each kind.
    for (const CKindWindow& w : KindWindows()) {
        for (const bool bGet : {true, false})
            buttons.push_back({bGet ? w.get.nId : w.send.nId, [bGet, &w](qreal s) {
                                   return res::TransferButtonImage(bGet, w.szButtonLabel, w.colour, s);
                               }});
        buttons.push_back({0, {}});
    }
    buttons.insert(buttons.end(), {{ID_PREVIEW, own(EButtonImage::Preview)},
                                   {0, {}},
                                   {ID_CLEAR_COPY_BUFFER, own(EButtonImage::ClearCopyBuffer)},
                                   {0, {}},
                                   {ID_LIBRARY_WINDOW, own(EButtonImage::Library)},
                                   {0, {}},
                                   {ID_APP_ABOUT, own(EButtonImage::About)}});
    return buttons;
}

// The image at every scale a screen is likely to have; the icon picks the
// one for the screen it is shown on.
QIcon ScaledIcon(const std::function<QImage(qreal)>& image)
{
    QIcon icon;
    for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0})
        icon.addPixmap(QPixmap::fromImage(image(scale)));
    return icon;
}

const std::vector<CButton>& Toolbar()
{
    static const std::vector<CButton> buttons = MakeToolbar();
    return buttons;
}
} // namespace

CMainFrame::CMainFrame(CDocManager* pDocManager, QWidget* parent) : CMDIFrameWnd(pDocManager, parent)
{
    setWindowIcon(QIcon(QPixmap::fromImage(res::IconImage(res::kIconApp))));
    SetTitleBase(Q(res::kMainTitle));
    setAcceptDrops(true);
    m_pLibrary = std::make_unique<CLibrary>(*this, *pDocManager);
    m_pLibrary->SetOpenFilesHandler([this](const QStringList& paths) {
        if (m_onDrop)
            m_onDrop(paths);
    });
    // The preview note has no sequence to stop: a failing port is one box.
    m_previewPort.SetErrorHandler(ShowPortErrorBox);
    BuildActions();
    BuildStatusBar();
    BuildToolBar();
    BuildMenus();
    SetControlBars(m_pToolBar, statusBar());
    RestorePlacement();

    CCopyBuffer::Get().Empty();
    CCopyBuffer::Get().SetCursorHost(this);
    InstallCompareWithSelected(*this);
    m_bPreviewSounding = 0;

    SetSendDataSwitch(CSettings::ReadSendData() ? 1 : 0);
    // The Preview values are taken as they are; Preview keeps them in range.
    const CSettings::Preview preview = CSettings::ReadPreview();
    m_nPreviewNote = preview.nNote;
    m_nPreviewVelocity = preview.nVelocity;
    m_nPreviewToneLen = preview.nToneLen;

    m_previousStopPreview = SetStopPreviewHandler([this] { StopPreview(); });
    UpdateAllCmdUI();
}

CMainFrame::~CMainFrame()
{
    m_pLibrary.reset(); // a running scan ends first
    SavePlacement();
    CSettings::WriteSendData(GetSendDataSwitch() != 0);
    CSettings::WritePreview({m_nPreviewNote, m_nPreviewVelocity, m_nPreviewToneLen});
    SetStopPreviewHandler(std::move(m_previousStopPreview));
    CTimerService::Get().KillAllTimers(this);
    CCopyBuffer::Get().SetCursorHost(nullptr);
    UninstallCompareWithSelected();
    // The preview port resets and closes itself when it goes.
}

void CMainFrame::RestorePlacement()
{
    const CSettings::WindowPlacement stored = CSettings::ReadWindowPlacement();
    const int w = std::max(100, stored.nWidth);
    const int h = std::max(100, stored.nHeight);
    // The inside of the window, as geometry() gives it back at the end. The
    // first time, with no place stored, it takes most of the screen, centred.
    if (stored.bHasPosition) {
        setGeometry(stored.nLeft, stored.nTop, w, h);
    } else if (const QScreen* scr = QGuiApplication::primaryScreen()) {
        const QRect avail = scr->availableGeometry();
        QRect first(QPoint(), avail.size() * kFirstStartShare);
        first.moveCenter(avail.center());
        setGeometry(first);
    } else {
        resize(w, h);
    }
    KeepOnScreen();
    if (stored.bMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::SavePlacement() const
{
    if (!m_bShown)
        return; // a window never shown has no place worth keeping
    const QRect r = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    if (!r.isValid())
        return;
    CSettings::WindowPlacement placement;
    placement.bHasPosition = true;
    placement.nLeft = r.x();
    placement.nTop = r.y();
    placement.nWidth = r.width();
    placement.nHeight = r.height();
    placement.bMaximized = isMaximized();
    CSettings::WriteWindowPlacement(placement);
}

void CMainFrame::KeepOnScreen()
{
    if (isMaximized() || isFullScreen())
        return;
    QScreen* scr = QGuiApplication::screenAt(geometry().center());
    if (!scr)
        scr = screen();
    if (!scr)
        return;
    const QRect avail = scr->availableGeometry();
    // The title bar and borders count: they are known once the window exists.
    const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    const QRect inner = avail.marginsRemoved(frame);
    const QSize size = this->size().boundedTo(inner.size());
    if (size != this->size())
        resize(size);
    const int x = std::clamp(geometry().x(), inner.left(), inner.right() + 1 - size.width());
    const int y = std::clamp(geometry().y(), inner.top(), inner.bottom() + 1 - size.height());
    if (QPoint(x, y) != geometry().topLeft())
        setGeometry(QRect(QPoint(x, y), size));
}

void CMainFrame::showEvent(QShowEvent* e)
{
    CMDIFrameWnd::showEvent(e);
    if (!m_bShown && !e->spontaneous()) {
        m_bShown = true;
        KeepOnScreen();
    }
}

namespace {
QStringList LocalFiles(const QMimeData* pData)
{
    QStringList paths;
    if (pData)
        for (const QUrl& url : pData->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    return paths;
}
} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* e)
{
    if (m_onDrop && !LocalFiles(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* e)
{
    const QStringList paths = LocalFiles(e->mimeData());
    if (!m_onDrop || paths.isEmpty())
        return;
    e->acceptProposedAction();
    // After the drop has ended: opening may ask questions or show messages.
    QMetaObject::invokeMethod(
        this, [this, paths] { m_onDrop(paths); }, Qt::QueuedConnection);
}

void CMainFrame::BuildActions()
{
    struct Command {
        int nId;
        const char* szText;
        const char* szPrompt;
        QKeySequence key;
    };
    const Command commands[] = {
        {ID_FILE_NEW, res::kItemNew, res::kPromptNew, QKeySequence(QKeySequence::New)},
        {ID_FILE_OPEN, res::kItemOpen, res::kPromptOpen, QKeySequence(QKeySequence::Open)},
        {ID_FILE_CLOSE, res::kItemClose, res::kPromptClose, {}},
        {ID_FILE_SAVE, res::kItemSave, res::kPromptSave, QKeySequence(QKeySequence::Save)},
        {ID_FILE_SAVE_AS, res::kItemSaveAs, res::kPromptSaveAs, {}},
        {ID_APP_EXIT, res::kItemExit, res::kPromptExit, {}},
        {ID_VIEW_TOOLBAR, res::kItemToolBar, res::kPromptToolBar, {}},
        {ID_VIEW_STATUS_BAR, res::kItemStatusBar, res::kPromptStatusBar, {}},
        {ID_SEND_DATA, res::kItemSendData, res::kPromptSendData, {}},
        {ID_MIDI_SETUP, res::kItemMidiSetup, res::kPromptMidiSetup, {}},
        {ID_PREVIEW_SETUP, res::kItemPreviewSetup, res::kPromptPreviewSetup, {}},
        {ID_WINDOW_CASCADE, res::kItemCascade, res::kPromptCascade, {}},
        {ID_WINDOW_TILE_VERT, res::kItemTile, res::kPromptTile, {}},
        {ID_WINDOW_ARRANGE, res::kItemArrangeIcons, res::kPromptArrangeIcons, {}},
        {ID_APP_ABOUT, res::kItemAbout, res::kPromptAbout, {}},
        {ID_PREVIEW, res::kItemPreview, res::kPromptPreview, {}},
        {ID_CLEAR_COPY_BUFFER, res::kItemClearCopyBuffer, res::kPromptClearCopyBuffer, {}},
        {ID_IMPORT_SYSEX, res::kItemImportSysEx, res::kPromptImportSysEx, {}},
        {ID_EXPORT_SYSEX, res::kItemExportSysEx, res::kPromptExportSysEx, {}},
        {ID_RECEIVE_DUMP, res::kItemReceiveDump, res::kPromptReceiveDump, {}},
        {ID_FILE_SAVE_ALL, res::kItemSaveAll, res::kPromptSaveAll,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {ID_GET_EVERYTHING, res::kItemGetEverything, res::kPromptGetEverything,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)},
        {ID_BACK_UP_TO_FOLDER, res::kItemBackUp, res::kPromptBackUp,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B)},
        {ID_HELP_USER_GUIDE, res::kItemUserGuide, res::kPromptUserGuide, {}},
        {ID_FILE_COMPARE, res::kItemCompare, res::kPromptCompare, {}},
    };
    for (const Command& c : commands)
        AddCommandAction(c.nId, Q(c.szText), Q(c.szPrompt), c.key);
    // Each kind's Get and Send of a whole bank, handled by its window.
    for (const CKindWindow& w : KindWindows())
        for (const CKindCommand& c : {w.get, w.send})
            AddCommandAction(c.nId, Q(c.szItem), Q(c.szPrompt));
    BuildEditActions();
    BuildLibraryActions();

    OnCommand(ID_MIDI_SETUP, [this] { OnMidiSetup(); });
    OnCommand(ID_PREVIEW_SETUP, [this] { OnPreviewSetup(); });
    OnCommand(ID_PREVIEW, [this] { OnPreview(); });
    OnCommand(
        ID_SEND_DATA, [] { ToggleSendDataSwitch(); },
        [](CCmdUI& ui) { ui.SetCheck(GetSendDataSwitch() != 0); });
    OnCommand(ID_CLEAR_COPY_BUFFER, [] { CCopyBuffer::Get().Clear(); });
    OnCommand(
        ID_FILE_COMPARE, [this] { OnFileCompare(*this); },
        [this](CCmdUI& ui) { ui.Enable(CanCompareActive(*this)); });
}

void CMainFrame::BuildEditActions()
{
    using namespace edit_commands;
    AddCommandAction(ID_EDIT_UNDO, Q(res::kItemUndo), Q(res::kPromptUndo),
                     QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = AddCommandAction(ID_EDIT_REDO, Q(res::kItemRedo), Q(res::kPromptRedo));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo->setShortcutContext(Qt::ApplicationShortcut);
    // These act on the selected row of the active list window only; the keys
    // stay with a name dialog's text field while one is open.
    const struct {
        int nId;
        const char* szText;
        const char* szPrompt;
        QKeySequence key;
    } rowCommands[] = {
        {ID_EDIT_COPY, res::kItemCopy, res::kPromptCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {ID_EDIT_PASTE, res::kItemPaste, res::kPromptPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {ID_EDIT_RENAME, res::kItemRename, res::kPromptRename, QKeySequence(Qt::Key_F2)},
        {ID_EDIT_CLEAR, res::kItemInitialize, res::kPromptInitialize, QKeySequence(Qt::Key_Delete)},
    };
    for (const auto& c : rowCommands)
        AddCommandAction(c.nId, Q(c.szText), Q(c.szPrompt), c.key)->setShortcutContext(Qt::WindowShortcut);
}

void CMainFrame::BuildLibraryActions()
{
    AddCommandAction(ID_LIBRARY_WINDOW, Q(res::kItemLibraryWindow), Q(res::kPromptLibraryWindow));
    AddCommandAction(ID_LIBRARY_FIND, Q(res::kItemLibraryFind), Q(res::kPromptLibraryFind),
                     QKeySequence(QKeySequence::Find));
    AddCommandAction(ID_LIBRARY_FOLDERS, Q(res::kItemLibraryFolders), Q(res::kPromptLibraryFolders));
    AddCommandAction(ID_LIBRARY_SCAN, Q(res::kItemLibraryScan), Q(res::kPromptLibraryScan));
    AddCommandAction(ID_LIBRARY_STOP, Q(res::kItemLibraryStop), Q(res::kPromptLibraryStop));
    AddCommandAction(ID_LIBRARY_PROBLEMS, Q(res::kItemLibraryProblems), Q(res::kPromptLibraryProblems));
    AddCommandAction(ID_LIBRARY_DUPLICATES, Q(res::kItemLibraryDuplicates), Q(res::kPromptLibraryDuplicates));
    // The library goes before the frame's base closes the windows left open.
    const auto library = [this](void (CLibrary::*pCommand)()) {
        return [this, pCommand] {
            if (m_pLibrary)
                (m_pLibrary.get()->*pCommand)();
        };
    };
    OnCommand(ID_LIBRARY_WINDOW, library(&CLibrary::ToggleWindow),
              [this](CCmdUI& ui) { ui.SetCheck(m_pLibrary && m_pLibrary->IsWindowShown()); });
    OnCommand(ID_LIBRARY_FIND, library(&CLibrary::Find));
    OnCommand(ID_LIBRARY_FOLDERS, library(&CLibrary::ShowFolders));
    OnCommand(ID_LIBRARY_SCAN, library(&CLibrary::Scan),
              [this](CCmdUI& ui) { ui.Enable(m_pLibrary && !m_pLibrary->IsScanning()); });
    OnCommand(ID_LIBRARY_STOP, library(&CLibrary::StopScan),
              [this](CCmdUI& ui) { ui.Enable(m_pLibrary && m_pLibrary->IsScanning()); });
    OnCommand(ID_LIBRARY_PROBLEMS, library(&CLibrary::ShowProblems));
    OnCommand(ID_LIBRARY_DUPLICATES, library(&CLibrary::ShowDuplicates));
}

void CMainFrame::BuildMenus()
{
    auto menu = [this](const char* title, std::initializer_list<int> ids) {
        auto* m = new QMenu(Q(title), this);
        for (int id : ids) {
            if (id == 0)
                m->addSeparator();
            else
                m->addAction(CommandAction(id));
        }
        return m;
    };
    QMenu* fileNoDoc = menu(res::kMenuFile, {ID_FILE_NEW, ID_FILE_OPEN, 0, ID_GET_EVERYTHING, 0,
                                             ID_IMPORT_SYSEX, 0, ID_APP_EXIT});
    QMenu* fileDoc =
        menu(res::kMenuFile, {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS,
                              ID_FILE_SAVE_ALL, 0, ID_GET_EVERYTHING, ID_BACK_UP_TO_FOLDER, 0,
                              ID_IMPORT_SYSEX, ID_EXPORT_SYSEX, 0, ID_FILE_COMPARE, 0, ID_APP_EXIT});
    QMenu* setup = menu(res::kMenuSetup, {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_SEND_DATA, ID_MIDI_SETUP,
                                          ID_PREVIEW_SETUP, 0, ID_RECEIVE_DUMP});
    QMenu* window = menu(res::kMenuWindow, {ID_WINDOW_CASCADE, ID_WINDOW_TILE_VERT, ID_WINDOW_ARRANGE});
    QMenu* help = menu(res::kMenuHelp, {ID_HELP_USER_GUIDE, 0, ID_APP_ABOUT});
    QMenu* library =
        menu(res::kMenuLibrary, {ID_LIBRARY_WINDOW, ID_LIBRARY_FIND, 0, ID_LIBRARY_FOLDERS, ID_LIBRARY_SCAN,
                                 ID_LIBRARY_STOP, 0, ID_LIBRARY_PROBLEMS, ID_LIBRARY_DUPLICATES});
    using namespace edit_commands;
    QMenu* edit = menu(res::kMenuEdit, {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                                        ID_EDIT_RENAME, ID_EDIT_CLEAR});
    SetWindowMenu(window);
    if (GetDocManager()) {
        auto* pRecent = new CRecentFilesMenu(*GetDocManager(), this);
        for (QMenu* pFile : {fileNoDoc, fileDoc})
            pRecent->AddTo(pFile, CommandAction(ID_APP_EXIT));
    }

    for (const CKindWindow& w : KindWindows())
        SetMenuBarMenus(w.nResourceId, {fileDoc, edit, menu(w.szMenuTitle, {w.get.nId, w.send.nId}), setup,
                                        window, library, help});
    SetMenuBarMenus(kNoDocumentMenu, {fileNoDoc, setup, library, help});
}

void CMainFrame::BuildToolBar()
{
    m_pToolBar = new QToolBar(Q(res::kItemToolBar).remove('&'), this);
    m_pToolBar->setObjectName(QStringLiteral("ToolBar"));
    m_pToolBar->setIconSize(QSize(res::kToolbarImageWidth, res::kToolbarImageHeight));
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pToolBar->setMovable(true);
    m_pToolBar->setFloatable(true);
    for (const CButton& b : Toolbar()) {
        if (b.nId == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* a = CommandAction(b.nId);
        a->setIcon(ScaledIcon(b.image));
        a->setIconVisibleInMenu(false);
        m_pToolBar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    m_pReadyPane = new QLabel(Q(res::kReady), bar);
    bar->addWidget(m_pReadyPane, 1);
    // Qt cannot read the lock keys' state on every platform: the indicators
    // stand dimmed, as for a key that is off.
    for (const char* text : {res::kIndicatorCaps, res::kIndicatorNum, res::kIndicatorScroll}) {
        auto* pane = new QLabel(Q(text), bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(Q(text)) + 10);
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
    }
}

void CMainFrame::OnPreview()
{
    StopPreview();
    m_nMidiInDevice = ReadMidiInDevice();
    m_previewPort.UseChosenDevice();
    m_nMidiOutDevice = m_previewPort.m_wDeviceId;
    // A failed open is one box; the sequence goes on so the timer still ends it.
    m_previewPort.Open(this);
    m_nSoundingNote = m_nPreviewNote;
    m_previewPort.ShortMessage(kNoteOn, DataByte(m_nSoundingNote), DataByte(m_nPreviewVelocity));
    // A negative length would never end the note: it ends at once instead.
    CTimerService::Get().SetTimer(this, IDT_PREVIEW, std::max(0, m_nPreviewToneLen));
    m_bPreviewSounding = 1;
}

void CMainFrame::StopPreview()
{
    if (m_bPreviewSounding != 1)
        return;
    CTimerService::Get().KillTimer(this, IDT_PREVIEW);
    // The key that sounds, even if Preview Setup changed the note meanwhile.
    m_previewPort.ShortMessage(kNoteOff, DataByte(m_nSoundingNote), 0);
    m_previewPort.Close();
    m_bPreviewSounding = 0;
}

void CMainFrame::OnTimer(int nIdEvent)
{
    if (nIdEvent == IDT_PREVIEW)
        StopPreview();
}

void CMainFrame::OnMidiSetup()
{
    const CChosenDevice in = FindChosenMidiIn();
    const CChosenDevice out = FindChosenMidiOut();
    CMidiSetupDlg dlg(this);
    // A chosen device that is missing now is shown by its name, not as
    // whatever has its number.
    dlg.m_nInSelection = in.bAvailable ? in.nDevice : -1;
    dlg.m_nOutSelection = out.bAvailable ? out.nDevice : -1;
    dlg.m_strMissingIn = in.bAvailable ? std::string() : in.strName;
    dlg.m_strMissingOut = out.bAvailable ? std::string() : out.strName;
    if (dlg.DoModal() != IDOK)
        return;
    // Nothing picked keeps the choice: a device that is away stays chosen.
    WriteMidiSetupChoice(dlg.m_nInSelection, dlg.m_nOutSelection);
    m_nMidiInDevice = ReadMidiInDevice();
    m_nMidiOutDevice = ReadMidiOutDevice();
}

void CMainFrame::OnPreviewSetup()
{
    CPreviewSetupDlg dlg(this);
    dlg.m_nNoteNumber = m_nPreviewNote;
    dlg.m_nVelocity = m_nPreviewVelocity;
    dlg.m_nToneLength = m_nPreviewToneLen;
    if (dlg.DoModal() != IDOK)
        return;
    m_nPreviewNote = dlg.m_nNoteNumber;
    m_nPreviewVelocity = dlg.m_nVelocity;
    m_nPreviewToneLen = dlg.m_nToneLength;
}

} // namespace vantorel
