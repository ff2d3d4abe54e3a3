#include "host/wait_signal.h"

namespace {

struct WaitState {
    std::mutex lock;
    std::condition_variable signal;
};

// Never destroyed: detached threads may still wait while the process runs
// its static destructors.
WaitState &State()
{
    static auto *state = new WaitState;
    return *state;
}

} // namespace

std::mutex &HostLock()
{
    return State().lock;
}

std::condition_variable &HostSignal()
{
    return State().signal;
}
