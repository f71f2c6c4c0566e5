#pragma once
// A fuzz target's desktop: the widget tests' own, offscreen, for the whole process.
#include <QApplication>
#include <cstdio>

#include "tests/support/desktop.h"

inline TestDesktop& fuzzDesktop() {
    static TestDesktop* desktop = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_LOGGING_RULES", "qt.gui.imageio*=false;qt.qpa.*=false");
        static int argc = 1;
        static char name[] = "tessary-fuzz", *argv[] = {name, nullptr};
        // Both live as long as the process: libFuzzer never returns from its loop, and windows
        // destroyed at exit would outlive Qt's own state. Only the folder goes.
        new QApplication(argc, argv);
        std::atexit([] { QDir(fuzzDesktop().root()).removeRecursively(); });
        return new TestDesktop;
    }();
    return *desktop;
}

// Stops the run: the fuzzer keeps the input that did it.
[[noreturn]] inline void fail(const QString& what) {
    std::fprintf(stderr, "fuzz target: %s\n", qPrintable(what));
    std::abort();
}
