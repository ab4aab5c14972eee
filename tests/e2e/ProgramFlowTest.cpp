// The whole program over JACK, kind by kind, as a user works: File New, Get
// of everything, Save, close, open again, edits (rename, initialise, copy
// between two windows), single-entry Get and Send from the pop-up menus, Send
// of everything, and then the simulator's memory compared byte for byte with
// the document and with the file saved from it.
#include "e2e/ProgramFixture.h"

#include <array>

#include "views/MotionView.h"
#include "views/PatchView.h"
#include "views/PatternView.h"
#include "views/PerformView.h"
#include "views/SystemView.h"

namespace vantorel::e2e {
namespace {

using ProgramFlow = CProgramTest;

constexpr int kAuditionWaitMs = 10'000;

// Logical points inside the list rows.
QPoint PatchRow(int r)
{
    return QPoint(60, 16 * r + 8);
}
QPoint PerformanceRow(int p)
{
    return QPoint(60, 32 * p + 16);
}
QPoint PerformancePatchRow(int h)
{
    return QPoint(200, 16 * h + 8);
} // patch h % 2 of performance h / 2
QPoint SystemRow(int r)
{
    return QPoint(60, 16 * r + 8);
}
QPoint ItemRow(int r)
{
    return QPoint(100, 16 * r + 8);
}

std::vector<int> DifferingPerformances(const CPerformDoc& doc, const CSimDevice& sim)
{
    std::vector<int> diff;
    for (int p = 0; p < CPerformDoc::kPerformanceCount; ++p)
        if (!SameBytes(doc.m_aPerform[size_t(p)].Data(), sim.Performance(p).data(), CPerformRecord::kSize))
            diff.push_back(p);
    return diff;
}

bool SameItem(const CVarEntry& e, const CSimItem& s)
{
    return e.m_byValue == s.m_nValue && e.GetBytes() == s.m_data;
}
bool SameItem(const CFileItem& f, const CSimItem& s)
{
    return f.byValue == s.m_nValue && f.data == s.m_data;
}

template <size_t N>
std::vector<int> DifferingItems(const std::array<CPatternEntry, N>& items, const CSimDevice& sim)
{
    std::vector<int> diff;
    for (size_t n = 0; n < N; ++n)
        if (!SameItem(items[n], sim.Pattern(int(n))))
            diff.push_back(int(n));
    return diff;
}

template <size_t N>
std::vector<int> DifferingItems(const std::array<CMotionEntry, N>& items, const CSimDevice& sim)
{
    std::vector<int> diff;
    for (size_t n = 0; n < N; ++n)
        if (!SameItem(items[n], sim.Motion(int(n))))
            diff.push_back(int(n));
    return diff;
}

std::vector<uint8_t> PatchBytes(const CSimDevice& sim)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < sim::kPatchCount; ++i)
        out.insert(out.end(), sim.Patch(i).begin(), sim.Patch(i).end());
    return out;
}

std::vector<uint8_t> PerformanceBytes(const CSimDevice& sim)
{
    std::vector<uint8_t> out;
    for (int p = 0; p < sim::kPerformanceCount; ++p)
        out.insert(out.end(), sim.Performance(p).begin(), sim.Performance(p).end());
    return out;
}

CPatchRecord PatchFrom(const uint8_t* p)
{
    CPatchRecord r;
    std::memcpy(r.Data(), p, CPatchRecord::kSize);
    return r;
}

// The performance an audition of patch sends: the initial performance named
// after the patch, the patch in the first slot.
CPerformRecord AuditionOf(const CPatchRecord& patch)
{
    CPerformRecord r;
    r.m_aPatch[0] = patch;
    r.SetName(patch.GetName());
    return r;
}

