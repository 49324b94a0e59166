#pragma once
// TSilenceWatch: tells the conversation when the regulator has stopped answering and
// when it answers again. The send timer sends a telegram only when no reply has come
// for longer than its interval: the polls between replies, and the repetitions of a
// telegram whose reply did not come (every 500 to 1000 ms, without a limit). A few
// of its telegrams in a row without any reply mean that the regulator, the adapter
// or the cable is gone, not that a reply was lost on the line. The repetition itself
// goes on; the first reply ends the silence.
#include <utility>

namespace zeko {

class TSilenceWatch {
public:
    // Telegrams of the send timer that may go unanswered in a row: a line that loses
    // a reply now and then (noise, a collision) loses fewer than that in a row.
    static constexpr int UnansweredTimerSends = 3;

    // The send timer has sent a telegram; true exactly when, with it, the regulator
    // has begun to count as silent.
    bool SentByTimer() {
        if (silent_)
            return false;
        silent_ = ++timerSends_ > UnansweredTimerSends;
        return silent_;
    }
    // A reply of the regulator has been taken; true exactly when it had counted as
    // silent.
    bool Answered() {
        timerSends_ = 0;
        return std::exchange(silent_, false);
    }
    bool Silent() const { return silent_; }

private:
    int timerSends_ = 0;  // since the last reply
    bool silent_ = false;
};

} // namespace zeko
