#include "cli/KindLists.h"

#include <algorithm>
#include <iterator>

#include "cli/Options.h"
#include "cli/SysExFile.h"
#include "res/Strings.h"
#include "res/strings/cli.h"
#include "transfer/plans/DocKind.h"

namespace vantorel::cli {

namespace {

// "a, b or c" with szLast before the last item; szLast ", " for "a, b, c".
std::string JoinList(const std::vector<std::string>& items, const char* szLast)
{
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? szLast : res::kCliListComma;
        text += items[i];
    }
    return text;
}

template <class F>
std::vector<std::string> EachKind(const CKindList& kinds, F f)
{
    std::vector<std::string> items;
    std::transform(kinds.begin(), kinds.end(), std::back_inserter(items), f);
    return items;
}

std::string KeptTogether(std::string text)
{
    std::replace(text.begin(), text.end(), ' ', kKeepTogether);
    return text;
}

// "A11..B88 (patch)", "system or txrx (system)": a unit the help does not break.
std::string LabelsOf(const CDocKind& kind)
{
    const int nCount = kind.EntryCount();
    std::string labels;
    if (nCount <= res::kCliUsageLabelsSpelledOut) {
        std::vector<std::string> all;
        for (int n = 0; n < nCount; ++n)
            all.push_back(kind.EntryLabel(n));
        labels = JoinList(all, res::kCliListOr);
    } else {
        labels = FormatText(res::kCliUsageLabelSpan, kind.EntryLabel(0), kind.EntryLabel(nCount - 1));
    }
    return KeptTogether(FormatText(res::kCliUsageLabels, labels, kind.Word()));
}

std::vector<std::string> Extensions(const CKindList& kinds, bool bSysEx)
{
    std::vector<std::string> items =
        EachKind(kinds, [](const CDocKind* k) { return std::string(k->Extension()); });
    if (bSysEx)
        items.emplace_back(kSysExExtension);
    return items;
}

} // namespace

std::string KindWordList(const CKindList& kinds)
{
    return JoinList(EachKind(kinds, [](const CDocKind* k) { return std::string(k->Word()); }),
                    res::kCliListOr);
}

std::string ExtensionList(const CKindList& kinds, bool bSysEx)
{
    return JoinList(Extensions(kinds, bSysEx), res::kCliListOr);
}

std::string BackupFileList(const CKindList& kinds)
{
    return JoinList(EachKind(kinds, [](const CDocKind* k) { return std::string(k->BackupFile()); }),
                    res::kCliListComma);
}

std::string UsageText(const CKindList& kinds)
{
    const size_t nIndent = size_t(res::kCliUsageIndent);
    const std::vector<std::string> backupFiles = EachKind(
        kinds, [](const CDocKind* k) { return FormatText(res::kCliUsageBackupFile, k->BackupFile()); });
    const std::string count = res::CountWord(kinds.size());
    std::string text = res::kCliUsageHead;
    text +=
        FillParagraph(res::kCliUsageBackup, nIndent,
                      FormatText(res::kCliUsageBackupText, count, JoinList(backupFiles, res::kCliListAnd)),
                      size_t(res::kCliUsageBackupWidth));
    text += FormatText(res::kCliUsageRestore, count);
    text += res::kCliUsageFiles;
    text += FillParagraph(
        res::kCliUsageConvert, nIndent,
        FormatText(res::kCliUsageConvertText, JoinList(Extensions(kinds, true), res::kCliListComma)),
        size_t(res::kCliUsageWidth));
    text += res::kCliUsageCompare;
    text += FillParagraph({}, 0,
                          FormatText(res::kCliUsageKinds, KindWordList(kinds),
                                     JoinList(EachKind(kinds, [](const CDocKind* k) { return LabelsOf(*k); }),
                                              res::kCliListComma)),
                          size_t(res::kCliUsageWidth));
    text += res::kCliUsageOptions;
    return text;
}

std::string FillParagraph(const std::string& head, size_t nIndent, const std::string& text, size_t nWidth)
{
    std::string out;
    std::string line = head;
    line.resize(std::max(line.size(), nIndent), ' ');
    bool bLineEmpty = true;
    auto endLine = [&] {
        std::replace(line.begin(), line.end(), kKeepTogether, ' ');
        out += line + '\n';
        line.assign(nIndent, ' ');
        bLineEmpty = true;
    };
    size_t at = 0;
    while (at <= text.size()) {
        const size_t end = std::min(text.find_first_of(" \n", at), text.size());
        const std::string word = text.substr(at, end - at);
        if (!bLineEmpty && line.size() + 1 + word.size() > nWidth)
            endLine();
        if (!bLineEmpty)
            line += ' ';
        line += word;
        bLineEmpty = false;
        if (end == text.size() || text[end] == '\n')
            endLine();
        at = end + 1;
    }
    return out;
}

} // namespace vantorel::cli
