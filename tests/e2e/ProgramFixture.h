#pragma once
// The whole program as a user runs it, over a private JACK server and
// vantorel-sim: the application object started the way main() starts it (the
// Qt timer service, the default MIDI service with its JACK backend, the five
// document kinds), the simulator's ports chosen in MIDI Setup, and every
// dialog, file dialog, pop-up menu and message box answered the way a user
// answers it. Transfers run on real time; each has a bounded wait, after
// which the test presses Cancel and fails.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainFrame.h"
#include "app/Resource.h"
#include "app/VantorelApp.h"
#include "data/FileHeader.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "data/VarEntry.h"
#include "e2e/JackRig.h"
#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "framework/core/Profile.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/DocManager.h"
#include "res/Strings.h"
#include "sim/model/SimDevice.h"
#include "transfer/CompleteDlg.h"
#include "transfer/TransferDlg.h"
#include "views/ListView.h"
#include "views/NameDlg.h"
#include "views/ProgramSwitches.h"
#include "support/GuiTestPeers.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::e2e {

// File New's list, in the order the kinds are registered.
enum class ENewKind { Patch = 0, Performance = 1, System = 2, Pattern = 3, Motion = 4 };

// The framework's "New" list dialog and its list box.
inline constexpr int kNewTypeDialogId = 30721;
inline constexpr int kNewTypeListId = 100;

// How long one transfer may take before the test gives up on it. A whole
// performance bank is 320 data sets, 100 ms apart.
inline constexpr int kTransferLimitMs = 120'000;

// One pattern or motion as a file body holds it.
struct CFileItem {
    uint8_t byValue = 0;
    uint8_t byFlag = 0;
    std::vector<uint8_t> data;
};

// Watches a document while a transfer runs: after every change the document
// announces, and every few milliseconds in between, check() looks at the
// records. A transfer that ever stores a wrong record is caught even if a
// later answer overwrites it.
class CStoreWatch : public CViewBase {
public:
    CStoreWatch(CDocument* pDoc, std::function<void()> check) : m_pDoc(pDoc), m_check(std::move(check))
    {
        m_pDoc->AddView(this);
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { m_check(); });
        m_timer.start();
    }
    ~CStoreWatch() override
    {
        m_timer.stop();
        m_pDoc->RemoveView(this);
    }
    CStoreWatch(const CStoreWatch&) = delete;
    CStoreWatch& operator=(const CStoreWatch&) = delete;
    void OnUpdate(CViewBase*, long, CObject*) override { m_check(); }

private:
    CDocument* m_pDoc;
    std::function<void()> m_check;
    QTimer m_timer;
};

// Byte-for-byte comparison of a record with the simulator's memory.
inline bool SameBytes(const uint8_t* a, const uint8_t* b, size_t n)
{
    return std::memcmp(a, b, n) == 0;
}

// Indexes of the patches that differ between a bank and a memory.
inline std::vector<int> DifferingPatches(const CPatchDoc& doc, const CSimDevice& sim)
{
    std::vector<int> diff;
    for (int i = 0; i < CPatchDoc::kPatchCount; ++i)
        if (!SameBytes(doc.m_aPatch[size_t(i)].Data(), sim.Patch(i).data(), CPatchRecord::kSize))
            diff.push_back(i);
    return diff;
}

// Public throughout: the flows shared by several kinds are free functions.
class CProgramTest : public ::testing::Test {
public:
    void SetUp() override
    {
        if (!CJackRig::JackdInstalled())
            GTEST_SKIP() << "jackd is not installed";
        ASSERT_TRUE(m_dir.isValid());
    }

    void TearDown() override
    {
        StopProgram();
        m_rig.Stop(HasFailure());
    }

    // ---- start-up ---------------------------------------------------------

    // jackd, vantorel-sim with simArgs, the program, and the simulator's
    // ports chosen in MIDI Setup; Send Data off.
    void StartAll(const QStringList& simArgs = {})
    {
        std::string error;
        ASSERT_TRUE(m_rig.StartServer(error)) << error;
        ASSERT_TRUE(m_rig.StartSim(VANTOREL_SIM_PATH, Path("sim.img"), simArgs, error)) << error;
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_NO_FATAL_FAILURE(ChooseSimulatorPorts());
        ASSERT_NO_FATAL_FAILURE(SetSendData(false));
    }