TEST_F(ProgramFlow, MidiSetupChoosesTheSimulatorPortsByTheirJackNames)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    // The built-in simulator comes first; the JACK ports follow it.
    ASSERT_FALSE(m_inList.isEmpty());
    EXPECT_EQ(m_inList.front(), QStringLiteral("KQ-3300 Simulator"));
    EXPECT_EQ(m_outList.front(), QStringLiteral("KQ-3300 Simulator"));
    EXPECT_GT(m_nInDevice, 0);
    EXPECT_GT(m_nOutDevice, 0);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -1), m_nInDevice);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiOutDevice", -1), m_nOutDevice);
    EXPECT_EQ(GetProfileString("MIDI", "MidiInName"), SimName() + ":out");
    EXPECT_EQ(GetProfileString("MIDI", "MidiOutName"), SimName() + ":in");

    // The next start of the program finds them in the profile: the dialog
    // opens with them selected.
    StopProgram();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    int nInShown = -2;
    int nOutShown = -2;
    m_onMidiSetup = [&](CDialog* d) {
        nInShown = d->GetListBox(IDC_MIDI_IN_LIST)->currentRow();
        nOutShown = d->GetListBox(IDC_MIDI_OUT_LIST)->currentRow();
        d->ClickButton(IDCANCEL);
    };
    ASSERT_NO_FATAL_FAILURE(Command(ID_MIDI_SETUP));
    EXPECT_EQ(nInShown, m_nInDevice);
    EXPECT_EQ(nOutShown, m_nOutDevice);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProgramFlow, PatchBank)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    auto* a = FileNew<CPatchDoc>(ENewKind::Patch);
    ASSERT_NE(a, nullptr);

    // Get of the whole bank: every record is only ever its old bytes or the
    // simulator's.
    ASSERT_NO_FATAL_FAILURE(GetPatchBankWatched(a, ID_GET_PATCH_BANK));
    const CPatchRecord initial;
    EXPECT_TRUE(a->IsModified());

    // Save, close, open again.
    const QString path = Path("bank.pat");
    ASSERT_NO_FATAL_FAILURE(Save(a, path));
    EXPECT_EQ(m_nFileDialogs, 1);
    EXPECT_EQ(FileBody(path, kTypePatch), PatchBytes(m_factory));
    ASSERT_NO_FATAL_FAILURE(Close(a));
    a = Open<CPatchDoc>(path);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(DifferingPatches(*a, m_factory), std::vector<int>{});
    auto* viewA = ViewOf<CPatchView>(a);
    ASSERT_NE(viewA, nullptr);

    // A second bank; one patch fetched into it from the pop-up menu.
    auto* b = FileNew<CPatchDoc>(ENewKind::Patch);
    ASSERT_NE(b, nullptr);
    auto* viewB = ViewOf<CPatchView>(b);
    ASSERT_NE(viewB, nullptr);
    ASSERT_NO_FATAL_FAILURE(EntryTransfer(viewB, PatchRow(40), CPatchView::ID_GET_PATCH, true));
    for (int i = 0; i < CPatchDoc::kPatchCount; ++i) {
        SCOPED_TRACE(i);
        if (i == 40)
            EXPECT_TRUE(SameBytes(b->m_aPatch[40].Data(), m_factory.Patch(40).data(), CPatchRecord::kSize));
        else
            EXPECT_EQ(b->m_aPatch[size_t(i)], initial);
    }

    // Edits: rename, initialise, and copies both ways between the windows.
    m_strNewName = "E2E Renamed";
    RightClickChoose(viewA, PatchRow(3), CPatchView::ID_EDIT_PATCH_NAME);
    ASSERT_FALSE(m_namesOffered.empty());
    EXPECT_EQ(m_namesOffered.back(), CSimDevice::GetName(m_factory.Patch(3).data()));
    CPatchRecord renamed = PatchFrom(m_factory.Patch(3).data());
    renamed.SetName("E2E Renamed");
    EXPECT_EQ(a->m_aPatch[3], renamed);
    EXPECT_EQ(a->m_aPatch[3].GetName(), "E2E Renamed     ");

    RightClickChoose(viewA, PatchRow(5), CPatchView::ID_INIT_PATCH);
    EXPECT_EQ(a->m_aPatch[5], initial);

    ShiftClick(viewA, PatchRow(10));
    Click(viewB, PatchRow(20));
    EXPECT_EQ(b->m_aPatch[20], a->m_aPatch[10]);
    ShiftClick(viewB, PatchRow(0));
    Click(viewA, PatchRow(7));
    EXPECT_EQ(a->m_aPatch[7], initial);
    ShiftClick(viewB, PatchRow(40));
    Click(viewA, PatchRow(41));
    EXPECT_TRUE(SameBytes(a->m_aPatch[41].Data(), m_factory.Patch(40).data(), CPatchRecord::kSize));
    EXPECT_TRUE(a->IsModified());
    EXPECT_TRUE(b->IsModified());

    // One patch sent from the pop-up menu: only that patch changes.
    ASSERT_NO_FATAL_FAILURE(EntryTransfer(viewA, PatchRow(3), CPatchView::ID_SEND_PATCH, false));
    {
        auto sim = SimMemory();
        ASSERT_TRUE(sim);
        EXPECT_EQ(DifferingPatches(*a, *sim), (std::vector<int>{5, 7, 41}));
        for (int i = 0; i < sim::kPatchCount; ++i)
            if (i != 3) {
                EXPECT_EQ(sim->Patch(i), m_factory.Patch(i)) << i;
            }
    }

    // The whole bank sent; the simulator then holds the edited bank, and the
    // file saved from it holds the same bytes.
    ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_SEND_PATCH_BANK, false));
    auto sim = SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_EQ(DifferingPatches(*a, *sim), std::vector<int>{});
    ASSERT_NO_FATAL_FAILURE(Save(a, path));
    EXPECT_EQ(m_nFileDialogs, 0) << "a document with a file is saved without asking";
    EXPECT_EQ(FileBody(path, kTypePatch), PatchBytes(*sim));

    // Send Data: a click on a patch sends it as the audition performance.
    ASSERT_NO_FATAL_FAILURE(SetSendData(true));
    const size_t nBoxes = Boxes().size();
    Click(viewA, PatchRow(41));
    EXPECT_TRUE(viewA->IsSending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewA->IsSending(); }, kAuditionWaitMs));
    sim = SimMemory();
    ASSERT_TRUE(sim);
    const CPerformRecord audition = AuditionOf(a->m_aPatch[41]);
    EXPECT_TRUE(SameBytes(sim->Scratch().data(), audition.Data(), CPerformRecord::kSize));
    EXPECT_EQ(CSimDevice::GetName(sim->Scratch().data()), CSimDevice::GetName(m_factory.Patch(40).data()));
    EXPECT_EQ(DifferingPatches(*a, *sim), std::vector<int>{}) << "an audition touches no user patch";
    EXPECT_EQ(Boxes().size(), nBoxes) << Boxes().back();
}

