// MIDI Setup and Preview Setup: lists by device number, selections written to
// the profile on OK only; the three preview fields checked in their order,
// with the message, the focus on the offending field and the dialog kept open.
#include <QLineEdit>
#include <QListWidget>

#include "app/AppTestSupport.h"
#include "app/Resource.h"
#include "app/SetupDialogs.h"
#include "support/MessageBoxRecorder.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {
namespace {

using SetupDialogsTest = AppTest;

QStringList Rows(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

int Selected(const QListWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.front());
}

TEST_F(SetupDialogsTest, MidiSetupListsDevicesByNumberAndWritesBothOnOk)
{
    WriteProfileInt("MIDI", "MidiInDevice", 2);
    WriteProfileInt("MIDI", "MidiOutDevice", 1);
    MakeFrame();
    QStringList ins, outs;
    int inSel = -2, outSel = -2;
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
        EXPECT_EQ(dlg->GetTemplate().nId, IDD_MIDI_SETUP);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("MIDI Setup"));
        ins = Rows(dlg->GetListBox(IDC_MIDI_IN_LIST));
        outs = Rows(dlg->GetListBox(IDC_MIDI_OUT_LIST));
        inSel = Selected(dlg->GetListBox(IDC_MIDI_IN_LIST));
        outSel = Selected(dlg->GetListBox(IDC_MIDI_OUT_LIST));
        dlg->GetListBox(IDC_MIDI_IN_LIST)->setCurrentRow(0);
        dlg->ClickButton(IDOK);
    });
    m_pFrame->CommandAction(ID_MIDI_SETUP)->trigger();
    EXPECT_EQ(ins, (QStringList{"In A", "In B", "In C"}));
    EXPECT_EQ(outs, (QStringList{"Out A", "Out B"}));
    EXPECT_EQ(inSel, 2);
    EXPECT_EQ(outSel, 1);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -9), 0);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiOutDevice", -9), 1);
    EXPECT_EQ(GetProfileString("MIDI", "MidiInName"), "In A");
    EXPECT_EQ(GetProfileString("MIDI", "MidiOutName"), "Out B");
    EXPECT_EQ(m_pFrame->m_nMidiInDevice, 0);
    EXPECT_EQ(m_pFrame->m_nMidiOutDevice, 1);
}

TEST_F(SetupDialogsTest, MidiSetupCancelChangesNothingAndOkWithoutChangeKeepsTheNumbers)
{
    WriteProfileInt("MIDI", "MidiInDevice", 1);
    WriteProfileInt("MIDI", "MidiOutDevice", 0);
    MakeFrame();
    CDialogTestPeer::SetModalHook([](CDialog* dlg) {
        dlg->GetListBox(IDC_MIDI_IN_LIST)->setCurrentRow(2);
        dlg->ClickButton(IDCANCEL);
    });
    m_pFrame->CommandAction(ID_MIDI_SETUP)->trigger();
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -9), 1);
    EXPECT_EQ(GetProfileString("MIDI", "MidiInName"), "");

    CDialogTestPeer::SetModalHook([](CDialog* dlg) { dlg->ClickButton(IDOK); });
    m_pFrame->CommandAction(ID_MIDI_SETUP)->trigger();
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -9), 1);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiOutDevice", -9), 0);
}

TEST_F(SetupDialogsTest, RemovedDeviceShowsNoSelectionAndOkKeepsItsNumber)
{
    WriteProfileInt("MIDI", "MidiInDevice", 7);
    WriteProfileInt("MIDI", "MidiOutDevice", -1);
    MakeFrame();
    int inSel = -2, outSel = -2;
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
        inSel = Selected(dlg->GetListBox(IDC_MIDI_IN_LIST));
        outSel = Selected(dlg->GetListBox(IDC_MIDI_OUT_LIST));
        dlg->ClickButton(IDOK);
    });
    m_pFrame->CommandAction(ID_MIDI_SETUP)->trigger();
    EXPECT_EQ(inSel, -1);
    EXPECT_EQ(outSel, -1);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", 0), 7);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiOutDevice", 0), -1);
}

