// A port whose device goes away while the conversation runs (a USB adapter pulled
// out, a cable with its converter unplugged): the status line says so, and nothing
// is sent while the port component tries to open the device again, once a second.
// The queue stays as it was, so once the port is back the conversation goes on
// where it stood: the telegram that had no reply goes out again, the live values
// are polled again, and a download reads on from the record it waited for. The
// records read so far stay with the download, and the read position goes to the
// regulator only after they are stored, as always: nothing is lost, and nothing is
// read into the month files twice.
#include "app/Conversation.h"

namespace zeko {


void TConversation::PortLostEvent() {
    portLost_ = true;
    // A reply cut short by the loss is never completed by the bytes after it.
    parser_.ReceiveBuffer.clear();
    Report("Sériový port " + PortShortName() + " odpojen, zkouší se znovu otevřít.");
    events_.RegulatorAnswering(false);
}

void TConversation::PortBackEvent() {
    portLost_ = false;
    Report("Sériový port " + PortShortName() + " opět připojen.");
    // A start-up reading cancelled before the loss stays closed.
    if (phase_ == TConversationPhase::Closed)
        return;
    if (download_.Phase == TDownloadPhase::ReadingRecords)
        RequeueRecordRead();
    if (!SettingsWriteRunning())
        PumpTelegramQueue();
    link_.SendNext();
}

bool TConversation::RetryLostPort() { return link_.Port->ReopenLostLine(); }

} // namespace zeko
