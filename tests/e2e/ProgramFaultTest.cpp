// The whole program over JACK when things go wrong: a simulator that drops,
// corrupts, delays and interleaves its answers, and a JACK server that dies
// in the middle of a transfer. Transfers either complete with exactly the
// source's bytes or are reported; nothing wrong is ever stored, and the
// program stays usable.
#include "e2e/ProgramFixture.h"

#include <gmock/gmock.h>

#include "res/strings/midi.h"
#include "views/MotionView.h"
#include "views/PatchView.h"

namespace vantorel::e2e {
namespace {

using ProgramFaults = CProgramTest;

// Every answer-fault fixed-block retry costs a one-second time-out.
constexpr int kFaultyTransferLimitMs = 240'000;
constexpr int kReportWaitMs = 15'000;

std::vector<int> DifferingMotions(const CMotionDoc& doc, const CSimDevice& sim)
{
    std::vector<int> diff;
    for (int m = 0; m < CMotionDoc::kMotionCount; ++m) {
        const CMotionEntry& e = doc.m_aMotion[size_t(m)];
        if (e.m_byValue != sim.Motion(m).m_nValue || e.GetBytes() != sim.Motion(m).m_data)
            diff.push_back(m);
    }
    return diff;
}

std::string Joined(const std::vector<std::string>& texts)
{
    std::string out;
    for (const std::string& t : texts)
        out += "[" + t + "] ";
    return out;
}

// A bank unlike both the factory memory and the initial patches: the
// factory patches in reverse order, each renamed.
void Scramble(CPatchDoc& doc, const CSimDevice& factory)
{
    for (int i = 0; i < CPatchDoc::kPatchCount; ++i) {
        CPatchRecord& r = doc.m_aPatch[size_t(i)];
        std::memcpy(r.Data(), factory.Patch(CPatchDoc::kPatchCount - 1 - i).data(), CPatchRecord::kSize);
        r.SetName("Scrambled " + std::to_string(i));
    }
    doc.SetModifiedFlag(true);
}

// The answers of a simulator started with every fault at once: drop every
// 7th, corrupt every 11th, a stray data set before every 5th, every 13th 1.5 s
// late (after the program's one-second time-out).
TEST_F(ProgramFaults, PatchBankGetAndSendThroughEveryAnswerFault)
{
    ASSERT_NO_FATAL_FAILURE(
        StartAll({"--drop", "7", "--corrupt", "11", "--stray", "5", "--late", "13:1500"}));
    m_nTransferLimitMs = kFaultyTransferLimitMs;
    auto* a = FileNew<CPatchDoc>(ENewKind::Patch);
    ASSERT_NE(a, nullptr);
    ASSERT_NO_FATAL_FAILURE(GetPatchBankWatched(a, ID_GET_PATCH_BANK));

    Scramble(*a, m_factory);
    ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_SEND_PATCH_BANK, false));
    auto sim = SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_EQ(DifferingPatches(*a, *sim), std::vector<int>{});
}

