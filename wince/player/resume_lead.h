// How much sooner than due a host whose program resumes slowly ends a long
// wait. A frame that starts a millisecond late stays late, and the program
// is woken just past a millisecond's start: a resume that costs less than
// most of that millisecond is harmless. Where resuming costs more (a page's
// program rebuilds its stack, and the browser's own tasks may come first),
// a wait ends early by the excess and the host passes the rest in a busy
// loop; a wait shorter than that passes wholly in the loop. The cost is
// followed as what nine resumes in ten stay within, so one slow resume does
// not keep the machine busy for long.
#pragma once

#include <cstdint>

namespace wince::player {

class ResumeLead {
public:
    static constexpr int64_t kHarmlessLateUs = 700;
    static constexpr int64_t kLongestUs = 3000;

    // How much sooner than its deadline a wait of this length should end;
    // all of it when it is that short.
    int64_t LeadFor(int64_t waitUs) const;
    // A wait came back this long after the time it was asked to end.
    void Resumed(int64_t lateUs);

private:
    int64_t costUs_ = 0;
};

}  // namespace wince::player
