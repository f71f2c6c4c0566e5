#include "tests/support/desktop.h"

bool onAFullDisk(const std::function<void()>& /*writes*/) { return false; }