TEST_F(ProgramFlow, PerformanceBank)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    auto* a = FileNew<CPerformDoc>(ENewKind::Performance);
    ASSERT_NE(a, nullptr);
    const CPerformRecord initial;
    const CPatchRecord initialPatch;

    {
        int nBad = -1;
        CStoreWatch watch(a, [&] {
            for (int p = 0; p < CPerformDoc::kPerformanceCount; ++p) {
                // Block by block: each block is the old one or the fetched one.
                const uint8_t* now = a->m_aPerform[size_t(p)].Data();
                for (const auto& block : CPerformRecord::kBlocks)
                    if (!SameBytes(now + block.nOffset, initial.Data() + block.nOffset, block.nSize) &&
                        !SameBytes(now + block.nOffset, m_factory.Performance(p).data() + block.nOffset,
                                   block.nSize))
                        nBad = p;
            }
        });
        ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_GET_PERFORMANCE_BANK, true));
        EXPECT_EQ(nBad, -1) << "performance " << nBad << " held bytes it was never sent";
    }
    EXPECT_EQ(DifferingPerformances(*a, m_factory), std::vector<int>{});

    const QString path = Path("bank.pfm");
    ASSERT_NO_FATAL_FAILURE(Save(a, path));
    EXPECT_EQ(FileBody(path, kTypePerformance), PerformanceBytes(m_factory));
    ASSERT_NO_FATAL_FAILURE(Close(a));
    a = Open<CPerformDoc>(path);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(DifferingPerformances(*a, m_factory), std::vector<int>{});
    auto* viewA = ViewOf<CPerformView>(a);
    ASSERT_NE(viewA, nullptr);

    // A second bank: one performance and one performance's patch fetched.
    auto* b = FileNew<CPerformDoc>(ENewKind::Performance);
    ASSERT_NE(b, nullptr);
    auto* viewB = ViewOf<CPerformView>(b);
    ASSERT_NE(viewB, nullptr);
    ASSERT_NO_FATAL_FAILURE(EntryTransfer(viewB, PerformanceRow(2), CPerformView::ID_GET_PERFORMANCE, true));
    EXPECT_TRUE(SameBytes(b->m_aPerform[2].Data(), m_factory.Performance(2).data(), CPerformRecord::kSize));
    ASSERT_NO_FATAL_FAILURE(EntryTransfer(viewB, PerformancePatchRow(9), CPerformView::ID_GET_PATCH, true));
    {
        CPerformRecord expected; // performance 4 with only its second patch fetched
        std::memcpy(expected.m_aPatch[1].Data(),
                    m_factory.Performance(4).data() + CPerformRecord::kSecondPatchOffset,
                    CPatchRecord::kSize);
        EXPECT_EQ(b->m_aPerform[4], expected);
    }
    for (int p = 0; p < CPerformDoc::kPerformanceCount; ++p)
        if (p != 2 && p != 4) {
            EXPECT_EQ(b->m_aPerform[size_t(p)], initial) << p;
        }

    // Edits in the first bank.
    m_strNewName = "E2E Stage";
    RightClickChoose(viewA, PerformanceRow(3), CPerformView::ID_EDIT_PERFORMANCE_NAME);
    ASSERT_FALSE(m_namesOffered.empty());
    EXPECT_EQ(m_namesOffered.back(), CSimDevice::GetName(m_factory.Performance(3).data()));
    EXPECT_EQ(a->m_aPerform[3].GetName(), "E2E Stage       ");
    m_strNewName = "E2E Voice";
    RightClickChoose(viewA, PerformancePatchRow(10), CPerformView::ID_EDIT_PATCH_NAME);
    EXPECT_EQ(m_namesOffered.back(),
              CSimDevice::GetName(m_factory.Performance(5).data() + CPerformRecord::kFirstPatchOffset));
    EXPECT_EQ(a->m_aPerform[5].m_aPatch[0].GetName(), "E2E Voice       ");
    EXPECT_EQ(a->m_aPerform[5].GetName(), CSimDevice::GetName(m_factory.Performance(5).data()));
    RightClickChoose(viewA, PerformanceRow(6), CPerformView::ID_INIT_PERFORMANCE);
    EXPECT_EQ(a->m_aPerform[6], initial);
    RightClickChoose(viewA, PerformancePatchRow(15), CPerformView::ID_INIT_PATCH);
    EXPECT_EQ(a->m_aPerform[7].m_aPatch[1], initialPatch);
    EXPECT_TRUE(SameBytes(a->m_aPerform[7].Data(), m_factory.Performance(7).data(),
                          CPerformRecord::kSecondPatchOffset));

    // Copies between the windows: a performance, and patches both ways.
    ShiftClick(viewB, PerformanceRow(2));
    Click(viewA, PerformanceRow(8));
    EXPECT_TRUE(SameBytes(a->m_aPerform[8].Data(), m_factory.Performance(2).data(), CPerformRecord::kSize));
    ShiftClick(viewA, PerformancePatchRow(0));
    Click(viewB, PerformancePatchRow(1));
    EXPECT_EQ(b->m_aPerform[0].m_aPatch[1], a->m_aPerform[0].m_aPatch[0]);
    EXPECT_EQ(b->m_aPerform[0].m_aPatch[0], initialPatch);
    ShiftClick(viewB, PerformancePatchRow(3));
    Click(viewA, PerformancePatchRow(20));
    EXPECT_EQ(a->m_aPerform[10].m_aPatch[0], initialPatch);

    // Single sends: one performance, then one patch of a performance.
    ASSERT_NO_FATAL_FAILURE(
        EntryTransfer(viewA, PerformanceRow(3), CPerformView::ID_SEND_PERFORMANCE, false));
    ASSERT_NO_FATAL_FAILURE(
        EntryTransfer(viewA, PerformancePatchRow(10), CPerformView::ID_SEND_PATCH, false));
    {
        auto sim = SimMemory();
        ASSERT_TRUE(sim);
        EXPECT_TRUE(SameBytes(sim->Performance(3).data(), a->m_aPerform[3].Data(), CPerformRecord::kSize));
        CPerformRecord five;
        std::memcpy(five.Data(), m_factory.Performance(5).data(), CPerformRecord::kSize);
        five.m_aPatch[0] = a->m_aPerform[5].m_aPatch[0];
        EXPECT_TRUE(SameBytes(sim->Performance(5).data(), five.Data(), CPerformRecord::kSize));
        for (int p = 0; p < sim::kPerformanceCount; ++p)
            if (p != 3 && p != 5) {
                EXPECT_EQ(sim->Performance(p), m_factory.Performance(p)) << p;
            }
    }

    ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_SEND_PERFORMANCE_BANK, false));
    auto sim = SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_EQ(DifferingPerformances(*a, *sim), std::vector<int>{});
    ASSERT_NO_FATAL_FAILURE(Save(a, path));
    EXPECT_EQ(FileBody(path, kTypePerformance), PerformanceBytes(*sim));

    // Send Data: a performance goes to the audition area as it is; a patch
    // of the patch column goes as the audition performance built round it.
    ASSERT_NO_FATAL_FAILURE(SetSendData(true));
    Click(viewA, PerformanceRow(8));
    EXPECT_TRUE(viewA->IsSending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewA->IsSending(); }, kAuditionWaitMs));
    sim = SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_TRUE(SameBytes(sim->Scratch().data(), a->m_aPerform[8].Data(), CPerformRecord::kSize));
    Click(viewA, PerformancePatchRow(10));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewA->IsSending(); }, kAuditionWaitMs));
    sim = SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_TRUE(SameBytes(sim->Scratch().data(), AuditionOf(a->m_aPerform[5].m_aPatch[0]).Data(),
                          CPerformRecord::kSize));
    EXPECT_EQ(DifferingPerformances(*a, *sim), std::vector<int>{});
}