// The chosen input is away; "In B" now has its number. The list shows it by
// its name, and OK keeps it.
TEST_F(SetupDialogsTest, AChosenDeviceThatIsAwayIsShownByNameAndKeptOnOk)
{
    WriteProfileInt("MIDI", "MidiInDevice", 1);
    WriteProfileString("MIDI", "MidiInName", "late:out");
    MakeFrame();
    QStringList ins;
    int inSel = -2;
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
        ins = Rows(dlg->GetListBox(IDC_MIDI_IN_LIST));
        inSel = Selected(dlg->GetListBox(IDC_MIDI_IN_LIST));
        dlg->ClickButton(IDOK);
    });
    m_pFrame->CommandAction(ID_MIDI_SETUP)->trigger();
    EXPECT_EQ(ins, (QStringList{"In A", "In B", "In C", "late:out (not available)"}));
    EXPECT_EQ(inSel, 3);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -9), 1);
    EXPECT_EQ(GetProfileString("MIDI", "MidiInName"), "late:out");
}

// Each listing of a backend walks all its ports: MIDI Setup lists them a few
// times in all, not once per device (600 JACK ports took half a minute).
TEST_F(SetupDialogsTest, MidiSetupListsTheDevicesAFewTimesHoweverManyThereAre)
{
    MakeFrame();
    m_midi.m_ins.assign(40, "In");
    m_midi.m_outs.assign(40, "Out");
    int nRows = 0;
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
        nRows = dlg->GetListBox(IDC_MIDI_IN_LIST)->count() + dlg->GetListBox(IDC_MIDI_OUT_LIST)->count();
        dlg->ClickButton(IDCANCEL);
    });
    m_midi.m_nListings = 0;
    m_pFrame->CommandAction(ID_MIDI_SETUP)->trigger();
    EXPECT_EQ(nRows, 80);
    EXPECT_LE(m_midi.m_nListings, 4);
}

// A device whose name cannot be read keeps its row, empty. This service
// names its devices one by one.
class CNamelessService : public CFakeMidiService {
public:
    std::vector<std::string> InGetDevNames() override { return CMidiService::InGetDevNames(); }
    MMRESULT InGetDevName(unsigned n, std::string& name) override
    {
        if (n == 1)
            return MMSYSERR_NODRIVER;
        return CFakeMidiService::InGetDevName(n, name);
    }
};

TEST_F(SetupDialogsTest, UnreadableDeviceNameKeepsItsPosition)
{
    CNamelessService service;
    service.m_ins = {"First", "Second", "Third"};
    CMidiService::Install(&service);
    CMidiSetupDlg dlg;
    dlg.m_nInSelection = 2;
    QStringList rows;
    int sel = -2;
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        rows = Rows(d->GetListBox(IDC_MIDI_IN_LIST));
        sel = Selected(d->GetListBox(IDC_MIDI_IN_LIST));
        d->ClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(rows, (QStringList{"First", "", "Third"}));
    EXPECT_EQ(sel, 2);
    EXPECT_EQ(dlg.m_nInSelection, 2);
    EXPECT_EQ(dlg.m_nOutSelection, -1); // no output devices at all
    CMidiService::Install(&m_midi);
}

// Fills the three fields, presses OK and reports what happened.
struct CPreviewAttempt {
    std::vector<std::string> messages;
    int nFocused = 0; // id of the field with the focus after OK
    bool bEnded = false;
};

CPreviewAttempt TryPreviewValues(CPreviewSetupDlg& dlg, const QString& note, const QString& tone,
                                 const QString& vel)
{
    CPreviewAttempt result;
    dlg.GetEdit(IDC_NOTE_NUMBER)->setText(note);
    dlg.GetEdit(IDC_TONE_LENGTH)->setText(tone);
    dlg.GetEdit(IDC_VELOCITY)->setText(vel);
    CMessageBoxRecorder boxes;
    dlg.ClickButton(IDOK);
    result.messages = boxes.m_texts;
    for (int id : {IDC_NOTE_NUMBER, IDC_TONE_LENGTH, IDC_VELOCITY})
        if (dlg.focusWidget() == dlg.GetEdit(id))
            result.nFocused = id;
    result.bEnded = dlg.IsEnded();
    return result;
}

