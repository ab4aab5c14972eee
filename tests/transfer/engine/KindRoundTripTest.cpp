// Every registered kind, driven only through its description: a whole Get from
// the simulator, the library file and the .syx file of what arrived read back
// into fresh documents, and a Send that a second Get brings back unchanged.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/core/Archive.h"
#include "framework/core/Profile.h"
#include "framework/core/VirtualClock.h"
#include "midi/MidiService.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"
#include "support/MessageBoxRecorder.h"
#include "transfer/SysExExport.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/engine/GetRun.h"
#include "transfer/engine/SendRun.h"
#include "transfer/kinds/DesktopFiles.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::test {
namespace {

class KindRoundTrip : public ::testing::TestWithParam<size_t> {
protected:
    void SetUp() override
    {
        CTimerService::Install(&m_clock);
        CMidiService::Install(&m_sim);
        WriteProfileInt("MIDI", "MidiInDevice", 0);
        WriteProfileInt("MIDI", "MidiOutDevice", 0);
    }
    void TearDown() override
    {
        CMidiService::Install(nullptr);
        CTimerService::Install(nullptr);
    }
    const CDocKind& Kind() const { return *DocumentKinds().All().at(GetParam()); }

    // True when run went across whole.
    bool RunWhole(CTransferRun& run)
    {
        std::optional<CRunResult> result;
        run.SetDoneHandler([&result](const CRunResult& r) { result = r; });
        run.Start();
        m_clock.RunUntil([&] { return result.has_value(); }, int64_t(600) * 1'000'000);
        return result && result->end == ERunEnd::Done && result->bWhole;
    }
    bool Get(CDocument& doc)
    {
        std::unique_ptr<CGetPlan> plan = Kind().MakeGetPlan(doc, -1);
        CGetRun run(plan.get(), m_display);
        return RunWhole(run);
    }
    // The entries of a and b that differ, by label.
    std::vector<std::string> Differ(const CDocument& a, const CDocument& b) const
    {
        std::vector<std::string> labels;
        for (int n = 0; n < Kind().EntryCount(); ++n)
            if (!Kind().SameEntry(a, b, n))
                labels.push_back(Kind().EntryLabel(n));
        return labels;
    }