TEST_F(ProgramFlow, System)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    auto* a = FileNew<CSystemDoc>(ENewKind::System);
    ASSERT_NE(a, nullptr);
    const CSystemDoc initial;
    constexpr size_t kParams = CSystemDoc::kSystemParameterSize;
    constexpr size_t kTxRx = CSystemDoc::kTxRxSettingOffset;
    constexpr size_t kTxRxExtraByte = 6;

    ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_GET_SYSTEM, true));
    EXPECT_EQ(a->m_aSystem, m_factory.System());

    const QString path = Path("setup.syp");
    ASSERT_NO_FATAL_FAILURE(Save(a, path));
    EXPECT_EQ(FileBody(path, kTypeSystem),
              std::vector<uint8_t>(m_factory.System().begin(), m_factory.System().end()));
    ASSERT_NO_FATAL_FAILURE(Close(a));
    a = Open<CSystemDoc>(path);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->m_aSystem, m_factory.System());
    auto* viewA = ViewOf<CSystemView>(a);
    ASSERT_NE(viewA, nullptr);

    // A second document; its Tx/Rx block fetched alone.
    auto* b = FileNew<CSystemDoc>(ENewKind::System);
    ASSERT_NE(b, nullptr);
    auto* viewB = ViewOf<CSystemView>(b);
    ASSERT_NE(viewB, nullptr);
    ASSERT_NO_FATAL_FAILURE(EntryTransfer(viewB, SystemRow(1), CSystemView::ID_GET_TXRX_SETTING, true));
    {
        // The Tx/Rx group is its block and one byte among the parameters.
        std::array<uint8_t, CSystemDoc::kSize> expected = initial.m_aSystem;
        expected[kTxRxExtraByte] = m_factory.System()[kTxRxExtraByte];
        std::copy(m_factory.System().begin() + kTxRx, m_factory.System().end(), expected.begin() + kTxRx);
        EXPECT_EQ(b->m_aSystem, expected);
    }

    // Initialise Tx/Rx in the first, copy its system parameters into the second.
    RightClickChoose(viewA, SystemRow(1), CSystemView::ID_INITIALIZE_TXRX_SETTING);
    EXPECT_TRUE(SameBytes(a->m_aSystem.data(), m_factory.System().data(), kParams));
    EXPECT_TRUE(SameBytes(a->m_aSystem.data() + kTxRx, initial.m_aSystem.data() + kTxRx,
                          CSystemDoc::kTxRxSettingSize));
    ShiftClick(viewA, SystemRow(0));
    Click(viewB, SystemRow(0));
    EXPECT_EQ(b->m_aSystem, m_factory.System());

    // The Tx/Rx block sent alone.
    ASSERT_NO_FATAL_FAILURE(EntryTransfer(viewA, SystemRow(1), CSystemView::ID_SEND_TXRX_SETTING, false));
    {
        auto sim = SimMemory();
        ASSERT_TRUE(sim);
        EXPECT_EQ(sim->System(), a->m_aSystem);
    }

    // Both blocks changed, then sent together.
    RightClickChoose(viewA, SystemRow(0), CSystemView::ID_INITIALIZE_SYSTEM_PARAMETER);
    ShiftClick(viewB, SystemRow(1));
    Click(viewA, SystemRow(1));
    EXPECT_TRUE(SameBytes(a->m_aSystem.data(), initial.m_aSystem.data(), kParams));
    EXPECT_TRUE(SameBytes(a->m_aSystem.data() + kTxRx, m_factory.System().data() + kTxRx,
                          CSystemDoc::kTxRxSettingSize));
    ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_SEND_SYSTEM, false));
    auto sim = SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_EQ(sim->System(), a->m_aSystem);
    ASSERT_NO_FATAL_FAILURE(Save(a, path));
    EXPECT_EQ(FileBody(path, kTypeSystem), std::vector<uint8_t>(sim->System().begin(), sim->System().end()));
}

