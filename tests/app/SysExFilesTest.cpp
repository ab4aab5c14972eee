// SysEx files and dumps in the whole application: Import places each kind in
// a window and sums up in one box; Export writes the document or the
// selected entry; files dropped on the window or named on the command line
// open; Receive Dump takes every message of a dump and places it like Import;
// two windows, or a window and a file, compare in a window of their own.
#include <QApplication>
#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/AppTestSupport.h"
#include "app/CompareWindow.h"
#include "app/ReceiveDumpDlg.h"
#include "app/Resource.h"
#include "app/SysExFiles.h"
#include "data/PatchDoc.h"
#include "data/PerformDoc.h"
#include "framework/core/FileNames.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/UndoHistory.h"
#include "support/FileDialogScript.h"
#include "transfer/SysExExport.h"
#include "transfer/kinds/DocumentKinds.h"
#include "views/EditCommands.h"
#include "views/PatchView.h"
#include "views/ProgramSwitches.h"
#include "support/MessageBoxRecorder.h"
#include "support/GuiTestPeers.h"
#include "support/ListViewTestPeer.h"
#include "support/ReceiveDumpTestPeer.h"

namespace vantorel::test {
namespace {

// The kind of doc, as the program's registry finds it.
const CDocKind& KindOf(const CDocument& doc)
{
    return *DocumentKinds().Of(doc);
}

using Bytes = std::vector<uint8_t>;

class SysExFilesTest : public AppStartTest {
protected:
    void SetUp() override
    {
        AppStartTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        for (size_t i = 0; i < m_patches.m_aPatch.size(); ++i)
            for (size_t k = 0; k < CPatchRecord::kSize; ++k)
                m_patches.m_aPatch[i].Data()[k] = uint8_t((i * 3 + k) & 0x7F);
        for (size_t p = 0; p < m_performances.m_aPerform.size(); ++p)
            for (size_t k = 0; k < CPerformRecord::kSize; ++k)
                m_performances.m_aPerform[p].Data()[k] = uint8_t((p * 5 + k * 3) & 0x7F);
        StartApp();
    }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QString WriteFile(const char* name, const Bytes& bytes) const
    {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return f.fileName();
    }
    // Patch 2, our data among another maker's, noise and a damaged patch 3,
    // then the whole performance bank.
    QString MixedFile()
    {
        Bytes bad = ExportSysEx(KindOf(m_patches), m_patches, 3).messages.at(0);
        bad[bad.size() - 2] ^= 0x01;
        Bytes stream = {0x01, 0x02, 0x90, 0x3C, 0x40, 0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
        for (const Bytes& m : {ExportSysEx(KindOf(m_patches), m_patches, 2).messages.at(0), bad})
            stream.insert(stream.end(), m.begin(), m.end());
        const Bytes bank = JoinSysEx(ExportSysEx(KindOf(m_performances), m_performances).messages);
        stream.insert(stream.end(), bank.begin(), bank.end());
        return WriteFile("mixed.syx", stream);
    }
    std::vector<CDocument*> Documents() { return m_pApp->GetDocManager().GetDocuments(); }
    void NewPatchBank()
    {
        CDocManager& manager = m_pApp->GetDocManager();
        ASSERT_TRUE(manager.OpenNewDocument(manager.GetTemplates().front().get()));
    }
    void Trigger(int nId)
    {
        Frame()->UpdateAllCmdUI();
        ASSERT_TRUE(Frame()->CommandAction(nId)->isEnabled()) << nId;
        Frame()->CommandAction(nId)->trigger();
    }

    // The compare window open now, if any.
    static CCompareWindow* CompareWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* c = qobject_cast<CCompareWindow*>(w))
                return c;
        return nullptr;
    }
    // Column texts of the tree's rows ("where|a|b|result"), the rows under them indented.
    static std::vector<std::string> Rows(const QTreeWidget* tree)
    {
        std::vector<std::string> rows;
        const std::function<void(const QTreeWidgetItem*, const std::string&)> add =
            [&](const QTreeWidgetItem* item, const std::string& indent) {
                QStringList columns;
                for (int c = 0; c < tree->columnCount(); ++c)
                    columns << item->text(c);
                rows.push_back(indent + columns.join('|').toStdString());
                for (int i = 0; i < item->childCount(); ++i)
                    add(item->child(i), indent + "  ");
            };
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            add(tree->topLevelItem(i), "");
        return rows;
    }

