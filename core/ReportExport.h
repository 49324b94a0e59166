#pragma once
// A text file written line by line for the exports of the tables: UTF-8 text in,
// Windows-1250 lines with CR LF out. Every failure to open, write or close the
// file raises EFileError with the reason, so an export is never reported as done
// when its file is incomplete. A rewritten file is made beside the old one and
// takes its place at Finish: an export that fails leaves the old file as it was and
// no part of the new one.
#include <memory>
#include <stdexcept>
#include <string>

namespace zeko {

class TReplacingFile;

class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TReportExport {
public:
    // Creates the file's folder when missing; the file is rewritten when
    // `overwrite`, else appended to (and made when it does not exist).
    TReportExport(const std::string& fileName, bool overwrite);
    // Closes a file not finished, ignoring errors: lines appended stay, a rewrite
    // is given up.
    ~TReportExport();
    TReportExport(const TReportExport&) = delete;
    TReportExport& operator=(const TReportExport&) = delete;

    void WriteLine(const std::string& text);
    // Closes the file, a rewritten one put in place of the old; further lines are
    // refused.
    void Finish();

private:
    [[noreturn]] void Fail(int error);

    std::string fileName_;
    std::unique_ptr<TReplacingFile> rewrite_;
    int fd_ = -1;  // the file appended to
};

} // namespace zeko
