// The SIGBUS handler is put in place once and stays: a fault outside a
// guarded copy hands the signal on to whatever handled it before, and when
// that was the default, the program ends as it would have without us.
#include "core/GuardedCopy.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

namespace qv {

namespace {

// Volatile, and fenced below: the compiler must not drop or move the stores
// around the copy, since only the signal handler reads them.
thread_local sigjmp_buf* volatile tGuard = nullptr;
struct sigaction gPrevious {};

void onBusError(int sig, siginfo_t* info, void* context) {
    if (sigjmp_buf* guard = tGuard) {
        tGuard = nullptr;
        siglongjmp(*guard, 1);
    }
    if (gPrevious.sa_flags & SA_SIGINFO) {
        gPrevious.sa_sigaction(sig, info, context);
    } else if (gPrevious.sa_handler != SIG_IGN && gPrevious.sa_handler != SIG_DFL) {
        gPrevious.sa_handler(sig);
    } else {
        // Back to the default; the faulting store runs again and ends the program.
        ::signal(SIGBUS, SIG_DFL);
    }
}

void installOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction sa {};
        sa.sa_sigaction = onBusError;
        // Not blocked while it runs, so that leaving it by siglongjmp needs
        // no mask saved and restored around every copy.
        sa.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
        sigemptyset(&sa.sa_mask);
        ::sigaction(SIGBUS, &sa, &gPrevious);
    });
}

} // namespace

bool copyGuarded(char* to, const char* from, std::size_t size) {
    installOnce();
    sigjmp_buf guard;
    if (sigsetjmp(guard, 0) != 0) return false;
    tGuard = &guard;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(to, from, size);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    tGuard = nullptr;
    return true;
}

} // namespace qv
