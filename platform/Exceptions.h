#pragma once
// The error kinds the class library raised and the program relies on: a text that
// is no number or date, a failed file operation and an index outside a list.
#include <stdexcept>
#include <string>

namespace zeko {

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed create, open, read, seek, write or close of a data file; it ends the
// whole operation that ran into it.
class EInOutError : public std::runtime_error {
public:
    EInOutError(const std::string& message, int errorCode = 0)
        : std::runtime_error(message), ErrorCode(errorCode) {}
    int ErrorCode;
};

// An index outside a list, as the class library's lists raise it.
class EListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zeko
