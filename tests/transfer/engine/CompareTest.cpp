// Entries and banks compared through their kind's description: differences
// grouped by the records' parts, pairs as values, data of any length, and
// what became of each entry of a bank (renamed, changed, moved, missing).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "transfer/compare/BankDiff.h"
#include "transfer/compare/EntryDiff.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::test {
namespace {

using CBytes = std::vector<uint8_t>;

// "part: offset a>b, ..." for each part that differs, joined by "; ".
std::string Describe(const CEntryDiff& diff)
{
    std::string text;
    for (const CPartDiff& part : diff.parts) {
        text += (text.empty() ? "" : "; ") + part.Title() + ":";
        for (const CByteChange& c : part.changes)
            text += std::string(&c == &part.changes.front() ? " " : ", ") + std::to_string(c.nOffset) + " " +
                    c.a.Text(c.bPair) + ">" + c.b.Text(c.bPair);
    }
    return text;
}

struct CEntryCase {
    const char* szKind;
    int nEntry;
    std::function<void(CBytes&)> change; // made to the second document's entry
    std::string strExpected;
    size_t nBytes;
    bool bNameOnly;
};

TEST(CompareTest, EntryDifferencesAreGroupedByTheRecordsParts)
{
    const std::vector<CEntryCase> cases = {
        {"patch", 4, [](CBytes& e) { e[1] = 'X'; }, "name: 1 78>88", 1, true},
        // A pair counts its bytes once each; 0 is stored 0,127 and +5 as 1,4.
        {"patch", 4,
         [](CBytes& e) {
             e[16] = 9;
             e[74] = 1, e[75] = 4;
             e[154] = 0;
             e[236] = 2;
         },
         "common part: 16 0>9; first block: 74 0>+5, 153 0>-127; trailer: 236 1>2", 5, false},
        {"patch", 0, [](CBytes& e) { e[156] = 2; }, "second block: 156 0>2 127", 1, false},
        {"performance", 63, [](CBytes& e) { e[289 + 161] = 0; }, "second patch: second block: 449 0>-127", 1,
         false},
        {"performance", 0, [](CBytes& e) { e[50 + 3] = 'Q', e[40] = 5; },
         "first part settings: 40 0>5; first patch: name: 53 84>81", 2, false},
        {"system", 1, [](CBytes& e) { e[41] = 0; }, "Tx/Rx Setting: 41 2>0", 1, false},
        // The data's length is its own: bytes only one entry has are "-" on the other.
        {"pattern", 47, [](CBytes& e) { e.push_back(7), e.push_back(8); }, "data: 19 ->7, 20 ->8", 2, false},
        // The flag is not compared; the value is.
        {"motion", 3, [](CBytes& e) { e[0] = 5, e[1] = 0, e.resize(e.size() - 2); },
         "value: 0 1>5; data: 24 12>-, 25 86>-", 3, false},
        {"pattern", 0, [](CBytes& e) { e[1] = 0; }, "", 0, false},
    };
    for (const CEntryCase& c : cases) {
        SCOPED_TRACE(std::string(c.szKind) + " " + std::to_string(c.nEntry));
        const CDocKind& kind = *DocumentKinds().FromWord(c.szKind);
        const auto a = kind.NewDocument();
        const auto b = kind.NewDocument();
        CBytes bytes = b->GetEntryBytes(c.nEntry);
        c.change(bytes);
        b->ApplyEntries("t", {{c.nEntry, bytes}});
        const CEntryDiff diff = CompareEntries(kind, *a, c.nEntry, *b, c.nEntry);
        EXPECT_EQ(Describe(diff), c.strExpected);
        EXPECT_EQ(diff.nBytes, c.nBytes);
        EXPECT_EQ(diff.bNameOnly, c.bNameOnly);
    }
}

TEST(CompareTest, BankCompareFindsRenamedChangedMovedAndMissingEntries)
{
    const CDocKind& kind = *DocumentKinds().FromWord("patch");
    const auto a = kind.NewDocument();
    const auto b = kind.NewDocument();
    // Every patch its own sound, so that each can be found wherever it is.
    for (int n = 0; n < kind.EntryCount(); ++n) {
        CBytes e = a->GetEntryBytes(n);
        e[20] = uint8_t(n);
        a->ApplyEntries("t", {{n, e}});
        b->ApplyEntries("t", {{n, e}});
    }
    // 2 and 5 swapped, 2 renamed on the way; 7 renamed; 9 changed in a pair;
    // 11 holds what 3 holds, which stays; 20 is not in the second.
    CBytes e2 = a->GetEntryBytes(2), e5 = a->GetEntryBytes(5);
    e2[0] = 'Z';
    CBytes e7 = a->GetEntryBytes(7);
    e7[15] = '!';
    CBytes e9 = a->GetEntryBytes(9);
    e9[74] = 1, e9[75] = 0;
    b->ApplyEntries("t", {{5, e2}, {2, e5}, {7, e7}, {9, e9}, {11, a->GetEntryBytes(3)}});
    std::vector<bool> present(size_t(kind.EntryCount()), true);
    present[20] = false;

    const CBankDiff diff = CompareBanks(kind, {*a, {}}, {*b, present});
    std::vector<std::string> seen;
    for (const CEntryMatch& m : diff.entries)
        if (m.match != EEntryMatch::Same)
            seen.push_back(kind.EntryLabel(m.nEntry) + " " + std::to_string(int(m.match)) + " " +
                           std::to_string(m.nBytes) + " " + std::to_string(m.nMovedTo));
    const auto line = [&](int n, EEntryMatch match, size_t nBytes, int nTo) {
        return kind.EntryLabel(n) + " " + std::to_string(int(match)) + " " + std::to_string(nBytes) + " " +
               std::to_string(nTo);
    };
    EXPECT_EQ(seen, (std::vector<std::string>{
                        line(2, EEntryMatch::Moved, 1, 5), line(5, EEntryMatch::Moved, 2, 2),
                        line(7, EEntryMatch::NameOnly, 1, -1), line(9, EEntryMatch::Differs, 2, -1),
                        line(11, EEntryMatch::Differs, 1, -1), line(20, EEntryMatch::OnlyInFirst, 0, -1)}));
    EXPECT_EQ(diff.CountDiffering(), 6);

    // The other way round: 20 is only in the first side of that compare too.
    const CBankDiff back = CompareBanks(kind, {*b, present}, {*a, {}});
    EXPECT_EQ(back.entries[20].match, EEntryMatch::OnlyInSecond);
    EXPECT_EQ(back.entries[11].match, EEntryMatch::Differs);

    // A pattern moved with another flag is still moved: the flag is not compared.
    const CDocKind& patterns = *DocumentKinds().FromWord("pattern");
    const auto p = patterns.NewDocument(), q = patterns.NewDocument();
    CBytes moved = p->GetEntryBytes(0);
    moved.push_back(9);
    p->ApplyEntries("t", {{0, moved}});
    moved[1] = 0;
    q->ApplyEntries("t", {{6, moved}});
    const CBankDiff var = CompareBanks(patterns, {*p, {}}, {*q, {}});
    EXPECT_EQ(var.entries[0].match, EEntryMatch::Moved);
    EXPECT_EQ(var.entries[0].nMovedTo, 6);
    EXPECT_EQ(var.CountDiffering(), 2);
}

} // namespace
} // namespace vantorel::test