    // A fresh simulator (factory memory, the counting of faults from 1) on
    // ports of the same names.
    void RestartSim(const QStringList& simArgs)
    {
        std::string error;
        ASSERT_TRUE(m_rig.StartSim(VANTOREL_SIM_PATH, Path("sim.img"), simArgs, error)) << error;
    }

    // As main() does it: the real services, the five kinds, the main window.
    void StartProgram()
    {
        m_pApp = std::make_unique<CVantorelApp>();
        CVantorelApp::COptions options;
        options.bInstallServices = true;
        options.bRegisterKinds = true;
        options.bShowMainWindow = true;
        ASSERT_TRUE(m_pApp->InitInstance(options));
        // After the start: the program installs real message boxes.
        m_pBoxes = std::make_unique<CMessageBoxRecorder>(IDOK);
        CDialogTestPeer::SetModalHook([this](CDialog* d) { OnModal(d); });
        SetFileDialogPresenter([this](const CFileDialogRequest& r) { return OnFileDialog(r); });
        CListViewTestPeer::SetPopupHook(
            [this](const std::vector<CListView::CMenuItem>& items, const QPoint&) { return OnPopup(items); });
    }

    void StopProgram()
    {
        CDialogTestPeer::SetModalHook({});
        SetFileDialogPresenter({});
        CListViewTestPeer::SetPopupHook({});
        m_pBoxes.reset();
        m_pApp.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // MIDI Setup as a user does it: the simulator's output port as MIDI IN,
    // its input port as MIDI OUT, then OK.
    void ChooseSimulatorPorts()
    {
        const QString inName = QString::fromStdString(SimName() + ":out");
        const QString outName = QString::fromStdString(SimName() + ":in");
        int nIn = -1;
        int nOut = -1;
        m_inList.clear();
        m_outList.clear();
        m_onMidiSetup = [&](CDialog* d) {
            QListWidget* ins = d->GetListBox(IDC_MIDI_IN_LIST);
            QListWidget* outs = d->GetListBox(IDC_MIDI_OUT_LIST);
            for (int i = 0; ins && i < ins->count(); ++i) {
                m_inList << ins->item(i)->text();
                if (ins->item(i)->text() == inName)
                    nIn = i;
            }
            for (int i = 0; outs && i < outs->count(); ++i) {
                m_outList << outs->item(i)->text();
                if (outs->item(i)->text() == outName)
                    nOut = i;
            }
            if (nIn >= 0)
                ins->setCurrentRow(nIn);
            if (nOut >= 0)
                outs->setCurrentRow(nOut);
            d->ClickButton(IDOK);
        };
        Command(ID_MIDI_SETUP);
        m_onMidiSetup = nullptr;
        ASSERT_GE(nIn, 0) << "MIDI IN list: " << m_inList.join(", ").toStdString();
        ASSERT_GE(nOut, 0) << "MIDI OUT list: " << m_outList.join(", ").toStdString();
        m_nInDevice = nIn;
        m_nOutDevice = nOut;
    }

    void SetSendData(bool bOn)
    {
        if (IsSendDataOn() != bOn) {
            ASSERT_NO_FATAL_FAILURE(Command(ID_SEND_DATA));
        }
        ASSERT_EQ(IsSendDataOn(), bOn);
    }

    // ---- commands and windows ---------------------------------------------

    CMainFrame* Frame() const { return m_pApp->GetMainFrame(); }
    CDocManager& Docs() { return m_pApp->GetDocManager(); }
    const std::string& SimName() const { return m_rig.SimName(); }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // A menu or toolbar command, as a click on an enabled item runs it.
    void Command(int nId)
    {
        Frame()->UpdateAllCmdUI();
        QAction* a = Frame()->CommandAction(nId);
        ASSERT_NE(a, nullptr) << "no command " << nId;
        ASSERT_TRUE(a->isEnabled()) << "command " << nId << " is disabled";
        a->trigger();
    }

    // File New of one kind; the new document is the active one.
    template <class TDoc>
    TDoc* FileNew(ENewKind kind)
    {
        m_newKind = kind;
        const size_t nBefore = Docs().GetDocuments().size();
        Command(ID_FILE_NEW);
        if (Docs().GetDocuments().size() != nBefore + 1) {
            ADD_FAILURE() << "File New opened no document";
            return nullptr;
        }
        auto* pDoc = dynamic_cast<TDoc*>(Frame()->GetActiveDocument());
        EXPECT_NE(pDoc, nullptr) << "File New made the wrong kind";
        return pDoc;
    }

    template <class TView>
    TView* ViewOf(CDocument* pDoc)
    {
        CChildFrame* pFrame = Docs().GetFrame(pDoc);
        return pFrame ? dynamic_cast<TView*>(pFrame->GetActiveView()) : nullptr;
    }

    // Brings a document's window to the front, as a click on its frame does.
    void Activate(CDocument* pDoc)
    {
        CChildFrame* pFrame = Docs().GetFrame(pDoc);
        ASSERT_TRUE(pFrame);
        pFrame->ActivateFrame();
        QCoreApplication::processEvents();
        ASSERT_EQ(Frame()->GetActiveDocument(), pDoc);
    }

    // File Save; the Save As dialog (asked only for a document without a
    // file) is answered with path.
    void Save(CDocument* pDoc, const QString& path)
    {
        ASSERT_NO_FATAL_FAILURE(Activate(pDoc));
        m_strNextFile = path;
        m_nFileDialogs = 0;
        Command(ID_FILE_SAVE);
        m_strNextFile.clear();
        EXPECT_FALSE(pDoc->IsModified());
        EXPECT_EQ(QFileInfo(QString::fromStdString(pDoc->GetPathName())).canonicalFilePath(),
                  QFileInfo(path).canonicalFilePath());
    }

    void Close(CDocument* pDoc)
    {
        ASSERT_NO_FATAL_FAILURE(Activate(pDoc));
        Command(ID_FILE_CLOSE);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto docs = Docs().GetDocuments();
        EXPECT_EQ(std::find(docs.begin(), docs.end(), pDoc), docs.end()) << "the document is still open";
    }

    template <class TDoc>
    TDoc* Open(const QString& path)
    {
        m_strNextFile = path;
        Command(ID_FILE_OPEN);
        m_strNextFile.clear();
        auto* pDoc = dynamic_cast<TDoc*>(Frame()->GetActiveDocument());
        EXPECT_NE(pDoc, nullptr) << "File Open opened nothing of this kind";
        if (pDoc) {
            EXPECT_FALSE(pDoc->IsModified());
        }
        return pDoc;
    }

    // ---- clicks on the list windows (logical list positions) --------------

    // Scrolls so that the point is in view; returns its viewport position.
    static QPoint Show(CScrollView* view, const QPoint& pt)
    {
        const int vpW = view->viewport()->width();
        const int vpH = view->viewport()->height();
        view->ScrollToPosition(QPoint(std::max(0, pt.x() - vpW / 2), std::max(0, pt.y() - vpH / 2)));
        return pt - view->GetScrollPosition();
    }
    static void Click(CScrollView* view, const QPoint& pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, Show(view, pt));
    }
    static void ShiftClick(CScrollView* view, const QPoint& pt) { Click(view, pt, Qt::ShiftModifier); }
    // A right click answered with pop-up command nId.
    void RightClickChoose(CScrollView* view, const QPoint& pt, int nId)
    {
        m_nPopupChoice = nId;
        m_popupOffered.clear();
        QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, Show(view, pt));
        m_nPopupChoice = 0;
        EXPECT_NE(std::find(m_popupOffered.begin(), m_popupOffered.end(), nId), m_popupOffered.end())
            << "the pop-up menu did not offer " << nId;
    }

    // ---- transfers ----------------------------------------------------------

    struct CTally {
        int nDialogs;
        int nComplete;
        size_t nBoxes;
    };
    CTally Tally() const { return {m_nTransferDialogs, m_nComplete, m_pBoxes->m_texts.size()}; }

    // What a user sees of one transfer that went well: one Get or Send
    // dialog showing the chosen devices, the confirmation, "Complete!" for
    // a whole bank and nothing else.
    void ExpectTransferRan(const CTally& before, bool bGet, bool bWhole)
    {
        EXPECT_FALSE(m_bTransferTimedOut) << "the transfer did not finish in time";
        m_bTransferTimedOut = false;
        EXPECT_EQ(m_nTransferDialogs, before.nDialogs + 1);
        EXPECT_EQ(m_nComplete, before.nComplete + (bWhole ? 1 : 0));
        const std::vector<std::string> boxes(m_pBoxes->m_texts.begin() + std::ptrdiff_t(before.nBoxes),
                                             m_pBoxes->m_texts.end());
        EXPECT_EQ(boxes, std::vector<std::string>{bGet ? res::kConfirmGet : res::kConfirmSend});
        if (!m_deviceTexts.empty()) {
            EXPECT_EQ(m_deviceTexts.back(),
                      "MIDI IN:\n\t" + SimName() + ":out\n\nMIDI OUT:\n\t" + SimName() + ":in");
        }
    }

    // Get of the whole patch bank into a fresh bank: on the way every record
    // is only ever its initial bytes or the simulator's, whatever the answers,
    // and at the end the bank is the simulator's memory.
    void GetPatchBankWatched(CPatchDoc* a, int nGetCommand)
    {
        const CPatchRecord initial;
        int nBad = -1;
        CStoreWatch watch(a, [&] {
            for (int i = 0; i < CPatchDoc::kPatchCount; ++i) {
                const CPatchRecord& r = a->m_aPatch[size_t(i)];
                if (r != initial && !SameBytes(r.Data(), m_factory.Patch(i).data(), CPatchRecord::kSize))
                    nBad = i;
            }
        });
        ASSERT_NO_FATAL_FAILURE(BankTransfer(a, nGetCommand, true));
        EXPECT_EQ(nBad, -1) << "patch " << nBad << " held bytes it was never sent";
        EXPECT_EQ(DifferingPatches(*a, m_factory), std::vector<int>{});
    }

    // A whole-bank Get or Send through the main frame's command.
    void BankTransfer(CDocument* pDoc, int nCommand, bool bGet)
    {
        ASSERT_NO_FATAL_FAILURE(Activate(pDoc));
        const CTally before = Tally();
        ASSERT_NO_FATAL_FAILURE(Command(nCommand));
        ExpectTransferRan(before, bGet, true);
    }

    // A single-entry Get or Send from a window's pop-up menu.
    void EntryTransfer(CScrollView* view, const QPoint& pt, int nCommand, bool bGet, bool bWhole = false)
    {
        const CTally before = Tally();
        RightClickChoose(view, pt, nCommand);
        ExpectTransferRan(before, bGet, bWhole);
    }

    // ---- the simulator's memory and the files -------------------------------

    std::unique_ptr<CSimDevice> SimMemory()
    {
        auto p = std::make_unique<CSimDevice>();
        std::string error;
        if (!m_rig.ReadSimMemory(*p, error)) {
            ADD_FAILURE() << error;
            return nullptr;
        }
        return p;
    }

    // The body of a library file after its header, which must be of type.
    static std::vector<uint8_t> FileBody(const QString& path, std::string_view type)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << path.toStdString();
            return {};
        }
        const QByteArray all = f.readAll();
        if (size_t(all.size()) < kFileHeaderSize) {
            ADD_FAILURE() << "no header in " << path.toStdString();
            return {};
        }
        EXPECT_EQ(std::string_view(all.constData() + kHeaderModelOffset, kHeaderModelSize), kHeaderModel);
        EXPECT_EQ(std::string_view(all.constData() + kHeaderTypeOffset, kHeaderTypeSize), type);
        return std::vector<uint8_t>(all.begin() + std::ptrdiff_t(kFileHeaderSize), all.end());
    }

    // Pattern and motion bodies: value, flag, 32-bit count (LSB first), data.
    static std::vector<CFileItem> ParseItems(const std::vector<uint8_t>& body, size_t nItems)
    {
        std::vector<CFileItem> items;
        size_t pos = 0;
        for (size_t i = 0; i < nItems; ++i) {
            if (body.size() - pos < kVarEntryDataOffset) {
                ADD_FAILURE() << "file body ends inside item " << i;
                return items;
            }
            CFileItem item;
            item.byValue = body[pos + kVarEntryValueOffset];
            item.byFlag = body[pos + kVarEntryFlagOffset];
            uint32_t n = 0;
            for (int b = 3; b >= 0; --b)
                n = (n << 8) | body[pos + kVarEntryCountOffset + size_t(b)];
            pos += kVarEntryDataOffset;
            if (body.size() - pos < n) {
                ADD_FAILURE() << "file body ends inside the data of item " << i;
                return items;
            }
            item.data.assign(body.begin() + std::ptrdiff_t(pos), body.begin() + std::ptrdiff_t(pos + n));
            pos += n;
            items.push_back(std::move(item));
        }
        EXPECT_EQ(pos, body.size()) << "bytes after the last item";
        return items;
    }

    // ---- answers to the program's questions ---------------------------------

    void OnModal(CDialog* d)
    {
        if (auto* t = dynamic_cast<CTransferDlg*>(d)) {
            ++m_nTransferDialogs;
            m_deviceTexts.push_back(t->m_strDevices);
            if (m_onTransfer)
                m_onTransfer(t);
            else
                StartTransfer(t);
            return;
        }
        if (dynamic_cast<CCompleteDlg*>(d)) {
            ++m_nComplete;
            d->ClickButton(IDOK);
            return;
        }
        if (auto* n = dynamic_cast<CNameDlg*>(d)) {
            QLineEdit* edit = n->GetEdit(n->GetEditId());
            m_namesOffered.push_back(edit->text().toStdString());
            edit->setText(QString::fromLatin1(m_strNewName.c_str()));
            n->ClickButton(IDOK);
            return;
        }
        const int nId = d->GetTemplate().nId;
        if (nId == kNewTypeDialogId) {
            d->GetListBox(kNewTypeListId)->setCurrentRow(int(m_newKind));
            d->ClickButton(IDOK);
            return;
        }
        if (nId == IDD_MIDI_SETUP && m_onMidiSetup) {
            m_onMidiSetup(d);
            return;
        }
        ADD_FAILURE() << "unexpected dialog " << nId;
        d->EndDialog(IDCANCEL);
    }

    // START, the confirmation answered OK, and a bounded wait: past the
    // limit the test presses Cancel in the progress dialog.
    void StartTransfer(CTransferDlg* t)
    {
        t->ClickButton(IDOK);
        QTimer::singleShot(m_nTransferLimitMs, t, [this, t] {
            if (t->IsEnded())
                return;
            m_bTransferTimedOut = true;
            t->Progress().ClickButton(IDCANCEL);
            if (!t->IsEnded())
                t->EndDialog(IDCANCEL);
        });
    }

    QString OnFileDialog(const CFileDialogRequest& r)
    {
        ++m_nFileDialogs;
        if (m_strNextFile.isEmpty())
            ADD_FAILURE() << "unexpected file dialog " << r.strCaption.toStdString();
        return m_strNextFile;
    }

    int OnPopup(const std::vector<CListView::CMenuItem>& items)
    {
        for (const auto& item : items)
            if (item.nId != 0)
                m_popupOffered.push_back(item.nId);
        if (m_nPopupChoice == 0)
            ADD_FAILURE() << "unexpected pop-up menu";
        return std::find(m_popupOffered.begin(), m_popupOffered.end(), m_nPopupChoice) != m_popupOffered.end()
                   ? m_nPopupChoice
                   : 0;
    }

    const std::vector<std::string>& Boxes() const { return m_pBoxes->m_texts; }

    CJackRig m_rig;
    QTemporaryDir m_dir;
    const CSimDevice m_factory; // what a freshly started simulator holds
    std::unique_ptr<CVantorelApp> m_pApp;
    std::unique_ptr<CMessageBoxRecorder> m_pBoxes;

    int m_nInDevice = -1;
    int m_nOutDevice = -1;
    QStringList m_inList;
    QStringList m_outList;

    ENewKind m_newKind = ENewKind::Patch;
    QString m_strNextFile;
    int m_nFileDialogs = 0;
    std::string m_strNewName;
    std::vector<std::string> m_namesOffered;
    int m_nPopupChoice = 0;
    std::vector<int> m_popupOffered;
    std::function<void(CDialog*)> m_onMidiSetup;
    // Replaces the usual START-and-wait for a transfer dialog.
    std::function<void(CTransferDlg*)> m_onTransfer;
    int m_nTransferLimitMs = kTransferLimitMs;
    int m_nTransferDialogs = 0;
    int m_nComplete = 0;
    bool m_bTransferTimedOut = false;
    std::vector<std::string> m_deviceTexts;
};

} // namespace vantorel::e2e
