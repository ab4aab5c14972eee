// The whole synthesizer at once: Get Everything against the simulator, Back
// Up To Folder, and the question when the program ends with several modified
// documents.
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTemporaryDir>

#include <cstring>

#include "app/AppTestSupport.h"
#include "app/DocKinds.h"
#include "app/Resource.h"
#include "data/PatchDoc.h"
#include "sim/service/SimMidiService.h"
#include "support/FileDialogScript.h"
#include "support/GuiTestPeers.h"
#include "support/MessageBoxRecorder.h"
#include "transfer/TransferDlg.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::test {
namespace {

// Answers message boxes from a queue (IDOK once it is empty) and keeps what they said.
class CScriptedBoxes {
public:
    explicit CScriptedBoxes(std::vector<int> answers) : m_answers(std::move(answers))
    {
        m_previous = SetMessageBoxHandler([this](const std::string& text, unsigned type) {
            m_texts.push_back(text);
            m_types.push_back(type);
            const int answer = m_answers.empty() ? IDOK : m_answers.front();
            if (!m_answers.empty())
                m_answers.erase(m_answers.begin());
            return answer;
        });
    }
    ~CScriptedBoxes() { SetMessageBoxHandler(m_previous); }
    std::vector<int> m_answers;
    std::vector<std::string> m_texts;
    std::vector<unsigned> m_types;

private:
    MessageBoxHandler m_previous;
};

using WholeSynthTest = AppStartTest;

// One confirmation, then each kind into its own window; the patterns' answers
// stop coming, so the series ends there with one message naming the kind and
// the entry, and the windows already filled stay.
TEST_F(WholeSynthTest, GetEverythingFillsAWindowPerKindAndStopsAtAFailureKeepingWhatArrived)
{
    CSimDevice device;
    CSimMidiService sim(device);
    CMidiService::Install(&sim);
    StartApp();
    CScriptedBoxes boxes({IDOK});
    QStringList statusLines;
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        // The patterns' Get: from here on the synthesizer answers nothing.
        if (DocumentKinds().Of(*Frame()->GetActiveDocument()) == DocumentKinds().FromWord("pattern"))
            sim.Faults().m_nDropEvery = 1;
        for (int i = 0; i < 20'000 && !d->isHidden(); ++i) {
            m_clock.AdvanceMs(50);
            if (i == 10)
                statusLines << Frame()->statusBar()->currentMessage();
        }
        if (!d->isHidden())
            d->ClickButton(IDOK); // "Complete!" (never expected here)
    });
    Frame()->CommandAction(ID_GET_EVERYTHING)->trigger();
    CDialogTestPeer::SetModalHook({});
    CMidiService::Install(&m_midi);

    ASSERT_EQ(boxes.m_texts.size(), 2u) << "the question, then the one failure";
    EXPECT_EQ(boxes.m_types[0], unsigned(MB_OKCANCEL));
    EXPECT_EQ(boxes.m_texts[1].rfind(
                  "Get Everything stopped while getting the patterns, at C#2. The KQ-3300 did not "
                  "answer",
                  0),
              0u)
        << boxes.m_texts[1];
    // Patches, performances and the system arrived; the empty pattern window went.
    const std::vector<CDocument*> docs = m_pApp->GetDocManager().GetDocuments();
    ASSERT_EQ(docs.size(), 3u);
    for (size_t k = 0; k < docs.size(); ++k)
        EXPECT_EQ(DocumentKinds().Of(*docs[k]), DocumentKinds().All()[k]);
    const auto* patches = dynamic_cast<const CPatchDoc*>(docs[0]);
    ASSERT_TRUE(patches);
    for (int i : {0, 127})
        EXPECT_EQ(
            0, std::memcmp(patches->m_aPatch[size_t(i)].Data(), device.Patch(i).data(), CPatchRecord::kSize));
    // The status bar counted the whole series, with the time left.
    ASSERT_FALSE(statusLines.isEmpty());
    EXPECT_TRUE(statusLines[0].startsWith(QStringLiteral("Get Everything "))) << statusLines[0].toStdString();
    EXPECT_TRUE(statusLines[0].contains(QStringLiteral(" s left"))) << statusLines[0].toStdString();
}

