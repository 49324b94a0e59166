#pragma once
// A text file written line by line for the exports of the tables: UTF-8 text in,
// Windows-1250 lines with CR LF out. Every failure to open, write or close the
// file raises EFileError with the reason, so an export is never reported as done
// when its file is incomplete.
#include <stdexcept>
#include <string>

namespace zeko {

class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TReportExport {
public:
    // Creates the file's folder when missing; the file is emptied when `overwrite`
    // or when it does not exist, else appended to.
    TReportExport(const std::string& fileName, bool overwrite);
    ~TReportExport();  // closes a file not finished, ignoring errors
    TReportExport(const TReportExport&) = delete;
    TReportExport& operator=(const TReportExport&) = delete;

    void WriteLine(const std::string& text);
    // Closes the file; further lines are refused.
    void Finish();

private:
    [[noreturn]] void Fail(int error) const;

    std::string fileName_;
    int fd_ = -1;
};

} // namespace zeko