    CVirtualClock m_clock;
    CSimDevice m_device;
    CSimMidiService m_sim{m_device};
    CMessageBoxRecorder m_boxes{IDOK};
    CSilentDisplay m_display;
};

TEST_P(KindRoundTrip, GetFileSysExAndSendKeepEveryEntry)
{
    const CDocKind& kind = Kind();
    const CKindRegistry& kinds = DocumentKinds();
    EXPECT_EQ(kinds.FromWord(kind.Word()), &kind);
    EXPECT_EQ(kinds.FromType(kind.FileType()), &kind);
    EXPECT_EQ(kinds.FromExtension(kind.BackupFile()), &kind);

    // The simulator's factory memory differs from a new document's entries.
    const std::unique_ptr<CDocument> fresh = kind.NewDocument();
    const std::unique_ptr<CDocument> fetched = kind.NewDocument();
    ASSERT_EQ(kinds.Of(*fetched), &kind);
    ASSERT_TRUE(Get(*fetched));
    EXPECT_FALSE(Differ(*fresh, *fetched).empty());

    // The library file.
    std::vector<uint8_t> file;
    {
        CArchive out(file);
        fetched->Serialize(out);
    }
    const std::unique_ptr<CDocument> loaded = kind.NewDocument();
    CArchive in(file.data(), file.size());
    ASSERT_EQ(loaded->Serialize(in), CDocument::LoadResult::Ok);
    EXPECT_EQ(Differ(*fetched, *loaded), std::vector<std::string>{});

    // The .syx file, through the reader and the kind's placement.
    const CSysExExport syx = ExportSysEx(kind, *fetched);
    ASSERT_TRUE(syx.IsOk());
    const CSysExBytes bytes = JoinSysEx(syx.messages);
    CSysExReader reader(DocumentKinds().SysExLayouts());
    reader.Feed(bytes.data(), bytes.size());
    reader.Finish();
    EXPECT_EQ(reader.GetHaul().TotalSkips(), 0u);
    const std::unique_ptr<CDocument> imported = kind.NewDocument();
    EXPECT_GT(PlaceHaul(reader.GetHaul(), kind, *imported, "Import SysEx"), 0);
    EXPECT_EQ(Differ(*fetched, *imported), std::vector<std::string>{});

    // A Send of a new document, fetched back.
    std::unique_ptr<CSendPlan> send = kind.MakeSendPlan(*fresh, -1);
    CSendRun run(send.get(), m_display);
    ASSERT_TRUE(RunWhole(run));
    const std::unique_ptr<CDocument> back = kind.NewDocument();
    ASSERT_TRUE(Get(*back));
    EXPECT_EQ(Differ(*fresh, *back), std::vector<std::string>{});
    EXPECT_TRUE(m_boxes.m_texts.empty());
}

// Its four dialogs: ids no other kind uses (they name the templates), every
// control inside its window, the device text above START and Cancel.
TEST_P(KindRoundTrip, DialogLayoutsAreItsOwnAndFitTheirWindows)
{
    const CTransferLayouts& own = Kind().Dialogs();
    for (const CDocKind* pOther : DocumentKinds().All()) {
        const CTransferLayouts& other = pOther->Dialogs();
        const std::set<int> ids{other.get.nId, other.send.nId, other.getting.nId, other.sending.nId};
        EXPECT_EQ(ids.size(), 4u) << pOther->Word();
        if (pOther != &Kind()) {
            for (int nId : {own.get.nId, own.send.nId, own.getting.nId, own.sending.nId})
                EXPECT_EQ(ids.count(nId), 0u) << nId << " is also " << pOther->Word() << "'s";
        }
    }
    for (const CAskLayout& ask : {own.get, own.send}) {
        EXPECT_NE(std::string(ask.szCaption), "");
        EXPECT_LE(ask.nTextY + 44, ask.nButtonsY) << ask.nId;
        EXPECT_LE(ask.nButtonsY + 14, ask.cy) << ask.nId;
    }
    for (const CProgressLayout& progress : {own.getting, own.sending})
        for (const std::optional<CLayoutBox>& box :
             {std::optional(progress.cancel), progress.text, progress.bar})
            if (box) {
                EXPECT_LE(box->x + box->cx, progress.cx) << progress.nId;
                EXPECT_LE(box->y + box->cy, progress.cy) << progress.nId;
            }
}

// The desktop knows its library files, by extension and by header, and opens
// them with the program; left out of the kinds given, it is named nowhere.
TEST_P(KindRoundTrip, DesktopFilesNameItsFileTypeOnlyWhenGiven)
{
    const std::string type = KindMimeType(Kind());
    const std::string element = "<mime-type type=\"" + type + "\">\n    <comment>KQ-3300 " +
                                Kind().FileKind() + "</comment>\n    <glob pattern=\"*" + Kind().Extension() +
                                "\"/>";
    const std::string header = "value=\"" + std::string(Kind().FileType()) + "\"/>";
    std::vector<const CDocKind*> others = DocumentKinds().All();
    std::erase(others, &Kind());
    for (const auto& kinds : {DocumentKinds().All(), others}) {
        const bool bGiven = kinds.size() != others.size();
        SCOPED_TRACE(bGiven ? "given" : "left out");
        const std::string xml = MimeInfoXml(kinds);
        EXPECT_EQ(xml.find(element) != std::string::npos, bGiven);
        EXPECT_EQ(xml.find(header) != std::string::npos, bGiven);
        const std::string desktop = DesktopEntry(kinds);
        const size_t at = desktop.find(type + ";");
        EXPECT_EQ(at != std::string::npos && at > desktop.find("MimeType="), bGiven);
        const std::string meta = MetaInfoXml("<provides>\n@MEDIATYPES@</provides>\n", kinds);
        EXPECT_EQ(meta.find("    <mediatype>" + type + "</mediatype>\n") != std::string::npos, bGiven)
            << meta;
        EXPECT_EQ(meta.find("@MEDIATYPES@"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KindRoundTrip, ::testing::Range(size_t{0}, DocumentKinds().All().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(DocumentKinds().All()[info.param]->Word());
                         });

} // namespace
} // namespace vantorel::test
