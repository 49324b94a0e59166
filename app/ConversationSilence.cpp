// A regulator that stops answering: the status line says so once the send timer's
// telegrams have gone unanswered a few times in a row, and again when a reply
// comes; the host shows the live values as old in between. Nothing else changes:
// the send timer goes on repeating, and the first reply lets every chain go on.
#include "app/Conversation.h"

namespace zeko {

void TConversation::NoteTimerSend() {
    if (!silence_.SentByTimer())
        return;
    Report("Regulátor neodpovídá.");
    events_.RegulatorAnswering(false);
}

void TConversation::NoteAnswer() {
    if (!silence_.Answered())
        return;
    Report("Regulátor opět odpovídá.");
    events_.RegulatorAnswering(true);
}

} // namespace zeko
