// The document manager and the child frames over two test kinds: File New
// with its list dialog, File Open by extension with every failure, Save and
// Save As, the save question when windows close, the recent-file list.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "framework/core/Profile.h"
#include "framework/core/SafeFile.h"
#include "framework/core/SafeFileCalls.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/MDIFrameWnd.h"
#include "framework/ScratchMount.h"
#include "framework/TestDocKinds.h"
#include "res/strings/app.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {
namespace {

class DocManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(QString::fromStdString(GetProfilePath()));
        m_pManager = std::make_unique<CDocManager>();
        RegisterTestKinds(*m_pManager);
        m_pFrame = std::make_unique<CMDIFrameWnd>(m_pManager.get());
        m_pFrame->resize(800, 600);
        m_pFrame->show();
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override
    {
        CDialogTestPeer::SetModalHook({});
        m_pFrame.reset();
        m_pManager.reset();
        FlushDeletes();
    }
    static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    CTestDoc* Doc(CDocument* p) { return dynamic_cast<CTestDoc*>(p); }
    // Answers the "New" list with the row given (-1: Cancel) and records its entries.
    void AnswerNewWith(int row)
    {
        CDialogTestPeer::SetModalHook([this, row](CDialog* dlg) {
            auto* list = dlg->findChild<QListWidget*>();
            ASSERT_NE(list, nullptr);
            m_newEntries.clear();
            for (int i = 0; i < list->count(); ++i)
                m_newEntries.push_back(list->item(i)->text());
            m_nNewInitialRow = list->currentRow();
            if (row < 0) {
                dlg->ClickButton(IDCANCEL);
                return;
            }
            list->setCurrentRow(row);
            dlg->ClickButton(IDOK);
        });
    }
    CChildFrame* FrameOf(CDocument* doc) const { return m_pManager->GetFrame(doc); }
    int WindowCount() const { return int(m_pFrame->GetMdiArea()->subWindowList().size()); }
    static std::string Text(const char* pattern, const QString& name)
    {
        return QString::fromLatin1(pattern).arg(name).toStdString();
    }
    // A modified Alpha document whose Save As answers path.
    CDocument* ModifiedAlpha()
    {
        CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
        Doc(doc)->m_body = {'n', 'e', 'w', '!'};
        doc->SetModifiedFlag(true);
        return doc;
    }
    // The save failed whole: one message, the document as it was.
    void ExpectSaveFailed(CDocument* doc, const QString& path, const std::string& message)
    {
        CFileDialogScript files;
        files.m_answers = {path};
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(m_pManager->DoSave(doc, true));
        EXPECT_EQ(boxes.m_texts, std::vector<std::string>{message});
        EXPECT_EQ(doc->GetTitle(), "Alpha1");
        EXPECT_TRUE(doc->GetPathName().empty());
        EXPECT_TRUE(doc->IsModified());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CDocManager> m_pManager;
    std::unique_ptr<CMDIFrameWnd> m_pFrame;
    QStringList m_newEntries;
    int m_nNewInitialRow = -2;
};

TEST_F(DocManagerTest, NewListsKindsInOrderAndNumbersTitlesPerKind)
{
    AnswerNewWith(1);
    CDocument* b1 = m_pManager->OnFileNew();
    EXPECT_EQ(m_newEntries, (QStringList{"Alpha Kind", "Beta Kind"}));
    EXPECT_EQ(m_nNewInitialRow, 0);
    ASSERT_NE(b1, nullptr);
    EXPECT_EQ(b1->GetTitle(), "Beta1");
    EXPECT_EQ(Doc(b1)->m_strMagic, kBetaMagic);
    EXPECT_FALSE(b1->IsModified());
    EXPECT_TRUE(b1->GetPathName().empty());

    CDocument* b2 = m_pManager->OnFileNew();
    AnswerNewWith(0);
    CDocument* a1 = m_pManager->OnFileNew();
    ASSERT_NE(b2, nullptr);
    ASSERT_NE(a1, nullptr);
    EXPECT_EQ(b2->GetTitle(), "Beta2");
    EXPECT_EQ(a1->GetTitle(), "Alpha1");

    // Each document has one window with its title and one view that got its initial update.
    EXPECT_EQ(WindowCount(), 3);
    CChildFrame* f = FrameOf(a1);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Alpha1[*]"));
    auto* view = dynamic_cast<CTestView*>(f->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_nInitialUpdates, 1);
    EXPECT_EQ(view->GetDocument(), a1);
    EXPECT_EQ(m_pFrame->MDIGetActive(), f);
}

TEST_F(DocManagerTest, NewCancelledCreatesNothing)
{
    AnswerNewWith(-1);
    EXPECT_EQ(m_pManager->OnFileNew(), nullptr);
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
    EXPECT_EQ(WindowCount(), 0);
    // The running number is not used up by a cancelled New.
    AnswerNewWith(0);
    EXPECT_EQ(m_pManager->OnFileNew()->GetTitle(), "Alpha1");
}

TEST_F(DocManagerTest, OpenChoosesKindByExtensionAndOffersFiltersInOrder)
{
    WriteBytes(Path("song.BET"), kBetaMagic + "wxyz");
    CFileDialogScript files;
    files.m_answers = {Path("song.BET")};
    CMessageBoxRecorder boxes;
    CDocument* doc = m_pManager->OnFileOpen();
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(boxes.m_texts.empty());
    ASSERT_EQ(files.m_requests.size(), 1u);
    EXPECT_TRUE(files.m_requests[0].bOpen);
    EXPECT_EQ(files.m_requests[0].strCaption, QStringLiteral("Open"));
    EXPECT_EQ(files.m_requests[0].filters,
              (QStringList{"Alpha Files (*.alp)", "Beta Files (*.bet)", "All Files (*.*)"}));
    EXPECT_EQ(Doc(doc)->m_strMagic, kBetaMagic);
    EXPECT_EQ(std::string(Doc(doc)->m_body.begin(), Doc(doc)->m_body.end()), "wxyz");
    EXPECT_EQ(doc->GetTitle(), "song.BET");
    EXPECT_EQ(doc->GetPathName(), Path("song.BET").toStdString());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(m_pManager->GetRecentFiles(), std::vector<std::string>{Path("song.BET").toStdString()});
}

TEST_F(DocManagerTest, OneOpenTakesSeveralFilesAndADamagedOneSaysSoAlone)
{
    WriteBytes(Path("a.alp"), kAlphaMagic + "aaaa");
    WriteBytes(Path("bad.bet"), "not a beta file");
    WriteBytes(Path("b.bet"), kBetaMagic + "bbbb");
    CFileDialogScript files;
    files.m_answers = {Path("a.alp") + "\n" + Path("bad.bet") + "\n" + Path("b.bet")};
    CMessageBoxRecorder boxes;
    CDocument* doc = m_pManager->OnFileOpen();
    ASSERT_EQ(files.m_requests.size(), 1u);
    EXPECT_TRUE(files.m_requests[0].bMany);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "b.bet");
    EXPECT_EQ(m_pManager->GetDocuments().size(), 2u);
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{"Unexpected file format."});
}

