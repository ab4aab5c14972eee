// vantorel-desktop-files DIR METAINFO-TEMPLATE: writes the desktop entry, the
// MIME description of the library files and the software centre's metadata
// for the registered kinds into DIR. Run at build time; the install rules take
// the files from the build tree.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "res/strings/desktop.h"
#include "transfer/kinds/DesktopFiles.h"
#include "transfer/kinds/DocumentKinds.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out)
        return true;
    std::fprintf(stderr, vantorel::res::kDesktopFilesWriteFault, path.string().c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace vantorel;
    if (argc != 3) {
        std::fputs(res::kDesktopFilesUsage, stderr);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const auto& kinds = DocumentKinds().All();
    const bool bDesktop = WriteFile(dir / kDesktopEntryFile, DesktopEntry(kinds));
    const bool bMime = WriteFile(dir / kMimeInfoFile, MimeInfoXml(kinds));
    std::ifstream in(argv[2], std::ios::binary);
    std::ostringstream metaTemplate;
    metaTemplate << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, res::kDesktopFilesReadFault, argv[2]);
        return 1;
    }
    const bool bMeta = WriteFile(dir / kMetaInfoFile, MetaInfoXml(metaTemplate.str(), kinds));
    return bDesktop && bMime && bMeta ? 0 : 1;
}
