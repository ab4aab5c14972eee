#pragma once
// The command line's texts that name every kind it is given (the registered
// kinds, DocumentKinds()): its help and the lists its messages offer ("use
// patch, performance, system, pattern or motion"). A new kind shows up in all
// of them without a word changed here.
#include <string>
#include <vector>

namespace vantorel {
class CDocKind;
} // namespace vantorel

namespace vantorel::cli {

using CKindList = std::vector<const CDocKind*>;

// The kinds' words: "patch, performance, system, pattern or motion".
std::string KindWordList(const CKindList& kinds);
// The library files' extensions: ".pat, .pfm, .syp, .ptn or .mtn"; with
// bSysEx ".pat, .pfm, .syp, .ptn, .mtn or .syx".
std::string ExtensionList(const CKindList& kinds, bool bSysEx);
// The files a backup keeps: "patch.pat, performance.pfm, ..., motion.mtn".
std::string BackupFileList(const CKindList& kinds);
// vantorel-cli --help.
std::string UsageText(const CKindList& kinds);

// text in lines of at most nWidth characters: the first line starts with
// head padded to nIndent, the others with nIndent spaces. Lines break at
// spaces (never at kKeepTogether, which prints as a space) and at each '\n'
// of text. Every line ends in '\n'.
inline constexpr char kKeepTogether = '\x1f';
std::string FillParagraph(const std::string& head, size_t nIndent, const std::string& text, size_t nWidth);

} // namespace vantorel::cli
