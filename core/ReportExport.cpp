#include "core/ReportExport.h"

#include "platform/Cp1250.h"
#include "platform/ProgramDir.h"
#include "platform/TextFiles.h"
#include "platform/FileErrorText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zeko {

TReportExport::TReportExport(const std::string& fileName, bool overwrite) : fileName_(fileName) {
    ForceFileDirectory(fileName);  // a folder that cannot be made fails the open
    if (DirectoryExists(fileName))
        Fail(EISDIR);
    if (overwrite) {
        rewrite_ = std::make_unique<TReplacingFile>(fileName);
        if (const int error = rewrite_->OpenError(); error != 0)
            Fail(error);
        return;
    }
    fd_ = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd_ < 0)
        Fail(errno);
}

TReportExport::~TReportExport() {
    if (fd_ >= 0)
        ::close(fd_);
}

void TReportExport::WriteLine(const std::string& text) {
    if (fd_ < 0 && !rewrite_)
        Fail(EBADF);
    const std::string line = Utf8ToCp1250(text) + "\r\n";
    const int error = rewrite_ ? rewrite_->Write(line.data(), line.size()) : WriteAllBytes(fd_, line.data(), line.size());
    if (error != 0)
        Fail(error);
}

void TReportExport::Finish() {
    if (rewrite_) {
        const std::unique_ptr<TReplacingFile> file = std::move(rewrite_);
        if (const int error = file->Commit(false); error != 0)
            Fail(error);
        return;
    }
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        Fail(errno);
}

void TReportExport::Fail(int error) {
    rewrite_.reset();  // a failed rewrite leaves nothing of itself
    throw EFileError(fileName_ + ": " + SystemErrorText(error));
}

} // namespace zeko