// Patterns and motions share their flow: items fetched whole, one item
// fetched and sent alone, initialised and copied.
template <class TDoc, class TView, class TEntry, size_t N>
struct CItemFlow {
    ENewKind kind;
    int nGetAll;
    int nSendAll;
    int nInitialize;
    int nGetOne;
    int nSendOne;
    std::string_view type;
    const char* szFile;
    std::array<TEntry, N>& (*items)(TDoc&);
    const CSimItem& (*simItem)(const CSimDevice&, int);
    std::vector<int> (*differing)(const std::array<TEntry, N>&, const CSimDevice&);
    int nFetchOne; // fetched alone into the second document
    int nClear;    // initialised and then sent alone in the first
    int nCopyOut;  // copied from the first into the second ...
    int nCopyIn;   // ... into this row
    int nCopyBack; // the second's initial item copied into this row of the first
};

template <class TDoc, class TView, class TEntry, size_t N>
void RunItemFlow(CProgramTest& t, const CSimDevice& factory, const CItemFlow<TDoc, TView, TEntry, N>& f)
{
    auto* a = t.template FileNew<TDoc>(f.kind);
    ASSERT_NE(a, nullptr);
    TDoc fresh;
    const std::array<TEntry, N> initial = f.items(fresh);

    // Every item, at any moment, is its old self or on its way to the
    // simulator's: a value of 1 (cleared) or the fetched value, and a prefix
    // of the fetched data.
    {
        int nBad = -1;
        CStoreWatch watch(a, [&] {
            for (size_t n = 0; n < N; ++n) {
                const TEntry& e = f.items(*a)[n];
                const CSimItem& s = f.simItem(factory, int(n));
                const bool bPrefix = e.GetSize() <= s.m_data.size() &&
                                     std::equal(e.GetBytes().begin(), e.GetBytes().end(), s.m_data.begin());
                if (!(e == initial[n]) && !(bPrefix && (e.m_byValue == 1 || e.m_byValue == s.m_nValue)))
                    nBad = int(n);
            }
        });
        ASSERT_NO_FATAL_FAILURE(t.BankTransfer(a, f.nGetAll, true));
        EXPECT_EQ(nBad, -1) << "item " << nBad << " held bytes it was never sent";
    }
    EXPECT_EQ(f.differing(f.items(*a), factory), std::vector<int>{});

    const QString path = t.Path(f.szFile);
    ASSERT_NO_FATAL_FAILURE(t.Save(a, path));
    {
        const auto items = CProgramTest::ParseItems(CProgramTest::FileBody(path, f.type), N);
        ASSERT_EQ(items.size(), N);
        for (size_t n = 0; n < N; ++n) {
            EXPECT_TRUE(SameItem(items[n], f.simItem(factory, int(n)))) << n;
            EXPECT_EQ(items[n].byFlag, 1) << n;
        }
    }
    ASSERT_NO_FATAL_FAILURE(t.Close(a));
    a = t.template Open<TDoc>(path);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(f.differing(f.items(*a), factory), std::vector<int>{});
    auto* viewA = t.template ViewOf<TView>(a);
    ASSERT_NE(viewA, nullptr);

    auto* b = t.template FileNew<TDoc>(f.kind);
    ASSERT_NE(b, nullptr);
    auto* viewB = t.template ViewOf<TView>(b);
    ASSERT_NE(viewB, nullptr);
    ASSERT_NO_FATAL_FAILURE(t.EntryTransfer(viewB, ItemRow(f.nFetchOne), f.nGetOne, true));
    for (size_t n = 0; n < N; ++n) {
        if (int(n) == f.nFetchOne)
            EXPECT_TRUE(SameItem(f.items(*b)[n], f.simItem(factory, int(n)))) << n;
        else
            EXPECT_EQ(f.items(*b)[n], initial[n]) << n;
    }

    t.RightClickChoose(viewA, ItemRow(f.nClear), f.nInitialize);
    EXPECT_EQ(f.items(*a)[size_t(f.nClear)].GetSize(), 0u);
    EXPECT_EQ(f.items(*a)[size_t(f.nClear)].m_byValue, 1);

    // A pasted item takes the data; its value starts over at 1.
    CProgramTest::ShiftClick(viewA, ItemRow(f.nCopyOut));
    CProgramTest::Click(viewB, ItemRow(f.nCopyIn));
    EXPECT_EQ(f.items(*b)[size_t(f.nCopyIn)].GetBytes(), f.items(*a)[size_t(f.nCopyOut)].GetBytes());
    EXPECT_EQ(f.items(*b)[size_t(f.nCopyIn)].m_byValue, 1);
    CProgramTest::ShiftClick(viewB, ItemRow(0));
    CProgramTest::Click(viewA, ItemRow(f.nCopyBack));
    EXPECT_EQ(f.items(*a)[size_t(f.nCopyBack)].GetBytes(), initial[0].GetBytes());
    EXPECT_TRUE(a->IsModified());

    // The initialised item sent alone empties it on the synthesizer.
    ASSERT_NO_FATAL_FAILURE(t.EntryTransfer(viewA, ItemRow(f.nClear), f.nSendOne, false));
    {
        auto sim = t.SimMemory();
        ASSERT_TRUE(sim);
        for (size_t n = 0; n < N; ++n) {
            const CSimItem& s = f.simItem(*sim, int(n));
            if (int(n) == f.nClear)
                EXPECT_TRUE(SameItem(f.items(*a)[n], s)) << n;
            else
                EXPECT_EQ(s, f.simItem(factory, int(n))) << n;
        }
    }

    ASSERT_NO_FATAL_FAILURE(t.BankTransfer(a, f.nSendAll, false));
    auto sim = t.SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_EQ(f.differing(f.items(*a), *sim), std::vector<int>{});
    ASSERT_NO_FATAL_FAILURE(t.Save(a, path));
    const auto items = CProgramTest::ParseItems(CProgramTest::FileBody(path, f.type), N);
    ASSERT_EQ(items.size(), N);
    for (size_t n = 0; n < N; ++n) {
        EXPECT_TRUE(SameItem(items[n], f.simItem(*sim, int(n)))) << n;
    }
}

