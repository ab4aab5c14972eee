// vantorel-desktop-files DIR: writes the desktop entry and the MIME
// description of the library files for the registered kinds into DIR. Run at
// build time; the install rules take both files from the build tree.
#include <cstdio>
#include <filesystem>
#include <fstream>
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
    if (argc != 2) {
        std::fputs(res::kDesktopFilesUsage, stderr);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const auto& kinds = DocumentKinds().All();
    const bool bDesktop = WriteFile(dir / kDesktopEntryFile, DesktopEntry(kinds));
    const bool bMime = WriteFile(dir / kMimeInfoFile, MimeInfoXml(kinds));
    return bDesktop && bMime ? 0 : 1;
}