TEST_F(DocManagerTest, OtherExtensionsOpenAsTheFirstKind)
{
    WriteBytes(Path("notes.txt"), kAlphaMagic + "abcd");
    WriteBytes(Path("other.txt"), kBetaMagic + "abcd");
    CMessageBoxRecorder boxes;
    CDocument* doc = m_pManager->OpenDocumentFile(Path("notes.txt"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Doc(doc)->m_strMagic, kAlphaMagic);
    // A Beta file under a foreign extension is tried as Alpha and fails its header.
    EXPECT_EQ(m_pManager->OpenDocumentFile(Path("other.txt")), nullptr);
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{"File Error!!"});
}

TEST_F(DocManagerTest, FileAlreadyOpenIsBroughtToTheFront)
{
    WriteBytes(Path("a.alp"), kAlphaMagic + "aaaa");
    WriteBytes(Path("b.alp"), kAlphaMagic + "bbbb");
    CDocument* a = m_pManager->OpenDocumentFile(Path("a.alp"));
    CDocument* b = m_pManager->OpenDocumentFile(Path("b.alp"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(m_pFrame->MDIGetActive(), FrameOf(b));
    Doc(a)->m_body = {9, 9, 9, 9};
    a->SetModifiedFlag(true);
    // The same file by another spelling of its path.
    EXPECT_EQ(m_pManager->OpenDocumentFile(m_dir.path() + "/./a.alp"), a);
    EXPECT_EQ(m_pManager->GetDocuments().size(), 2u);
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_EQ(m_pFrame->MDIGetActive(), FrameOf(a));
    // Not reloaded: the unsaved change is still there.
    EXPECT_EQ(Doc(a)->m_body[0], 9);
}

TEST_F(DocManagerTest, FailedOpensShowTheirMessageAndOpenNoWindow)
{
    WriteBytes(Path("mismatch.alp"), std::string("ALPHADOX") + "abcd");
    WriteBytes(Path("short.alp"), kAlphaMagic + "ab");
    WriteBytes(Path("header-cut.alp"), "ALPH");
    CMessageBoxRecorder boxes;
    EXPECT_EQ(m_pManager->OpenDocumentFile(Path("mismatch.alp")), nullptr);
    EXPECT_EQ(m_pManager->OpenDocumentFile(Path("short.alp")), nullptr);
    EXPECT_EQ(m_pManager->OpenDocumentFile(Path("header-cut.alp")), nullptr);
    EXPECT_EQ(m_pManager->OpenDocumentFile(Path("missing.alp")), nullptr);
    EXPECT_EQ(m_pManager->OpenDocumentFile(m_dir.path()), nullptr); // a folder
    ASSERT_EQ(boxes.m_texts.size(), 5u);
    EXPECT_EQ(boxes.m_texts[0], "File Error!!");
    EXPECT_EQ(boxes.m_texts[1], "Unexpected file format.");
    EXPECT_EQ(boxes.m_texts[2], "Unexpected file format.");
    EXPECT_EQ(boxes.m_texts[3], "missing.alp was not found.");
    EXPECT_EQ(boxes.m_texts[4], Text(res::kOpenNotRegularFile, QFileInfo(m_dir.path()).fileName()));
    for (unsigned t : boxes.m_types)
        EXPECT_EQ(t, MB_OK);
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(m_pManager->GetRecentFiles().empty());
}

TEST_F(DocManagerTest, EmptyFileOpensWithInitialContentsAndNoMessage)
{
    WriteBytes(Path("empty.bet"), "");
    CMessageBoxRecorder boxes;
    CDocument* doc = m_pManager->OpenDocumentFile(Path("empty.bet"));
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(boxes.m_texts.empty());
    EXPECT_EQ(Doc(doc)->m_body, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(doc->GetTitle(), "empty.bet");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DocManagerTest, SaveAsksForANameOnceThenSavesInPlace)
{
    CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    Doc(doc)->m_body = {'s', 'a', 'v', 'e'};
    doc->SetModifiedFlag(true);
    CChildFrame* frame = FrameOf(doc);
    EXPECT_TRUE(frame->isWindowModified());

    CFileDialogScript files;
    files.m_answers = {Path("first.alp")};
    CMessageBoxRecorder boxes;
    EXPECT_TRUE(m_pManager->DoSave(doc, false));
    ASSERT_EQ(files.m_requests.size(), 1u);
    const CFileDialogRequest& req = files.m_requests[0];
    EXPECT_FALSE(req.bOpen);
    EXPECT_EQ(req.strCaption, QStringLiteral("Save As"));
    EXPECT_EQ(req.filters, (QStringList{"Alpha Files (*.alp)", "All Files (*.*)"}));
    EXPECT_EQ(req.strDefaultName, QStringLiteral("Alpha1.alp"));
    EXPECT_EQ(req.strDefaultSuffix, QStringLiteral("alp"));
    EXPECT_EQ(ReadBytes(Path("first.alp")), kAlphaMagic + "save");
    EXPECT_EQ(doc->GetTitle(), "first.alp");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("first.alp[*]"));

    // Save again: no dialog, the same file.
    Doc(doc)->m_body = {'m', 'o', 'r', 'e'};
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(m_pManager->DoSave(doc, false));
    EXPECT_EQ(files.m_requests.size(), 1u);
    EXPECT_EQ(ReadBytes(Path("first.alp")), kAlphaMagic + "more");

    // Save As: the dialog suggests the current file; the document moves to the new one.
    files.m_answers = {Path("second.alp")};
    EXPECT_TRUE(m_pManager->DoSave(doc, true));
    ASSERT_EQ(files.m_requests.size(), 2u);
    EXPECT_EQ(files.m_requests[1].strDefaultName, Path("first.alp"));
    EXPECT_EQ(doc->GetTitle(), "second.alp");
    EXPECT_EQ(ReadBytes(Path("second.alp")), kAlphaMagic + "more");
    EXPECT_TRUE(boxes.m_texts.empty());

    // What was saved opens again with the same contents.
    m_pManager->CloseDocument(doc);
    CDocument* again = m_pManager->OpenDocumentFile(Path("second.alp"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Doc(again)->m_body, (std::array<uint8_t, 4>{'m', 'o', 'r', 'e'}));
}

TEST_F(DocManagerTest, FailedSaveLeavesTheDocumentAsItWas)
{
    CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[1].get());
    doc->SetModifiedFlag(true);
    CFileDialogScript files;
    files.m_answers = {Path("no-such-folder/x.bet"), QString()};
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(m_pManager->DoSave(doc, true));
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_NE(boxes.m_texts[0].find("was not found"), std::string::npos);
    EXPECT_EQ(doc->GetTitle(), "Beta1");
    EXPECT_TRUE(doc->GetPathName().empty());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(QFile::exists(Path("no-such-folder/x.bet")));
    // A cancelled dialog is no failure message.
    EXPECT_FALSE(m_pManager->DoSave(doc, true));
    EXPECT_EQ(boxes.m_texts.size(), 1u);
}

TEST_F(DocManagerTest, SaveOverAnExistingFileReplacesItWhole)
{
    WriteBytes(Path("long.alp"), std::string(1000, 'x'));
    CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    CFileDialogScript files;
    files.m_answers = {Path("long.alp")};
    EXPECT_TRUE(m_pManager->DoSave(doc, true));
    EXPECT_EQ(ReadBytes(Path("long.alp")), kAlphaMagic + std::string("\x01\x02\x03\x04"));
}

TEST_F(DocManagerTest, SaveOnAFullDiskFailsAndLeavesTheOldFileAsItWas)
{
    CScratchMount disk(Path("full").toStdString());
    if (!disk.IsMounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string old = kAlphaMagic + "old!";
    WriteBytes(Path("full/old.alp"), old);
    disk.FillUp();
    CDocument* doc = ModifiedAlpha();
    ExpectSaveFailed(doc, Path("full/old.alp"), Text(res::kSaveDiskFull, "old.alp"));
    EXPECT_EQ(ReadBytes(Path("full/old.alp")), old);
    EXPECT_EQ(QDir(Path("full")).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"filler", "old.alp"})); // no temporary file left behind
}

TEST_F(DocManagerTest, ErrorsLateInAWriteFailTheSaveBeforeTheOldFileIsReplaced)
{
    const std::string old = kAlphaMagic + "old!";
    WriteBytes(Path("old.alp"), old);
    CDocument* doc = ModifiedAlpha();
    // The disk reports the error only when the data are flushed, or when the file is closed.
    static const CFileWriteCalls failingSync{::write, [](int) { return errno = EIO, -1; }, ::close};
    static const CFileWriteCalls failingClose{::write, ::fsync,
                                              [](int fd) { return ::close(fd), errno = ENOSPC, -1; }};
    SetFileWriteCallsForTest(&failingSync);
    ExpectSaveFailed(doc, Path("old.alp"), Text(res::kSaveWriteFault, "old.alp"));
    SetFileWriteCallsForTest(&failingClose);
    ExpectSaveFailed(doc, Path("old.alp"), Text(res::kSaveDiskFull, "old.alp"));
    SetFileWriteCallsForTest(nullptr);
    EXPECT_EQ(ReadBytes(Path("old.alp")), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.alp"});
}

TEST_F(DocManagerTest, SaveReplacesOnlyRegularFilesAndWritesThroughLinks)
{
    CDocument* doc = ModifiedAlpha();
    ASSERT_EQ(::mkfifo(Path("pipe").toLocal8Bit().constData(), 0644), 0);
    ASSERT_EQ(::symlink("pipe", Path("to-pipe.alp").toLocal8Bit().constData()), 0);
    ExpectSaveFailed(doc, Path("to-pipe.alp"), Text(res::kSaveNotRegularFile, "to-pipe.alp"));
    EXPECT_TRUE(QFileInfo(Path("pipe")).exists() && !QFileInfo(Path("pipe")).isFile());
    // A device node as a link names it: the node stays a node.
    if (::mknod(Path("full-dev").toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        ASSERT_EQ(
            ::symlink(Path("full-dev").toLocal8Bit().constData(), Path("dev.alp").toLocal8Bit().constData()),
            0);
        ExpectSaveFailed(doc, Path("dev.alp"), Text(res::kSaveNotRegularFile, "dev.alp"));
        struct stat st {};
        ASSERT_EQ(::stat(Path("full-dev").toLocal8Bit().constData(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.alp"));
    ExpectSaveFailed(doc, Path("folder.alp"), Text(res::kSaveNotRegularFile, "folder.alp"));

    // A link to a regular file stays a link; the file it names gets the bytes.
    WriteBytes(Path("real.alp"), "old contents");
    ASSERT_EQ(::symlink("real.alp", Path("link.alp").toLocal8Bit().constData()), 0);
    CFileDialogScript files;
    files.m_answers = {Path("link.alp")};
    EXPECT_TRUE(m_pManager->DoSave(doc, true));
    EXPECT_TRUE(QFileInfo(Path("link.alp")).isSymLink());
    EXPECT_EQ(ReadBytes(Path("real.alp")), kAlphaMagic + "new!");
}

// Another program changed the open file: Save asks before it overwrites,
// Cancel writes nothing and keeps the changes; after a save, nothing is asked.
TEST_F(DocManagerTest, SaveAsksBeforeOverwritingAFileChangedOnDiskSinceItWasOpenedOrSaved)
{
    const auto local = [](const QString& p) { return p.toLocal8Bit().toStdString(); };
    const struct {
        const char* szHow;
        std::function<void(const QString&)> change;
    } changes[] = {
        {"left alone: nothing to ask", nullptr},
        {"replaced by another file",
         [&](const QString& p) {
             WriteBytes(Path("other"), kAlphaMagic + "othr");
             ASSERT_EQ(::rename(local(Path("other")).c_str(), local(p).c_str()), 0);
         }},
        {"rewritten in place at the same size",
         [](const QString& p) { WriteBytes(p, kAlphaMagic + "othr"); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.szHow);
        CMessageBoxRecorder boxes(IDCANCEL);
        WriteBytes(Path("r1.alp"), kAlphaMagic + "mine");
        // Older than anything written now, so that a rewrite shows in its time.
        const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, local(Path("r1.alp")).c_str(), past, 0), 0);
        CDocument* doc = m_pManager->OpenDocumentFile(Path("r1.alp"));
        ASSERT_NE(doc, nullptr);
        Doc(doc)->m_body = {'m', 'o', 'r', 'e'};
        doc->SetModifiedFlag(true);
        if (c.change) {
            c.change(Path("r1.alp"));
            EXPECT_FALSE(m_pManager->DoSave(doc, false));
            EXPECT_EQ(boxes.m_texts, std::vector<std::string>{Text(res::kFileChangedOnDisk, "r1.alp")});
            EXPECT_EQ(boxes.m_types, std::vector<unsigned>{MB_OKCANCEL});
            EXPECT_EQ(ReadBytes(Path("r1.alp")), kAlphaMagic + "othr");
            EXPECT_TRUE(doc->IsModified());
            EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"r1.alp"});
            boxes.m_nAnswer = IDOK;
        }
        EXPECT_TRUE(m_pManager->DoSave(doc, false));
        EXPECT_EQ(ReadBytes(Path("r1.alp")), kAlphaMagic + "more");
        EXPECT_FALSE(doc->IsModified());
        // Saved here: the next save has nothing to ask.
        doc->SetModifiedFlag(true);
        EXPECT_TRUE(m_pManager->DoSave(doc, false));
        EXPECT_EQ(boxes.m_texts.size(), c.change ? 2u : 0u);
        m_pManager->CloseDocument(doc);
    }
}

TEST_F(DocManagerTest, SaveIntoAReadOnlyFolderIsDeniedEvenForRoot)
{
    CScratchMount readOnly(Path("ro").toStdString(), true);
    if (!readOnly.IsMounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    CDocument* doc = ModifiedAlpha();
    ExpectSaveFailed(doc, Path("ro/x.alp"), Text(res::kSaveAccessDenied, "x.alp"));
    EXPECT_FALSE(QFile::exists(Path("ro/x.alp")));
}

// A library file and a SysEx file say the same of a name the disk cannot take.
TEST_F(DocManagerTest, SaveUnderANameTooLongForTheDiskSaysSo)
{
    CDocument* doc = ModifiedAlpha();
    const QString name = QString(300, QLatin1Char('n')) + ".alp";
    ExpectSaveFailed(doc, Path(name), Text(res::kSaveNameTooLong, name));
}

TEST_F(DocManagerTest, OpenRefusesWhatIsNotARegularFileWithoutWaitingOnIt)
{
    ASSERT_EQ(::mkfifo(Path("pipe.alp").toLocal8Bit().constData(), 0644), 0);
    ASSERT_EQ(::symlink("pipe.alp", Path("to-pipe.alp").toLocal8Bit().constData()), 0);
    CMessageBoxRecorder boxes;
    // No writer ever comes: an open() that waited would never return.
    ASSERT_EQ(m_pManager->OpenDocumentFile(Path("pipe.alp")), nullptr);
    ASSERT_EQ(m_pManager->OpenDocumentFile(Path("to-pipe.alp")), nullptr);
    // Endless: reading it would fill memory.
    ASSERT_EQ(::symlink("/dev/zero", Path("zero.alp").toLocal8Bit().constData()), 0);
    EXPECT_EQ(m_pManager->OpenDocumentFile(Path("zero.alp")), nullptr);
    EXPECT_EQ(boxes.m_texts, (std::vector<std::string>{Text(res::kOpenNotRegularFile, "pipe.alp"),
                                                       Text(res::kOpenNotRegularFile, "to-pipe.alp"),
                                                       Text(res::kOpenNotRegularFile, "zero.alp")}));
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
    EXPECT_EQ(WindowCount(), 0);
}

TEST_F(DocManagerTest, OpenRefusesAFileLargerThanItsKindUnread)
{
    // One byte more than the largest Alpha file, then a huge sparse one.
    WriteBytes(Path("long.alp"), kAlphaMagic + "abcd" + "x");
    CMessageBoxRecorder boxes;
    ASSERT_EQ(m_pManager->OpenDocumentFile(Path("long.alp")), nullptr);
    {
        QFile huge(Path("huge.alp"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.write(QByteArray::fromStdString(kAlphaMagic + "abcd")) == 12);
        ASSERT_TRUE(huge.resize(qint64(1536) << 20));
    }
    EXPECT_EQ(m_pManager->OpenDocumentFile(Path("huge.alp")), nullptr);
    EXPECT_EQ(boxes.m_texts,
              (std::vector<std::string>{"Unexpected file format.", "Unexpected file format."}));
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
}

TEST_F(DocManagerTest, ClosingTheWindowOfAModifiedDocumentAsksFirst)
{
    CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    doc->SetModifiedFlag(true);
    CChildFrame* frame = FrameOf(doc);
    {
        CMessageBoxRecorder cancel(IDCANCEL);
        frame->close();
        ASSERT_EQ(cancel.m_texts, std::vector<std::string>{"Save changes to Alpha1?"});
        EXPECT_EQ(cancel.m_types[0], MB_YESNOCANCEL);
    }
    EXPECT_EQ(m_pManager->GetDocuments().size(), 1u);
    EXPECT_FALSE(frame->isHidden());
    {
        // Yes, but the name dialog is cancelled: the window stays too.
        CFileDialogScript files;
        CMessageBoxRecorder yes(IDYES);
        frame->close();
        EXPECT_EQ(files.m_requests.size(), 1u);
        EXPECT_EQ(m_pManager->GetDocuments().size(), 1u);
    }
    {
        CFileDialogScript files;
        files.m_answers = {Path("kept.alp")};
        CMessageBoxRecorder yes(IDYES);
        frame->close();
        EXPECT_EQ(ReadBytes(Path("kept.alp")), kAlphaMagic + std::string("\x01\x02\x03\x04"));
        EXPECT_TRUE(m_pManager->GetDocuments().empty());
    }
    FlushDeletes();
    EXPECT_EQ(WindowCount(), 0);

    // No: closes without saving.
    CDocument* other = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    other->SetModifiedFlag(true);
    CMessageBoxRecorder no(IDNO);
    FrameOf(other)->close();
    EXPECT_EQ(no.m_texts.size(), 1u);
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
}

TEST_F(DocManagerTest, UnmodifiedDocumentClosesWithoutAQuestionAndItsViewGoesFirst)
{
    CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    QPointer<CScrollView> view = FrameOf(doc)->GetActiveView();
    bool bViewAliveAtDocDestruction = true;
    const int token = CDocument::AddDestroyListener([&](CDocument* d) {
        if (d == doc)
            bViewAliveAtDocDestruction = !view.isNull();
    });
    CMessageBoxRecorder boxes;
    m_pFrame->RouteCommand(ID_FILE_CLOSE);
    CDocument::RemoveDestroyListener(token);
    EXPECT_TRUE(boxes.m_texts.empty());
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
    EXPECT_FALSE(bViewAliveAtDocDestruction);
}

// Every way a window goes ends the same: its document goes with it, the
// manager and the main frame stay usable.
TEST_F(DocManagerTest, AWindowDestroyedWithoutClosingTakesItsDocumentAlong)
{
    const auto& templates = m_pManager->GetTemplates();
    auto kinds = [&](size_t i) { return templates[i].get(); };
    CDocument* first = m_pManager->OpenNewDocument(kinds(0));
    CDocument* second = m_pManager->OpenNewDocument(kinds(1));
    first->SetModifiedFlag(true); // no question: the window is already gone
    CMessageBoxRecorder boxes;
    delete FrameOf(first);
    EXPECT_EQ(m_pManager->GetDocuments(), std::vector<CDocument*>{second});
    EXPECT_EQ(WindowCount(), 1);
    m_pManager->CloseDocument(second);
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
    EXPECT_EQ(m_pFrame->GetActiveDocument(), nullptr);
    EXPECT_TRUE(boxes.m_texts.empty());
    // And the next window opens as ever.
    CDocument* third = m_pManager->OpenNewDocument(kinds(0));
    ASSERT_NE(FrameOf(third), nullptr);
    EXPECT_EQ(m_pFrame->GetActiveDocument(), third);
}

TEST_F(DocManagerTest, ClosingTheMainWindowAsksForEveryModifiedDocument)
{
    CDocument* a = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    CDocument* b = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[1].get());
    m_pManager->OpenNewDocument(m_pManager->GetTemplates()[1].get()); // unmodified: no question
    a->SetModifiedFlag(true);
    b->SetModifiedFlag(true);
    {
        // Cancel on the second stops the close; nothing is closed.
        std::vector<std::string> asked;
        int n = 0;
        auto previous = SetMessageBoxHandler([&](const std::string& text, unsigned) {
            asked.push_back(text);
            return ++n == 1 ? IDNO : IDCANCEL;
        });
        EXPECT_FALSE(m_pFrame->close());
        SetMessageBoxHandler(previous);
        EXPECT_EQ(asked, (std::vector<std::string>{"Save changes to Alpha1?", "Save changes to Beta1?"}));
        EXPECT_EQ(m_pManager->GetDocuments().size(), 3u);
    }
    CMessageBoxRecorder no(IDNO);
    EXPECT_TRUE(m_pFrame->close());
    EXPECT_EQ(no.m_texts.size(), 2u);
    EXPECT_TRUE(m_pManager->GetDocuments().empty());
}

TEST_F(DocManagerTest, RecentFileListKeepsTheFourLatestInTheProfile)
{
    for (const char* name : {"1.alp", "2.alp", "3.alp", "4.alp", "5.alp"})
        WriteBytes(Path(name), kAlphaMagic + "abcd");
    for (const char* name : {"1.alp", "2.alp", "3.alp", "4.alp", "5.alp"})
        ASSERT_NE(m_pManager->OpenDocumentFile(Path(name)), nullptr);
    // Opening one already listed moves it to the top.
    m_pManager->CloseAllDocuments();
    ASSERT_NE(m_pManager->OpenDocumentFile(Path("3.alp")), nullptr);
    const std::vector<std::string> expected{Path("3.alp").toStdString(), Path("5.alp").toStdString(),
                                            Path("4.alp").toStdString(), Path("2.alp").toStdString()};
    EXPECT_EQ(m_pManager->GetRecentFiles(), expected);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetProfileString("Recent File List", "File" + std::to_string(i + 1)), expected[size_t(i)]);

    CDocManager reloaded;
    reloaded.LoadRecentFileList();
    EXPECT_EQ(reloaded.GetRecentFiles(), expected);

    // A save adds its file too, on top of what another instance added meanwhile.
    reloaded.AddToRecentFileList(Path("other.alp").toStdString());
    CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    CFileDialogScript files;
    files.m_answers = {Path("saved.alp")};
    ASSERT_TRUE(m_pManager->DoSave(doc, false));
    const std::vector<std::string> merged{Path("saved.alp").toStdString(), Path("other.alp").toStdString(),
                                          expected[0], expected[1]};
    EXPECT_EQ(m_pManager->GetRecentFiles(), merged);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetProfileString("Recent File List", "File" + std::to_string(i + 1)), merged[size_t(i)]);
}

TEST_F(DocManagerTest, ModifiedMarkFollowsTheDocument)
{
    CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get());
    CChildFrame* frame = FrameOf(doc);
    EXPECT_FALSE(frame->isWindowModified());
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(frame->isWindowModified());
    doc->SetModifiedFlag(false);
    EXPECT_FALSE(frame->isWindowModified());
}

} // namespace
} // namespace vantorel::test