TEST_F(SetupDialogsTest, PreviewSetupChecksNoteThenToneLengthThenVelocity)
{
    CPreviewSetupDlg dlg;
    dlg.m_nNoteNumber = 61;
    dlg.m_nVelocity = 81;
    dlg.m_nToneLength = 501;
    std::vector<CPreviewAttempt> attempts;
    QStringList initial;
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        initial << dlg.GetEdit(IDC_NOTE_NUMBER)->text() << dlg.GetEdit(IDC_VELOCITY)->text()
                << dlg.GetEdit(IDC_TONE_LENGTH)->text();
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Preview Setup"));
        attempts.push_back(TryPreviewValues(dlg, "x", "y", "z"));
        attempts.push_back(TryPreviewValues(dlg, "128", "y", "z"));
        attempts.push_back(TryPreviewValues(dlg, "-1", "0", "0"));
        attempts.push_back(TryPreviewValues(dlg, "64", "abc", "z"));
        attempts.push_back(TryPreviewValues(dlg, "64", "-20", "z"));
        attempts.push_back(TryPreviewValues(dlg, "64", "-20", "128"));
        attempts.push_back(TryPreviewValues(dlg, " 0 ", "0", "0"));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(initial, (QStringList{"61", "81", "501"}));
    ASSERT_EQ(attempts.size(), 7u);
    const std::string integer = "Please enter an integer.";
    const std::string range = "Please enter an integer between 0 and 127.";
    const struct {
        std::string message;
        int nFocus;
    } expected[] = {{integer, IDC_NOTE_NUMBER}, {range, IDC_NOTE_NUMBER}, {range, IDC_NOTE_NUMBER},
                    {integer, IDC_TONE_LENGTH}, {integer, IDC_VELOCITY},  {range, IDC_VELOCITY}};
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(attempts[i].messages, std::vector<std::string>{expected[i].message});
        EXPECT_EQ(attempts[i].nFocused, expected[i].nFocus);
        EXPECT_FALSE(attempts[i].bEnded);
    }
    // Nothing was copied back by the failures; the last attempt passed.
    EXPECT_TRUE(attempts[6].messages.empty());
    EXPECT_TRUE(attempts[6].bEnded);
    EXPECT_EQ(dlg.m_nNoteNumber, 0);
    EXPECT_EQ(dlg.m_nToneLength, 0);
    EXPECT_EQ(dlg.m_nVelocity, 0);
}

TEST_F(SetupDialogsTest, PreviewSetupCancelLeavesTheFrameAlone)
{
    MakeFrame();
    CDialogTestPeer::SetModalHook([](CDialog* d) {
        d->GetEdit(IDC_NOTE_NUMBER)->setText("10");
        d->ClickButton(IDCANCEL);
    });
    m_pFrame->CommandAction(ID_PREVIEW_SETUP)->trigger();
    EXPECT_EQ(m_pFrame->m_nPreviewNote, 60);

    CDialogTestPeer::SetModalHook([](CDialog* d) {
        d->GetEdit(IDC_NOTE_NUMBER)->setText("10");
        d->GetEdit(IDC_VELOCITY)->setText("20");
        d->GetEdit(IDC_TONE_LENGTH)->setText("30000");
        d->ClickButton(IDOK);
    });
    m_pFrame->CommandAction(ID_PREVIEW_SETUP)->trigger();
    EXPECT_EQ(m_pFrame->m_nPreviewNote, 10);
    EXPECT_EQ(m_pFrame->m_nPreviewVelocity, 20);
    EXPECT_EQ(m_pFrame->m_nPreviewToneLen, 30000);
    // They reach the profile only when the frame goes.
    EXPECT_EQ(GetProfileString("Preview", "NoteNum"), "");
    DestroyFrame();
    EXPECT_EQ(GetProfileInt("Preview", "NoteNum", 0), 10);
    EXPECT_EQ(GetProfileInt("Preview", "ToneLen", 0), 30000);
}

TEST(DialogInt, ReadsWhatTheDialogsAccept)
{
    int n = 0;
    EXPECT_TRUE(ParseDialogInt(" 12 ", n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(ParseDialogInt("+5", n));
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(ParseDialogInt("-2147483648", n));
    EXPECT_EQ(n, INT_MIN);
    EXPECT_TRUE(ParseDialogInt("2147483647", n));
    EXPECT_EQ(n, INT_MAX);
    for (const char* bad :
         {"", " ", "-", "1.5", "12a", "a12", "1 2", "2147483648", "-2147483649", "99999999999999999999999"})
        EXPECT_FALSE(ParseDialogInt(bad, n)) << bad;
}

} // namespace
} // namespace vantorel::test