    QTemporaryDir m_dir;
    CPatchDoc m_patches;
    CPerformDoc m_performances;
};

const char* const kMixedSummary = "Imported from mixed.syx:\n"
                                  "1 patch into A13 of Patch1\n"
                                  "64 performances into Performance1\n\n"
                                  "3 skipped, for example:\n"
                                  "Byte 0: skipped bytes outside any exclusive message.\n"
                                  "Byte 5: skipped a message of another manufacturer.\n"
                                  "Byte 265: skipped a data set with a wrong checksum.";

TEST_F(SysExFilesTest, ImportOpensEachKindInANewWindowAndSumsUpInOneBox)
{
    CMessageBoxRecorder boxes(IDOK);
    CFileDialogScript dialogs;
    dialogs.m_answers = {MixedFile()};
    Trigger(ID_IMPORT_SYSEX);
    ASSERT_EQ(dialogs.m_requests.size(), 1u);
    EXPECT_EQ(dialogs.m_requests[0].filters.front(), QStringLiteral("SysEx Files (*.syx)"));
    ASSERT_EQ(boxes.m_texts, std::vector<std::string>{kMixedSummary});

    ASSERT_EQ(Documents().size(), 2u);
    auto* patches = dynamic_cast<CPatchDoc*>(Documents()[0]);
    auto* performances = dynamic_cast<CPerformDoc*>(Documents()[1]);
    ASSERT_TRUE(patches && performances);
    const CPatchDoc initial;
    for (size_t i = 0; i < 128; ++i)
        EXPECT_TRUE(patches->m_aPatch[i] == (i == 2 ? m_patches.m_aPatch[i] : initial.m_aPatch[i])) << i;
    EXPECT_TRUE(performances->m_aPerform == m_performances.m_aPerform);
    EXPECT_TRUE(patches->IsModified());
}

TEST_F(SysExFilesTest, ImportGoesIntoTheActiveWindowOfItsKindOnlyWhenTheUserSaysSo)
{
    const QString file = WriteFile("bank.syx", JoinSysEx(ExportSysEx(KindOf(m_patches), m_patches).messages));
    NewPatchBank();
    ASSERT_EQ(Documents().size(), 1u);
    auto* active = dynamic_cast<CPatchDoc*>(Documents()[0]);
    ASSERT_TRUE(active);
    {
        // Cancel: nothing is imported, and no summary says otherwise.
        CMessageBoxRecorder boxes(IDCANCEL);
        EXPECT_EQ(ImportSysExFile(m_pApp->GetDocManager(), file, active), 0);
        EXPECT_EQ(boxes.m_texts.size(), 1u);
        EXPECT_TRUE(active->m_aPatch == CPatchDoc().m_aPatch);
        EXPECT_EQ(Documents().size(), 1u);
    }
    {
        CMessageBoxRecorder boxes(IDNO);
        EXPECT_EQ(ImportSysExFile(m_pApp->GetDocManager(), file, active), 128);
        ASSERT_EQ(boxes.m_texts.size(), 2u);
        EXPECT_EQ(boxes.m_texts[0],
                  "bank.syx holds 128 patches.\n\nYes puts them into the active window, Patch1. "
                  "No opens them in a new window.");
        EXPECT_EQ(boxes.m_texts[1], "Imported from bank.syx:\n128 patches into Patch2");
        EXPECT_TRUE(active->m_aPatch == CPatchDoc().m_aPatch);
        EXPECT_EQ(Documents().size(), 2u);
    }
    {
        CMessageBoxRecorder boxes(IDYES);
        EXPECT_EQ(ImportSysExFile(m_pApp->GetDocManager(), file, active), 128);
        EXPECT_EQ(boxes.m_texts.back(), "Imported from bank.syx:\n128 patches into Patch1");
        EXPECT_TRUE(active->m_aPatch == m_patches.m_aPatch);
        EXPECT_EQ(Documents().size(), 2u);
    }
    // The whole import is one step: one Undo gives the bank back as it was.
    CUndoHistory* history = CUndoHistory::Of(active);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->UndoName(), QStringLiteral("Import SysEx"));
    Frame()->GetMdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(
        dynamic_cast<CScrollView*>(active->GetViews().front())->GetParentFrame()));
    Trigger(edit_commands::ID_EDIT_UNDO);
    EXPECT_TRUE(active->m_aPatch == CPatchDoc().m_aPatch);
    EXPECT_FALSE(active->IsModified());
}

