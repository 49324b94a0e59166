#include "core/ReportExport.h"

#include "platform/Cp1250.h"
#include "platform/ProgramDir.h"
#include "platform/TextFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zeko {

TReportExport::TReportExport(const std::string& fileName, bool overwrite) : fileName_(fileName) {
    ForceFileDirectory(fileName);  // a folder that cannot be made fails the open
    const int mode = overwrite ? O_TRUNC : O_APPEND;
    fd_ = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | mode, 0666);
    if (fd_ < 0)
        Fail(errno);
}

TReportExport::~TReportExport() {
    if (fd_ >= 0)
        ::close(fd_);
}

void TReportExport::WriteLine(const std::string& text) {
    if (fd_ < 0)
        Fail(EBADF);
    const std::string line = Utf8ToCp1250(text) + "\r\n";
    if (const int error = WriteAllBytes(fd_, line.data(), line.size()); error != 0)
        Fail(error);
}

void TReportExport::Finish() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        Fail(errno);
}

void TReportExport::Fail(int error) const {
    throw EFileError(fileName_ + ": " + std::strerror(error));
}

} // namespace zeko
