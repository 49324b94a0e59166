#pragma once
// TDocumentOpener: opens a file with the desktop's program for its kind (xdg-open)
// without holding the window up, and tells when the file did not open: xdg-open
// could not be started, or it ended with a failure (no program for the kind of
// file, or the program it started failed), which it reports by its exit status
// once it is done.
#include <QObject>

#include <functional>
#include <string>

namespace zeko {

class TDocumentOpener : public QObject {
    Q_OBJECT
public:
    // The opener run for each file; the desktop's, looked up on PATH.
    static constexpr const char* Program = "xdg-open";

    explicit TDocumentOpener(QObject* parent = nullptr);
    // An opener still at work is not waited for, and nothing more is told of it.
    ~TDocumentOpener() override;

    // Starts the opener for `file` and returns at once; `failed` is called from
    // the event loop with the reason when the file did not open.
    void Open(const std::string& file, std::function<void(const std::string& reason)> failed);
};

} // namespace zeko