TEST_F(SysExFilesTest, ASingleEntryGoesIntoTheSelectedEntryAndTheSummarySaysWhere)
{
    SetSendDataSwitch(0);
    const QString one =
        WriteFile("one.syx", JoinSysEx(ExportSysEx(KindOf(m_patches), m_patches, 0).messages)); // A11
    NewPatchBank();
    auto* doc = dynamic_cast<CPatchDoc*>(Documents().at(0));
    auto* view = dynamic_cast<CPatchView*>(Frame()->GetActiveView());
    ASSERT_TRUE(doc && view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(40, 4 * 16 + 8));
    ASSERT_EQ(view->GetSelection(), 4); // A15

    CMessageBoxRecorder boxes(IDYES);
    CFileDialogScript dialogs;
    dialogs.m_answers = {one};
    Trigger(ID_IMPORT_SYSEX);
    EXPECT_EQ(boxes.m_texts, (std::vector<std::string>{
                                 "one.syx holds 1 patch (A11).\n\nYes puts it into the selected entry of "
                                 "the active window, A15 of Patch1. No opens it in a new window.",
                                 "Imported from one.syx:\n1 patch from A11 into A15 of Patch1"}));
    const CPatchDoc initial;
    for (size_t i = 0; i < 128; ++i)
        EXPECT_TRUE(doc->m_aPatch[i] == (i == 4 ? m_patches.m_aPatch[0] : initial.m_aPatch[i])) << i;
}

TEST_F(SysExFilesTest, AFileForAnotherDeviceIdIsNamedAndTakenWhenTheUserSaysSo)
{
    Bytes bytes = JoinSysEx(ExportSysEx(KindOf(m_patches), m_patches).messages);
    for (size_t i = 0; i + 2 < bytes.size(); ++i)
        if (bytes[i] == 0xF0)
            bytes[i + 2] = 0x11; // the device ID is not in the checksum
    const QString file = WriteFile("other-id.syx", bytes);
    const std::string question =
        "other-id.syx holds data for device ID 0x11, not for device ID 0x10, which "
        "Vantorel uses for the KQ-3300.\n\nYes takes the data as this synthesizer's. "
        "No leaves it out.";
    CMessageBoxRecorder boxes(IDNO);
    EXPECT_EQ(ImportSysExFile(m_pApp->GetDocManager(), file, nullptr), 0);
    ASSERT_EQ(boxes.m_texts.size(), 2u);
    EXPECT_EQ(boxes.m_texts[0], question);
    EXPECT_NE(
        boxes.m_texts[1].find("128 skipped, for example:\nByte 0: skipped a message for device ID 0x11."),
        std::string::npos)
        << boxes.m_texts[1];
    EXPECT_TRUE(Documents().empty());

    boxes.m_texts.clear();
    boxes.m_nAnswer = IDYES;
    EXPECT_EQ(ImportSysExFile(m_pApp->GetDocManager(), file, nullptr), 128);
    EXPECT_EQ(boxes.m_texts,
              (std::vector<std::string>{question, "Imported from other-id.syx:\n128 patches into Patch1"}));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_TRUE(dynamic_cast<CPatchDoc*>(Documents()[0])->m_aPatch == m_patches.m_aPatch);
}

