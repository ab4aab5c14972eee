#include "framework/core/FileFaultText.h"

#include "res/strings/app.h"
#include "res/strings/cli.h"

namespace vantorel {

namespace {
struct CRow {
    FileFault eFault;
    EFileAccess eAccess;
    CFileFaultText text;
};

constexpr CRow kRows[] = {
    {FileFault::NotFound, EFileAccess::Read, {res::kFileNotFound, false, res::kCliFileNotFound}},
    {FileFault::NotRegular, EFileAccess::Read, {res::kOpenNotRegularFile, false, res::kCliFileNotRegular}},
    {FileFault::AccessDenied, EFileAccess::Read, {res::kFileAccessDenied, false, res::kCliFileNoAccess}},
    {FileFault::NameTooLong, EFileAccess::Read, {res::kReadFault, false, res::kCliNameTooLong}},
    {FileFault::NoFolder, EFileAccess::Write, {res::kFileNotFound, true, res::kCliWriteNoFolder}},
    {FileFault::NotRegular, EFileAccess::Write, {res::kSaveNotRegularFile, false, res::kCliWriteNotRegular}},
    {FileFault::AccessDenied, EFileAccess::Write, {res::kSaveAccessDenied, false, res::kCliWriteDenied}},
    {FileFault::ReadOnly, EFileAccess::Write, {res::kSaveAccessDenied, false, res::kCliWriteReadOnly}},
    {FileFault::NameTooLong, EFileAccess::Write, {res::kSaveNameTooLong, false, res::kCliNameTooLong}},
    {FileFault::DiskFull, EFileAccess::Write, {res::kSaveDiskFull, false, res::kCliWriteDiskFull}},
};
// Any other fault.
constexpr CFileFaultText kOtherRead{res::kReadFault, false, res::kCliFileReadFault};
constexpr CFileFaultText kOtherWrite{res::kSaveWriteFault, false, res::kCliWriteFault};
} // namespace

CFileFaultText FileFaultText(FileFault fault, EFileAccess access)
{
    for (const CRow& row : kRows)
        if (row.eFault == fault && row.eAccess == access)
            return row.text;
    return access == EFileAccess::Read ? kOtherRead : kOtherWrite;
}

} // namespace vantorel
