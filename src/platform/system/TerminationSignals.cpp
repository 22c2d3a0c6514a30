#include "platform/system/TerminationSignals.h"

#include <SDL_hints.h>

#include <atomic>
#include <csignal>

namespace plat::system {

namespace {

std::atomic<int> g_requests{0};
std::atomic<bool> g_watched{false};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

extern "C" void OnTerminationSignal(int signal) {
    g_requests.fetch_add(1);
    if (!g_watched.load()) {
        // Nothing would look at the request: end now, the way the signal ends a process by default.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

} // namespace

void InstallTerminationHandlers() {
    // SDL would turn the signals into a quit event that nobody reads before the window exists.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

int TerminationRequests() {
    return g_requests.load();
}

void RequestTermination() {
    g_requests.fetch_add(1);
}

void SetTerminationWatched(bool watched) {
    g_watched.store(watched);
}

bool IsTerminationWatched() {
    return g_watched.load();
}

ScopedTerminationAtOnce::ScopedTerminationAtOnce() : m_previous(g_watched.exchange(false)) {}

ScopedTerminationAtOnce::~ScopedTerminationAtOnce() {
    g_watched.store(m_previous);
}

} // namespace plat::system
