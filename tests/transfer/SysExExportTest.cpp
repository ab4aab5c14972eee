// Export writes exactly the data sets a Send of the same document puts on the
// wire, and an exported file read back and placed into a document gives the
// document again, byte for byte. Placement writes only what arrived.
#include <algorithm>
#include <memory>

#include "TransferFixture.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "transfer/MotionTransfer.h"
#include "transfer/PatchTransfer.h"
#include "transfer/PatternTransfer.h"
#include "transfer/PerformTransfer.h"
#include "transfer/SysExExport.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/SystemTransfer.h"

namespace vantorel::test {
namespace {

// The kind of doc, as the program's registry finds it.
const CDocKind& KindOf(const CDocument& doc)
{
    return *DocumentKinds().Of(doc);
}

// Every kind filled with contents that differ from the initial ones, items of
// lengths around every packet edge, the empty item included.
struct CFilledDocs {
    CPatchDoc patches;
    CPerformDoc performances;
    CSystemDoc system;
    CPatternDoc patterns;
    CMotionDoc motions;

    CFilledDocs()
    {
        for (size_t i = 0; i < patches.m_aPatch.size(); ++i) {
            const Bytes b = Filled(CPatchRecord::kSize, uint8_t(i + 50));
            std::copy(b.begin(), b.end(), patches.m_aPatch[i].Data());
        }
        for (size_t p = 0; p < performances.m_aPerform.size(); ++p) {
            const Bytes b = Filled(CPerformRecord::kSize, uint8_t(p + 20));
            std::copy(b.begin(), b.end(), performances.m_aPerform[p].Data());
        }
        const Bytes s = Filled(CSystemDoc::kSize, 77);
        std::copy(s.begin(), s.end(), system.m_aSystem.begin());
        static const size_t kSizes[] = {0, 1, 230, 231, 232, 461, 462, 463, 500, 693, 1000, 14};
        for (size_t n = 0; n < patterns.m_aPattern.size(); ++n) {
            patterns.m_aPattern[n].SetData(Filled(kSizes[n % 12], uint8_t(n)));
            patterns.m_aPattern[n].m_byValue = uint8_t(n + 2);
        }
        for (size_t m = 0; m < motions.m_aMotion.size(); ++m) {
            motions.m_aMotion[m].SetData(Filled(kSizes[(m * 5 + 3) % 12], uint8_t(m + 9)));
            motions.m_aMotion[m].m_byValue = uint8_t(m + 60);
        }
    }
};

CSysExHaul Read(const Bytes& stream)
{
    CSysExReader reader(DocumentKinds().SysExLayouts());
    reader.Feed(stream.data(), stream.size());
    reader.Finish();
    return reader.GetHaul();
}

template <class TDoc>
std::unique_ptr<TDoc> ImportInto(const Bytes& stream)
{
    auto doc = std::make_unique<TDoc>();
    PlaceHaul(Read(stream), KindOf(*doc), *doc, "Import SysEx");
    return doc;
}

TEST_F(TransferTest, ExportIsWhatASendOfTheSameDocumentPutsOnTheWire)
{
    CFilledDocs docs;
    const auto sentBy = [this](CTransferDlg& dlg) {
        m_pRecorder->m_events.clear();
        EXPECT_EQ(dlg.DoModal(), IDOK);
        return Sent();
    };
    {
        CSendPatchDlg send;
        send.SetPlan(PatchKind().MakeSendPlan(docs.patches, -1));
        EXPECT_EQ(ExportSysEx(KindOf(docs.patches), docs.patches).messages, sentBy(send));
        CSendPatchDlg one;
        one.SetPlan(PatchKind().MakeSendPlan(docs.patches, 77));
        EXPECT_EQ(ExportSysEx(KindOf(docs.patches), docs.patches, 77).messages, sentBy(one));
    }
    {
        CSendPerformanceDlg send;
        send.SetPlan(PerformanceKind().MakeSendPlan(docs.performances, -1));
        EXPECT_EQ(ExportSysEx(KindOf(docs.performances), docs.performances).messages, sentBy(send));
        CSendPerformanceDlg one;
        one.SetPlan(PerformanceKind().MakeSendPlan(docs.performances, 9));
        EXPECT_EQ(ExportSysEx(KindOf(docs.performances), docs.performances, 9).messages, sentBy(one));
    }
    {
        CSendSystemDlg send;
        send.SetPlan(SystemKind().MakeSendPlan(docs.system, -1));
        EXPECT_EQ(ExportSysEx(KindOf(docs.system), docs.system).messages, sentBy(send));
        CSendSystemDlg txRx;
        txRx.SetPlan(SystemKind().MakeSendPlan(docs.system, 1));
        EXPECT_EQ(ExportSysEx(KindOf(docs.system), docs.system, 1).messages, sentBy(txRx));
    }
    {
        CSendPatternDlg send;
        send.SetPlan(PatternKind().MakeSendPlan(docs.patterns, -1));
        EXPECT_EQ(ExportSysEx(KindOf(docs.patterns), docs.patterns).messages, sentBy(send));
        CSendPatternDlg one;
        one.SetPlan(PatternKind().MakeSendPlan(docs.patterns, 9)); // 693 bytes: three full packets
        EXPECT_EQ(ExportSysEx(KindOf(docs.patterns), docs.patterns, 9).messages, sentBy(one));
    }
    {
        CSendMotionDlg send;
        send.SetPlan(MotionKind().MakeSendPlan(docs.motions, -1));
        const std::vector<Bytes> exported = ExportSysEx(KindOf(docs.motions), docs.motions).messages;
        EXPECT_EQ(exported, sentBy(send));
        EXPECT_FALSE(exported.empty());
    }
}

TEST(SysExExport, EachKindExportedAndImportedIntoAFreshDocumentComesBackByteForByte)
{
    CFilledDocs docs;
    const auto file = [](const CDocument& doc) {
        const CSysExExport out = ExportSysEx(KindOf(doc), doc);
        EXPECT_TRUE(out.IsOk());
        return JoinSysEx(out.messages);
    };
    EXPECT_TRUE(ImportInto<CPatchDoc>(file(docs.patches))->m_aPatch == docs.patches.m_aPatch);
    EXPECT_TRUE(ImportInto<CPerformDoc>(file(docs.performances))->m_aPerform == docs.performances.m_aPerform);
    EXPECT_EQ(ImportInto<CSystemDoc>(file(docs.system))->m_aSystem, docs.system.m_aSystem);
    EXPECT_EQ(ImportInto<CPatternDoc>(file(docs.patterns))->m_aPattern, docs.patterns.m_aPattern);
    EXPECT_EQ(ImportInto<CMotionDoc>(file(docs.motions))->m_aMotion, docs.motions.m_aMotion);

    // A file of one kind changes no document of another kind.
    CPatchDoc untouched;
    const auto before = untouched.m_aPatch;
    EXPECT_EQ(PlaceHaul(Read(file(docs.performances)), KindOf(untouched), untouched, "Import SysEx"), 0);
    EXPECT_TRUE(untouched.m_aPatch == before);
    EXPECT_FALSE(untouched.IsModified());
}

TEST(SysExExport, OneEntryReplacesOnlyThatEntry)
{
    CFilledDocs docs;
    {
        CPatchDoc target;
        const CPatchDoc initial;
        EXPECT_EQ(PlaceHaul(Read(JoinSysEx(ExportSysEx(KindOf(docs.patches), docs.patches, 5).messages)),
                            KindOf(target), target, "Import SysEx"),
                  1);
        EXPECT_TRUE(target.IsModified());
        for (size_t i = 0; i < 128; ++i)
            EXPECT_TRUE(target.m_aPatch[i] == (i == 5 ? docs.patches.m_aPatch[i] : initial.m_aPatch[i])) << i;
    }
    {
        CPatternDoc target;
        const CPatternDoc initial;
        EXPECT_EQ(PlaceHaul(Read(JoinSysEx(ExportSysEx(KindOf(docs.patterns), docs.patterns, 10).messages)),
                            KindOf(target), target, "Import SysEx"),
                  1);
        for (size_t n = 0; n < 48; ++n)
            EXPECT_EQ(target.m_aPattern[n], n == 10 ? docs.patterns.m_aPattern[n] : initial.m_aPattern[n])
                << n;
    }
    {
        // The Tx/Rx settings alone: the system parameters keep the target's
        // bytes, but for the one Tx/Rx byte among them.
        CSystemDoc target;
        const CSystemDoc initial;
        PlaceHaul(Read(JoinSysEx(ExportSysEx(KindOf(docs.system), docs.system, 1).messages)), KindOf(target),
                  target, "Import SysEx");
        for (size_t i = 0; i < CSystemDoc::kSize; ++i) {
            const bool bTxRx = i == 6 || i >= CSystemDoc::kTxRxSettingOffset;
            EXPECT_EQ(target.m_aSystem[i], bTxRx ? docs.system.m_aSystem[i] : initial.m_aSystem[i]) << i;
        }
    }
}

TEST(SysExExport, APerformanceTakesOnlyTheBlocksThatArrived)
{
    CFilledDocs docs;
    const std::vector<Bytes> all = ExportSysEx(KindOf(docs.performances), docs.performances, 3).messages;
    ASSERT_EQ(all.size(), size_t(CPerformRecord::kBlockCount));
    // Common and the second patch only.
    const Bytes stream = JoinSysEx({all[0], all[4]});
    CPerformDoc target;
    const CPerformDoc initial;
    EXPECT_EQ(PlaceHaul(Read(stream), KindOf(target), target, "Import SysEx"), 1);
    const uint8_t* got = target.m_aPerform[3].Data();
    const uint8_t* src = docs.performances.m_aPerform[3].Data();
    const uint8_t* old = initial.m_aPerform[3].Data();
    for (size_t i = 0; i < CPerformRecord::kSize; ++i) {
        const bool bArrived = i < CPerformRecord::kCommonSize || i >= CPerformRecord::kSecondPatchOffset;
        EXPECT_EQ(got[i], bArrived ? src[i] : old[i]) << i;
    }
    for (size_t p = 0; p < 64; ++p) {
        if (p != 3) {
            EXPECT_TRUE(target.m_aPerform[p] == initial.m_aPerform[p]) << p;
        }
    }
}

TEST(SysExExport, ThirdPartyStreamImportsExactlyOurDataSets)
{
    CFilledDocs docs;
    const std::vector<Bytes> ours = ExportSysEx(KindOf(docs.patches), docs.patches, 2).messages;
    Bytes bad = ExportSysEx(KindOf(docs.patches), docs.patches, 3).messages.at(0);
    bad[bad.size() - 2] ^= 0x01; // checksum
    const Bytes otherMaker = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
    const Bytes noise = {0x01, 0x02, 0x90, 0x3C, 0x40};
    Bytes stream = noise;
    for (const Bytes& m : {otherMaker, ours.at(0), bad, otherMaker})
        stream.insert(stream.end(), m.begin(), m.end());
    const CSysExHaul haul = Read(stream);
    EXPECT_EQ(PatchKind().TakenCount(haul), 1);
    EXPECT_EQ(haul.SkipCount(SysExSkip::OtherMaker), 2u);
    EXPECT_EQ(haul.SkipCount(SysExSkip::BadChecksum), 1u);
    EXPECT_EQ(haul.SkipCount(SysExSkip::Noise), 1u);
    CPatchDoc target;
    const CPatchDoc initial;
    EXPECT_EQ(PlaceHaul(haul, KindOf(target), target, "Import SysEx"), 1);
    for (size_t i = 0; i < 128; ++i)
        EXPECT_TRUE(target.m_aPatch[i] == (i == 2 ? docs.patches.m_aPatch[i] : initial.m_aPatch[i])) << i;
}

TEST(SysExExport, AnEntryASendWouldRefuseIsNotExported)
{
    CFilledDocs docs;
    docs.patterns.m_aPattern[4].SetData(Bytes{1, 2, 0x80, 3});
    const CSysExExport out = ExportSysEx(KindOf(docs.patterns), docs.patterns);
    EXPECT_FALSE(out.IsOk());
    EXPECT_TRUE(out.messages.empty());
    EXPECT_EQ(out.strBadEntry, "Pattern 5");
    EXPECT_TRUE(ExportSysEx(KindOf(docs.patterns), docs.patterns, 3).IsOk());
}

TEST(SysExExport, AnItemIsWrittenUpToTheLastByteOfItsMemoryAndNotOneMore)
{
    CFilledDocs docs;
    docs.patterns.m_aPattern[0].SetData(Filled(CPatternDoc::kItemRoom, 3));
    const CSysExExport full = ExportSysEx(KindOf(docs.patterns), docs.patterns, 0);
    ASSERT_TRUE(full.IsOk());
    CPatternDoc target;
    PlaceHaul(Read(JoinSysEx(full.messages)), KindOf(target), target, "Import SysEx");
    EXPECT_EQ(target.m_aPattern[0], docs.patterns.m_aPattern[0]);

    docs.patterns.m_aPattern[0].SetData(Filled(CPatternDoc::kItemRoom + 1, 3));
    for (const int nEntry : {0, -1}) {
        const CSysExExport over = ExportSysEx(KindOf(docs.patterns), docs.patterns, nEntry);
        EXPECT_FALSE(over.IsOk()) << nEntry;
        EXPECT_TRUE(over.messages.empty()) << nEntry;
        EXPECT_EQ(over.strBadEntry, "Pattern 1") << nEntry;
        EXPECT_EQ(over.nEntrySize, CPatternDoc::kItemRoom + 1u) << nEntry;
        EXPECT_EQ(over.nEntryRoom, CPatternDoc::kItemRoom) << nEntry;
    }
}

} // namespace
} // namespace vantorel::test