// Motions: items of any length in packets, where silence after a full
// packet ends an item. A Get of the factory motions takes 11 answers (4
// values; packets 1, 2, 0 and 4), so two Gets from a fresh simulator are
// sure to meet every fault counted up to 22. The program asks again only
// once before it takes silence for the end of an item, but a damaged answer
// is not silence: all four faults at once put a lost answer (21) right next
// to a damaged one (22).
TEST_F(ProgramFaults, MotionsGetAndSendThroughEachAnswerFault)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    m_nTransferLimitMs = kFaultyTransferLimitMs;
    const QStringList faults[] = {
        {"--drop", "7", "--stray", "5"},
        {"--corrupt", "11", "--late", "13:1500"},
        {"--drop", "7", "--corrupt", "11", "--stray", "5", "--late", "13:1500"},
    };
    for (const QStringList& fault : faults) {
        SCOPED_TRACE(fault.join(' ').toStdString());
        ASSERT_NO_FATAL_FAILURE(RestartSim(fault));
        CMotionDoc* doc = nullptr;
        for (int nPass = 0; nPass < 2; ++nPass) {
            doc = FileNew<CMotionDoc>(ENewKind::Motion);
            ASSERT_NE(doc, nullptr);
            const CMotionDoc fresh;
            int nBad = -1;
            CStoreWatch watch(doc, [&] {
                for (int m = 0; m < CMotionDoc::kMotionCount; ++m) {
                    const CMotionEntry& e = doc->m_aMotion[size_t(m)];
                    const CSimItem& s = m_factory.Motion(m);
                    const bool bPrefix =
                        e.GetSize() <= s.m_data.size() &&
                        std::equal(e.GetBytes().begin(), e.GetBytes().end(), s.m_data.begin());
                    if (!(e == fresh.m_aMotion[size_t(m)]) &&
                        !(bPrefix && (e.m_byValue == 1 || e.m_byValue == s.m_nValue)))
                        nBad = m;
                }
            });
            ASSERT_NO_FATAL_FAILURE(BankTransfer(doc, ID_GET_MOTION, true));
            EXPECT_EQ(nBad, -1) << "motion " << nBad << " held bytes it was never sent";
            EXPECT_EQ(DifferingMotions(*doc, m_factory), std::vector<int>{});
        }

        // Back out in another order, with other values.
        std::reverse(doc->m_aMotion.begin(), doc->m_aMotion.end());
        for (int m = 0; m < CMotionDoc::kMotionCount; ++m)
            doc->m_aMotion[size_t(m)].m_byValue = uint8_t(20 + m);
        ASSERT_NO_FATAL_FAILURE(BankTransfer(doc, ID_SEND_MOTION, false));
        auto sim = SimMemory();
        ASSERT_TRUE(sim);
        EXPECT_EQ(DifferingMotions(*doc, *sim), std::vector<int>{});
    }
}