// Tile puts the five list windows side by side at their content widths,
// each over the whole height of the workspace.
TEST_F(WholeSynthTest, TileLinesTheListWindowsUpOverTheWholeHeight)
{
    StartApp();
    Frame()->resize(1400, 800);
    CDocManager& mgr = m_pApp->GetDocManager();
    for (const auto& t : mgr.GetTemplates())
        mgr.OpenNewDocument(t.get());
    Frame()->CommandAction(ID_WINDOW_TILE_VERT)->trigger();
    const QRect area = Frame()->GetMdiArea()->viewport()->rect();
    int x = area.left();
    for (QMdiSubWindow* w : Frame()->GetMdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        EXPECT_EQ(w->geometry().topLeft(), QPoint(x, area.top())) << w->windowTitle().toStdString();
        EXPECT_EQ(w->height(), area.height());
        x = w->geometry().right() + 1;
    }
    EXPECT_EQ(x, area.right() + 1);
}

// Back Up To Folder writes one file per open kind, named as the command line
// names them, into a new folder; the windows keep their own names and changes,
// and a kind with no window open is said.
TEST_F(WholeSynthTest, BackUpWritesTheOpenWindowsAsTheBackupFilesOfANewFolder)
{
    StartApp();
    CDocManager& mgr = m_pApp->GetDocManager();
    CDocument* patches = mgr.OpenNewDocument(mgr.GetTemplates()[0].get());
    mgr.OpenNewDocument(mgr.GetTemplates()[2].get());
    patches->SetModifiedFlag(true);
    QTemporaryDir dir;
    CFileDialogScript files;
    files.m_answers = {dir.filePath("night/backup")};
    CScriptedBoxes boxes({});
    Frame()->UpdateAllCmdUI();
    Frame()->CommandAction(ID_BACK_UP_TO_FOLDER)->trigger();

    ASSERT_EQ(files.m_requests.size(), 1u);
    EXPECT_TRUE(files.m_requests[0].strDefaultName.startsWith(QStringLiteral("KQ-3300 backup 20")));
    EXPECT_EQ(QDir(dir.filePath("night/backup")).entryList(QDir::Files),
              (QStringList{"patch.pat", "system.syp"}));
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_NE(boxes.m_texts[0].find("No window of performances, patterns, motions was open"),
              std::string::npos)
        << boxes.m_texts[0];
    EXPECT_EQ(patches->GetTitle(), "Patch1");
    EXPECT_TRUE(patches->IsModified());
    CDocument* reopened = mgr.OpenDocumentFile(dir.filePath("night/backup/patch.pat"));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(DocumentKinds().Of(*reopened), DocumentKinds().All()[0]);
}

// Ending with several modified documents asks about each, with "Save All"
// first; Save All saves that one and the ones after it, naming the new ones.
TEST_F(WholeSynthTest, EndingWithSeveralModifiedDocumentsOffersSaveAll)
{
    StartApp();
    CDocManager& mgr = m_pApp->GetDocManager();
    for (int i = 0; i < 3; ++i)
        mgr.OpenNewDocument(mgr.GetTemplates()[0].get())->SetModifiedFlag(true);
    QTemporaryDir dir;
    CFileDialogScript files;
    files.m_answers = {dir.filePath("two.pat"), dir.filePath("three.pat")};
    CScriptedBoxes boxes({IDNO, IDSAVEALL});
    Frame()->CommandAction(ID_APP_EXIT)->trigger();

    EXPECT_EQ(boxes.m_texts,
              (std::vector<std::string>{"Save changes to Patch1?", "Save changes to Patch2?"}));
    EXPECT_EQ(boxes.m_types, (std::vector<unsigned>{MB_SAVEALLYESNOCANCEL, MB_SAVEALLYESNOCANCEL}));
    EXPECT_EQ(files.m_requests.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"three.pat", "two.pat"}));
    EXPECT_FALSE(Frame()->isVisible());
}

} // namespace
} // namespace vantorel::test