TEST_F(SysExFilesTest, AFileWithNothingOfTheDeviceSaysSoOnceAndOpensNothing)
{
    CMessageBoxRecorder boxes(IDOK);
    const QString other = WriteFile("other.syx", {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
    EXPECT_EQ(ImportSysExFile(m_pApp->GetDocManager(), other, nullptr), 0);
    EXPECT_EQ(ImportSysExFile(m_pApp->GetDocManager(), Path("missing.syx"), nullptr), 0);
    EXPECT_EQ(
        boxes.m_texts,
        (std::vector<std::string>{
            "other.syx holds no data of the KQ-3300, so nothing was opened. Choose a SysEx file exported by "
            "Vantorel or dumped from the KQ-3300.\n\n1 skipped, for example:\n"
            "Byte 0: skipped a message of another manufacturer.",
            "missing.syx was not found."}));
    EXPECT_TRUE(Documents().empty());
}

TEST_F(SysExFilesTest, ExportWritesTheSelectedEntryOrTheWholeDocument)
{
    SetSendDataSwitch(0);
    CMessageBoxRecorder boxes(IDYES);
    NewPatchBank();
    auto* doc = dynamic_cast<CPatchDoc*>(Documents().at(0));
    ASSERT_TRUE(doc);
    doc->m_aPatch = m_patches.m_aPatch;
    auto* view = dynamic_cast<CPatchView*>(Frame()->GetActiveView());
    ASSERT_TRUE(view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(40, 5 * 16 + 8));
    ASSERT_EQ(view->GetSelection(), 5);

    CFileDialogScript dialogs;
    dialogs.m_answers = {Path("one.syx"), Path("all.syx")};
    Trigger(ID_EXPORT_SYSEX);
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_EQ(boxes.m_texts[0],
              "Selected entry only?\n\nYes writes Patch A16 alone. No writes the whole document.");
    ASSERT_EQ(dialogs.m_requests.size(), 1u);
    EXPECT_EQ(dialogs.m_requests[0].strDefaultName, QStringLiteral("Patch1.syx"));
    boxes.m_nAnswer = IDNO;
    Trigger(ID_EXPORT_SYSEX);

    const auto read = [](const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        return Bytes(b.begin(), b.end());
    };
    EXPECT_EQ(read(Path("one.syx")), JoinSysEx(ExportSysEx(KindOf(m_patches), m_patches, 5).messages));
    EXPECT_EQ(read(Path("all.syx")), JoinSysEx(ExportSysEx(KindOf(m_patches), m_patches).messages));
    EXPECT_EQ(boxes.m_texts.size(), 2u);

    // An entry with a name is proposed under it; what a file name cannot hold becomes a dash.
    doc->m_aPatch[5].SetName("Str/Pad 2");
    boxes.m_nAnswer = IDYES;
    Trigger(ID_EXPORT_SYSEX);
    ASSERT_EQ(dialogs.m_requests.size(), 3u);
    EXPECT_EQ(dialogs.m_requests[2].strDefaultName, QStringLiteral("Str-Pad 2.syx"));
}

TEST_F(SysExFilesTest, DroppedAndCommandLineFilesOpenOrImport)
{
    CMessageBoxRecorder boxes(IDOK);
    CPatchDoc library;
    library.m_aPatch = m_patches.m_aPatch;
    ASSERT_TRUE(CDocumentFiles::Write(library, Path("bank.pat")));
    const QString syx = MixedFile();

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(Path("bank.pat")), QUrl::fromLocalFile(syx)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Frame(), &drop);
    QCoreApplication::processEvents();
    ASSERT_EQ(Documents().size(), 3u);
    EXPECT_EQ(Documents()[0]->GetTitle(), "bank.pat");
    EXPECT_TRUE(dynamic_cast<CPatchDoc*>(Documents()[0])->m_aPatch == m_patches.m_aPatch);
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{kMixedSummary});

    // The command line: a file that cannot be opened says what File > Open says.
    boxes.m_texts.clear();
    m_pApp->OpenFiles({Path("bank.pat"), Path("missing.pfm")});
    EXPECT_EQ(Documents().size(), 3u);
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{"missing.pfm was not found."});
}

// A list window takes dragged entries, but files dropped on it still go to
// the main window: a .syx file imports as when dropped anywhere else (with
// a window open, the question where its entries go).
TEST_F(SysExFilesTest, AFileDroppedOnAListWindowImportsAsOnTheMainWindow)
{
    CMessageBoxRecorder boxes(IDOK);
    NewPatchBank();
    QWidget* viewport = Frame()->GetActiveView()->viewport();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(MixedFile())});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_EQ(boxes.m_texts[0].rfind("mixed.syx holds 1 patch.", 0), 0u) << boxes.m_texts[0];
}