// The JACK server dies while a bank is being fetched.
TEST_F(ProgramFaults, JackServerKilledDuringGet)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    auto* a = FileNew<CPatchDoc>(ENewKind::Patch);
    ASSERT_NE(a, nullptr);
    const CPatchRecord initial;
    constexpr int kKillAfter = 40;

    // Leading records that hold the simulator's patch.
    auto fetched = [&] {
        int n = 0;
        while (n < CPatchDoc::kPatchCount &&
               SameBytes(a->m_aPatch[size_t(n)].Data(), m_factory.Patch(n).data(), CPatchRecord::kSize))
            ++n;
        return n;
    };
    // The loss shows as the next port call fails: the output, if the server's
    // end has been noticed by then, or else the reopening after the answer's
    // time-out, when the server's ports are no longer listed.
    // Every message names the chosen device by its name with its number beside it.
    const std::string device = "(device " + std::to_string(m_nOutDevice) + ")";
    const std::string missing = device + " is not available.";
    auto FirstError = [&](size_t nFrom) -> const std::string* {
        for (size_t i = nFrom; i < Boxes().size(); ++i)
            if (Boxes()[i] != res::kConfirmGet)
                return &Boxes()[i];
        return nullptr;
    };
    bool bKilled = false;
    bool bReported = false;
    bool bEnded = false;
    size_t nBoxesBefore = Boxes().size();
    m_onTransfer = [&](CTransferDlg* t) {
        nBoxesBefore = Boxes().size();
        {
            // Killed from inside the program's own store of a record, so the
            // transfer is surely under way.
            CStoreWatch watch(a, [&] {
                if (!bKilled && fetched() >= kKillAfter) {
                    bKilled = true;
                    m_rig.KillServer();
                }
            });
            t->ClickButton(IDOK);
            (void)QTest::qWaitFor([&] { return bKilled || t->IsEnded(); }, kReportWaitMs);
        }
        bReported = QTest::qWaitFor([&] { return FirstError(nBoxesBefore) != nullptr; }, kReportWaitMs);
        // The user gives up.
        t->Progress().ClickButton(IDCANCEL);
        bEnded = t->IsEnded();
        if (!bEnded)
            t->EndDialog(IDCANCEL);
    };
    ASSERT_NO_FATAL_FAILURE(Activate(a));
    ASSERT_NO_FATAL_FAILURE(Command(ID_GET_PATCH_BANK));
    m_onTransfer = nullptr;
    ASSERT_TRUE(bKilled) << "the transfer ended before the server could be killed";
    ASSERT_TRUE(bReported) << "no message said the JACK server is gone; messages: " << Joined(Boxes());
    EXPECT_THAT(*FirstError(nBoxesBefore),
                ::testing::AllOf(::testing::HasSubstr(device),
                                 ::testing::AnyOf(::testing::HasSubstr(res::kJackNotRunning),
                                                  ::testing::HasSubstr(missing))));
    EXPECT_EQ(std::count_if(Boxes().begin() + std::ptrdiff_t(nBoxesBefore), Boxes().end(),
                            [](const std::string& b) { return b != res::kConfirmGet; }),
              1)
        << "one failure, one message: " << Joined(Boxes());
    EXPECT_TRUE(bEnded) << "Cancel did not end the transfer";
    EXPECT_EQ(m_nComplete, 0);

    // What was fetched before the kill is intact; the rest is as it was.
    const int nFetched = fetched();
    EXPECT_GE(nFetched, kKillAfter);
    for (int i = nFetched; i < CPatchDoc::kPatchCount; ++i) {
        EXPECT_EQ(a->m_aPatch[size_t(i)], initial) << i;
    }

    // The program goes on: the bank saves, File New works, and another Get
    // says again that the server is gone and can be cancelled.
    const QString path = Path("rescued.pat");
    ASSERT_NO_FATAL_FAILURE(Save(a, path));
    std::vector<uint8_t> body;
    for (const CPatchRecord& r : a->m_aPatch)
        body.insert(body.end(), r.Data(), r.Data() + CPatchRecord::kSize);
    EXPECT_EQ(FileBody(path, kTypePatch), body);

    // With the server gone its ports are no longer listed: the device
    // chosen in MIDI Setup is reported missing.
    auto* b = FileNew<CPatchDoc>(ENewKind::Patch);
    ASSERT_NE(b, nullptr);
    bool bAgainReported = false;
    bool bAgainEnded = false;
    m_onTransfer = [&](CTransferDlg* t) {
        const size_t n = Boxes().size();
        t->ClickButton(IDOK);
        bAgainReported = QTest::qWaitFor(
            [&] {
                return std::any_of(
                    Boxes().begin() + std::ptrdiff_t(n), Boxes().end(),
                    [&](const std::string& b) { return b.find(missing) != std::string::npos; });
            },
            kReportWaitMs);
        EXPECT_FALSE(t->IsTransferring());
        t->ClickButton(IDCANCEL);
        bAgainEnded = t->IsEnded();
        if (!bAgainEnded)
            t->EndDialog(IDCANCEL);
    };
    ASSERT_NO_FATAL_FAILURE(Command(ID_GET_PATCH_BANK));
    m_onTransfer = nullptr;
    EXPECT_TRUE(bAgainReported) << Joined(Boxes());
    EXPECT_TRUE(bAgainEnded);
    for (const CPatchRecord& r : b->m_aPatch) {
        EXPECT_EQ(r, initial);
    }
    ASSERT_NO_FATAL_FAILURE(Save(b, Path("empty.pat")));

    // MIDI Setup still opens; of the simulator's ports only the chosen one stays, not available.
    QStringList ins;
    m_onMidiSetup = [&](CDialog* d) {
        QListWidget* list = d->GetListBox(IDC_MIDI_IN_LIST);
        for (int i = 0; i < list->count(); ++i)
            ins << list->item(i)->text();
        d->ClickButton(IDCANCEL);
    };
    ASSERT_NO_FATAL_FAILURE(Command(ID_MIDI_SETUP));
    EXPECT_EQ(ins, (QStringList{QStringLiteral("KQ-3300 Simulator"),
                                QString::fromStdString(SimName() + ":out (not available)")}));
}