TEST_F(ProgramFlow, Patterns)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    const CItemFlow<CPatternDoc, CPatternView, CPatternEntry, CPatternDoc::kPatternCount> flow{
        ENewKind::Pattern,
        ID_GET_PATTERN,
        ID_SEND_PATTERN,
        CPatternView::ID_INITIALIZE_PATTERN_DATA,
        CPatternView::ID_GET_PATTERN_DATA,
        CPatternView::ID_SEND_PATTERN_DATA,
        kTypePattern,
        "keys.ptn",
        [](CPatternDoc& d) -> std::array<CPatternEntry, CPatternDoc::kPatternCount>& { return d.m_aPattern; },
        [](const CSimDevice& s, int n) -> const CSimItem& { return s.Pattern(n); },
        [](const std::array<CPatternEntry, CPatternDoc::kPatternCount>& e, const CSimDevice& s) {
            return DifferingItems(e, s);
        },
        5, // 462 bytes: two full packets and then silence
        2,
        4, // 700 bytes
        10,
        6,
    };
    RunItemFlow(*this, m_factory, flow);
}

TEST_F(ProgramFlow, Motions)
{
    ASSERT_NO_FATAL_FAILURE(StartAll());
    const CItemFlow<CMotionDoc, CMotionView, CMotionEntry, CMotionDoc::kMotionCount> flow{
        ENewKind::Motion,
        ID_GET_MOTION,
        ID_SEND_MOTION,
        CMotionView::ID_INITIALIZE_MOTION_DATA,
        CMotionView::ID_GET_MOTION_DATA,
        CMotionView::ID_SEND_MOTION_DATA,
        kTypeMotion,
        "moves.mtn",
        [](CMotionDoc& d) -> std::array<CMotionEntry, CMotionDoc::kMotionCount>& { return d.m_aMotion; },
        [](const CSimDevice& s, int n) -> const CSimItem& { return s.Motion(n); },
        [](const std::array<CMotionEntry, CMotionDoc::kMotionCount>& e, const CSimDevice& s) {
            return DifferingItems(e, s);
        },
        3, // 800 bytes: four packets
        1,
        3,
        2,
        0,
    };
    RunItemFlow(*this, m_factory, flow);
}

