#include "app/DocumentOpener.h"

#include <QProcess>

namespace zeko {

TDocumentOpener::TDocumentOpener(QObject* parent) : QObject(parent) {}

TDocumentOpener::~TDocumentOpener() {
    for (QProcess* process : findChildren<QProcess*>(Qt::FindDirectChildrenOnly))
        QObject::disconnect(process, nullptr, this, nullptr);
}

void TDocumentOpener::Open(const std::string& file, std::function<void(const std::string& reason)> failed) {
    auto* process = new QProcess(this);
    process->setProgram(QString::fromLatin1(Program));
    process->setArguments({QString::fromStdString(file)});
    // Its messages go where the program's own would; it never waits for input.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    const std::string name = Program;
    connect(process, &QProcess::errorOccurred, this, [process, failed, name](QProcess::ProcessError error) {
        // The other errors come with the end of the process, which says more.
        if (error != QProcess::FailedToStart)
            return;
        if (failed)
            failed(name + " nelze spustit");
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this, [process, failed, name](int code, QProcess::ExitStatus status) {
        if (failed && status == QProcess::CrashExit)
            failed(name + " byl ukončen");
        else if (failed && code != 0)
            failed(name + " skončil s kódem " + std::to_string(code));
        process->deleteLater();
    });
    process->start();
}

} // namespace zeko