// The JACK server dies while a bank is being sent: the program must not say
// "Complete!" for data that never left.
TEST_F(ProgramFaults, JackServerKilledDuringSend)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    auto* a = FileNew<CPatchDoc>(ENewKind::Patch);
    ASSERT_NE(a, nullptr);
    Scramble(*a, m_factory);
    const auto before = a->m_aPatch;
    bool bKilled = false;
    bool bReported = false;
    size_t nMessages = 0;
    m_onTransfer = [&](CTransferDlg* t) {
        const size_t n = Boxes().size();
        t->ClickButton(IDOK);
        // A few data sets go out, then the server dies.
        QTest::qWait(1000);
        m_rig.KillServer();
        bKilled = true;
        // The Send stops by itself with one message that names the device.
        const std::string device = "(device " + std::to_string(m_nOutDevice) + ")";
        bReported = QTest::qWaitFor(
            [&] {
                return std::any_of(Boxes().begin() + std::ptrdiff_t(n), Boxes().end(),
                                   [&](const std::string& b) { return b.find(device) != std::string::npos; });
            },
            kReportWaitMs);
        QTest::qWait(1500); // time for a second message, should one come
        nMessages = Boxes().size() - n;
        if (!t->IsEnded())
            t->Progress().ClickButton(IDCANCEL);
        if (!t->IsEnded())
            t->EndDialog(IDCANCEL);
    };
    ASSERT_NO_FATAL_FAILURE(Command(ID_SEND_PATCH_BANK));
    m_onTransfer = nullptr;
    ASSERT_TRUE(bKilled);
    EXPECT_TRUE(bReported) << "the lost server was not reported: " << Joined(Boxes());
    EXPECT_EQ(nMessages, 2u) << "the backup question and one message: " << Joined(Boxes());
    EXPECT_EQ(m_nComplete, 0) << "\"Complete!\" for a send that never arrived";
    EXPECT_EQ(a->m_aPatch, before) << "a Send changes nothing in the document";
    ASSERT_NO_FATAL_FAILURE(Save(a, Path("kept.pat")));
}

// The device's own client dies while a bank is being sent; the server
// stays. The output's connection is gone, so the Send must stop with one
// message, not end in "Complete!".
TEST_F(ProgramFaults, DeviceClientKilledDuringSend)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    auto* a = FileNew<CPatchDoc>(ENewKind::Patch);
    ASSERT_NE(a, nullptr);
    Scramble(*a, m_factory);
    bool bKilled = false;
    size_t nBoxesBefore = 0;
    m_onTransfer = [&](CTransferDlg* t) {
        t->ClickButton(IDOK); // and the backup warning is confirmed
        nBoxesBefore = Boxes().size();
        QTest::qWait(3000);
        ASSERT_FALSE(t->IsEnded()) << "the Send was over before the device went";
        m_rig.Sim().kill();
        m_rig.Sim().waitForFinished(CJackRig::kStopTimeoutMs);
        bKilled = true;
        (void)QTest::qWaitFor([&] { return Boxes().size() > nBoxesBefore || t->IsEnded(); }, kReportWaitMs);
        // Time for a second message, should one come.
        QTest::qWait(1500);
        if (!t->IsEnded())
            t->Progress().ClickButton(IDCANCEL);
        if (!t->IsEnded())
            t->EndDialog(IDCANCEL);
    };
    ASSERT_NO_FATAL_FAILURE(Command(ID_SEND_PATCH_BANK));
    m_onTransfer = nullptr;
    ASSERT_TRUE(bKilled);
    EXPECT_EQ(Boxes().size() - nBoxesBefore, 1u) << "messages: " << Joined(Boxes());
    EXPECT_EQ(m_nComplete, 0) << "\"Complete!\" for a send the device never received";
}

} // namespace
} // namespace vantorel::e2e
