#include <sys/resource.h>

#include <csignal>

#include "tests/support/desktop.h"

bool onAFullDisk(const std::function<void()>& writes) {
    const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);  // a write fails, as on a full disk
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit small{16, before.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    writes();
    setrlimit(RLIMIT_FSIZE, &before), std::signal(SIGXFSZ, signalBefore);
    return true;
}