// With the simulator keeping MIDI's wire speed: one small transfer each way.
TEST_F(ProgramFlow, WireSpeedSystemRoundTrip)
{
    ASSERT_NO_FATAL_FAILURE(StartAll({"--wire-speed"}));
    auto* a = FileNew<CSystemDoc>(ENewKind::System);
    ASSERT_NE(a, nullptr);
    ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_GET_SYSTEM, true));
    EXPECT_EQ(a->m_aSystem, m_factory.System());
    auto* view = ViewOf<CSystemView>(a);
    ASSERT_NE(view, nullptr);
    RightClickChoose(view, SystemRow(0), CSystemView::ID_INITIALIZE_SYSTEM_PARAMETER);
    ASSERT_NO_FATAL_FAILURE(BankTransfer(a, ID_SEND_SYSTEM, false));
    auto sim = SimMemory();
    ASSERT_TRUE(sim);
    EXPECT_EQ(sim->System(), a->m_aSystem);
    EXPECT_NE(sim->System(), m_factory.System());
}

// Preview pressed again and again, each press ending the note before: every
// note on the device heard is followed by its note off, judged from the
// bytes the simulator logged.
TEST_F(ProgramFlow, HundredPreviewPressesEveryNoteOnHasItsNoteOff)
{
    const QString log = Path("sim.log");
    ASSERT_NO_FATAL_FAILURE(StartAll({"--log", log}));
    constexpr int kPresses = 100;
    for (int i = 0; i < kPresses; ++i)
        ASSERT_NO_FATAL_FAILURE(Command(ID_PREVIEW));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Frame()->IsPreviewSounding(); }, kAuditionWaitMs));
    EXPECT_TRUE(Boxes().empty()) << Boxes().front();

    // Lines "<time> in 9n kk vv" and "<time> in 8n kk 00", in order.
    auto heard = [&] {
        QFile f(log);
        std::vector<QByteArray> notes;
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& line : f.readAll().split('\n')) {
                const QByteArray what = line.mid(line.indexOf(' ') + 1);
                if (what.startsWith("in 9") || what.startsWith("in 8"))
                    notes.push_back(what);
            }
        return notes;
    };
    (void)QTest::qWaitFor([&] { return heard().size() >= size_t(2 * kPresses); }, kAuditionWaitMs);
    const std::vector<QByteArray> notes = heard();
    int nOn = 0, nOff = 0;
    for (size_t i = 0; i < notes.size(); ++i) {
        const bool bOn = notes[i].startsWith("in 9");
        (bOn ? nOn : nOff)++;
        EXPECT_EQ(bOn, i % 2 == 0) << "note " << i << ": " << notes[i].toStdString();
    }
    EXPECT_EQ(nOn, kPresses);
    EXPECT_EQ(nOff, kPresses);
}

} // namespace
} // namespace vantorel::e2e