// A name that is not UTF-8 (here Latin-1) is the file system's bytes: the
// file opens from the command line, and a save goes back to that very file.
TEST_F(SysExFilesTest, ACommandLineNameThatIsNotUtf8OpensAndSavesThatFile)
{
    CMessageBoxRecorder boxes(IDOK);
    const std::string name = "caf\xE9 \xFF.pat";
    const std::string path = m_dir.path().toStdString() + "/" + name;
    ASSERT_TRUE(CDocumentFiles::Write(m_patches, Path("plain.pat")));
    ASSERT_EQ(::rename(Path("plain.pat").toLocal8Bit().constData(), path.c_str()), 0);

    m_pApp->OpenFiles({AbsoluteFileName(path)});
    ASSERT_EQ(Documents().size(), 1u);
    CDocument* doc = Documents()[0];
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_TRUE(dynamic_cast<CPatchDoc*>(doc)->m_aPatch == m_patches.m_aPatch);
    std::vector<uint8_t> entry = doc->GetEntryBytes(0);
    entry[0] = 'Z';
    ASSERT_TRUE(doc->ApplyEntries("Rename", {{0, entry}}));
    ASSERT_TRUE(m_pApp->GetDocManager().DoSave(doc, false));
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{}) << "neither on opening nor on saving";
    const std::filesystem::directory_iterator files(m_dir.path().toStdString());
    EXPECT_EQ(std::distance(begin(files), end(files)), 1) << "saved under another name";
    CPatchDoc reread;
    EXPECT_TRUE(CDocumentFiles::Read(reread, DecodeFileName(path)));
    EXPECT_EQ(reread.m_aPatch[0].Data()[0], 'Z');
    std::filesystem::remove(path); // Qt's own clean-up cannot name it
    // A relative name is taken in the working folder, whose name keeps its bytes too.
    EXPECT_EQ(EncodeFileName(AbsoluteFileName(name)), std::filesystem::current_path().string() + "/" + name);
}

TEST_F(SysExFilesTest, ReceiveDumpRequeuesAfterEveryMessageAndPlacesWhatArrived)
{
    CMessageBoxRecorder boxes(IDOK);
    Trigger(ID_RECEIVE_DUMP);
    CReceiveDumpDlg* dlg = m_pApp->GetReceiveDump();
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(dlg->isVisible());
    const auto queued = [this] {
        return std::count_if(m_midi.m_calls.begin(), m_midi.m_calls.end(),
                             [](const auto& c) { return c.m_strName == "InAddBuffer"; });
    };
    ASSERT_EQ(queued(), 1);
    const auto& add = *std::find_if(m_midi.m_calls.rbegin(), m_midi.m_calls.rend(),
                                    [](const auto& c) { return c.m_strName == "InAddBuffer"; });
    const auto h = reinterpret_cast<HMIDIIN>(add.m_handle);
    MIDIHDR* pHdr = add.m_pHdr;

    std::vector<Bytes> messages = ExportSysEx(KindOf(m_patches), m_patches).messages;
    messages.insert(messages.begin() + 40, Bytes{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
    for (const Bytes& m : messages)
        m_midi.ReturnInBuffer(h, pHdr, m);
    EXPECT_EQ(queued(), 1 + long(messages.size()));
    EXPECT_EQ(CReceiveDumpDlgTestPeer::CountText(*dlg),
              QStringLiteral("128 patches\n0 performances\n0 system blocks\n0 patterns\n"
                             "0 motions\nSkipped: 1"));
    EXPECT_TRUE(CReceiveDumpDlgTestPeer::LastText(*dlg).startsWith(QStringLiteral("Last: B88: ")));

    QTest::mouseClick(CReceiveDumpDlgTestPeer::StopButton(*dlg), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(m_pApp->GetReceiveDump());
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_EQ(boxes.m_texts[0], "Received from In A:\n128 patches into Patch1\n\n1 skipped, for example:\n"
                                "Byte " +
                                    std::to_string(40 * 251) +
                                    ": skipped a message of another manufacturer.");
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_TRUE(dynamic_cast<CPatchDoc*>(Documents()[0])->m_aPatch == m_patches.m_aPatch);
    EXPECT_EQ(m_midi.m_calls.back().m_strName, "InClose");

    // Nothing arrives: one message, no window.
    Trigger(ID_RECEIVE_DUMP);
    ASSERT_TRUE(m_pApp->GetReceiveDump());
    m_pApp->GetReceiveDump()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(m_pApp->GetReceiveDump());
    ASSERT_EQ(boxes.m_texts.size(), 2u);
    EXPECT_EQ(boxes.m_texts[1],
              "Nothing for the KQ-3300 arrived from In A (MIDI IN device 0), so nothing was "
              "opened. Check the cable and MIDI Setup, start the dump on the synthesizer, then "
              "try again.");
    EXPECT_EQ(Documents().size(), 1u);
}

// ---------------------------------------------------------------- compare

TEST_F(SysExFilesTest, CompareWithSelectedTakesTheEntrySelectedInTheOtherWindow)
{
    NewPatchBank();
    auto* first = dynamic_cast<CPatchView*>(Frame()->GetActiveView());
    ASSERT_TRUE(first);
    QTest::mouseClick(first->viewport(), Qt::LeftButton, {}, QPoint(40, 4 * 16 + 8)); // A15
    NewPatchBank();
    auto* second = dynamic_cast<CPatchView*>(Frame()->GetActiveView());
    ASSERT_TRUE(second && second != first);
    Bytes changed = second->GetPatchDoc()->GetEntryBytes(2);
    changed[0] = 'Z';
    changed[74] = 1, changed[75] = 4; // the first pair +5
    second->GetPatchDoc()->ApplyEntries("t", {{2, changed}});

    std::vector<int> shown;
    CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>& items, const QPoint&) {
        for (const auto& item : items)
            shown.push_back(item.nId);
        return edit_commands::ID_COMPARE_WITH_SELECTED;
    });
    CScrollViewTestPeer::RButtonDown(*second, MK_RBUTTON, QPoint(40, 2 * 16 + 8)); // A13
    CListViewTestPeer::SetPopupHook({});
    EXPECT_EQ(shown, (std::vector<int>{32801, 0, 32800, 0, 32802, 32803, 0, 32871}));
    CCompareWindow* window = CompareWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Compare A13 ZNIT PATCH (Patch2) with A15 INIT PATCH (Patch1)"));
    EXPECT_EQ(window->Summary()->text(), QStringLiteral("3 bytes differ."));
    EXPECT_EQ(Rows(window->Tree()), (std::vector<std::string>{"name|||", "  byte 0|90 'Z'|73 'I'|",
                                                              "first block|||", "  byte 0|+5|0|"}));
    if (const char* dir = std::getenv("VANTOREL_SCREENSHOT_DIR"))
        window->grab().save(QString::fromUtf8(dir) + "/compare-entries.png");
}

TEST_F(SysExFilesTest, CompareWithSelectedTakesTheTwoEntriesSelectedInOneWindow)
{
    struct Case {
        size_t nTemplate; // patch, performance or system window
        int nRowHeight;
        std::vector<int> rows; // clicked, then Ctrl+clicked; the last one right-clicked
        const char* szTitle;   // null: not offered
    };
    const Case cases[] = {
        {0, 16, {2, 4}, "Compare A15 INIT PATCH (Patch1) with A13 ZNIT PATCH (Patch1)"},
        {1, 32, {6, 1}, "Compare 12 INIT PERFORMANCE (Performance1) with 17 ZNIT PERFORMANCE (Performance1)"},
        // Three: a compare takes two, whatever the other windows select.
        {0, 16, {1, 2, 3}, nullptr},
        // The system's two blocks are not alike.
        {2, 16, {0, 1}, nullptr},
    };
    CDocManager& manager = m_pApp->GetDocManager();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szTitle ? c.szTitle : "not offered");
        ASSERT_TRUE(manager.OpenNewDocument(manager.GetTemplates()[c.nTemplate].get()));
        auto* view = dynamic_cast<CListView*>(Frame()->GetActiveView());
        ASSERT_TRUE(view);
        CDocument* pDoc = view->GetDocument();
        Bytes changed = pDoc->GetEntryBytes(c.rows.front());
        changed[0] = 'Z';
        pDoc->ApplyEntries("t", {{c.rows.front(), changed}});
        const auto at = [&](int nRow) { return QPoint(40, nRow * c.nRowHeight + c.nRowHeight / 2); };
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(c.rows.front()));
        for (size_t i = 1; i < c.rows.size(); ++i)
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, at(c.rows[i]));

        std::vector<int> shown;
        CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>& items, const QPoint&) {
            for (const auto& item : items)
                shown.push_back(item.nId);
            return edit_commands::ID_COMPARE_WITH_SELECTED;
        });
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, at(c.rows.back()));
        QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, at(c.rows.back()));
        CListViewTestPeer::SetPopupHook({});
        std::vector<int> selected = c.rows;
        std::sort(selected.begin(), selected.end());
        EXPECT_EQ(view->SelectedRows(), selected);
        const bool bOffered =
            std::find(shown.begin(), shown.end(), edit_commands::ID_COMPARE_WITH_SELECTED) != shown.end();
        EXPECT_EQ(bOffered, c.szTitle != nullptr);
        CCompareWindow* window = CompareWindow();
        ASSERT_EQ(window != nullptr, c.szTitle != nullptr);
        if (!window)
            continue;
        EXPECT_EQ(window->windowTitle(), QString::fromLatin1(c.szTitle));
        EXPECT_EQ(window->Summary()->text(), QStringLiteral("Only the names differ."));
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(SysExFilesTest, FileCompareListsMovedRenamedAndMissingEntriesOfASysExFile)
{
    // The file: every patch of the bank but A35.
    std::vector<Bytes> messages = ExportSysEx(KindOf(m_patches), m_patches).messages;
    messages.erase(messages.begin() + 20);
    const QString file = WriteFile("bank.syx", JoinSysEx(messages));
    // The window: the bank with A13 and A16 swapped and A18 renamed.
    NewPatchBank();
    NewPatchBank();
    CDocument* doc = Frame()->GetActiveDocument();
    std::vector<std::pair<int, Bytes>> entries;
    for (int n = 0; n < 128; ++n)
        entries.push_back({n, Bytes(m_patches.m_aPatch[size_t(n)].m_data.begin(),
                                    m_patches.m_aPatch[size_t(n)].m_data.end())});
    std::swap(entries[2].second, entries[5].second);
    entries[7].second[3] = 'R';
    doc->ApplyEntries("t", entries);

    // Another window of the kind is open: the question says which, and No takes a file.
    CMessageBoxRecorder boxes(IDNO);
    CFileDialogScript dialogs;
    dialogs.m_answers = {file};
    Trigger(ID_FILE_COMPARE);
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{"Compare Patch2 with Patch1?\n\nYes compares it with "
                                                      "Patch1. No compares it with a file."});
    ASSERT_EQ(dialogs.m_requests.size(), 1u);
    EXPECT_EQ(dialogs.m_requests[0].filters.front(), QStringLiteral("Library and SysEx Files (*.pat *.syx)"));
    CCompareWindow* window = CompareWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Compare Patch2 with bank.syx"));
    EXPECT_EQ(window->Summary()->text(), QStringLiteral("4 of 128 entries differ."));
    std::vector<std::string> results;
    for (int i = 0; i < window->Tree()->topLevelItemCount(); ++i)
        results.push_back(
            (window->Tree()->topLevelItem(i)->text(0) + " " + window->Tree()->topLevelItem(i)->text(3))
                .toStdString());
    EXPECT_EQ(results, (std::vector<std::string>{"A13 moved to A16", "A16 moved to A13", "A18 name only",
                                                 "A35 only in Patch2"}));
    if (const char* dir = std::getenv("VANTOREL_SCREENSHOT_DIR")) {
        window->Tree()->expandAll();
        window->grab().save(QString::fromUtf8(dir) + "/compare-banks.png");
    }

    // A file of another kind, or a SysEx file with nothing of this kind: one message each, no window.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dialogs.m_answers = {
        Path("other.pfm"),
        WriteFile("perf.syx", JoinSysEx(ExportSysEx(KindOf(m_performances), m_performances).messages))};
    Trigger(ID_FILE_COMPARE);
    Trigger(ID_FILE_COMPARE);
    EXPECT_FALSE(CompareWindow());
    ASSERT_EQ(boxes.m_texts.size(), 5u);
    EXPECT_EQ(boxes.m_texts[2],
              "other.pfm holds performance data, not patch data, so there is nothing to compare. "
              "Choose a .pat or SysEx file.");
    EXPECT_EQ(boxes.m_texts[4],
              "perf.syx holds no patch data of the KQ-3300, so there is nothing to compare. "
              "Choose a file of that kind.");
}

TEST_F(SysExFilesTest, FileCompareOfTwoBackupsOfOneNameNamesTheirFolders)
{
    for (const char* folder : {"monday", "tuesday"}) {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QString::fromLatin1(folder)));
        ASSERT_TRUE(CDocumentFiles::Write(m_patches, Path(folder) + "/patch.pat"));
    }
    m_pApp->OpenFiles({Path("monday") + "/patch.pat"});
    CFileDialogScript dialogs;
    dialogs.m_answers = {Path("tuesday") + "/patch.pat"};
    Trigger(ID_FILE_COMPARE);
    CCompareWindow* window = CompareWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Compare patch.pat - monday with patch.pat - tuesday"));
}

} // namespace
} // namespace vantorel::test
