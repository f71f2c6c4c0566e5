#pragma once
#include <functional>

namespace platform {

// One-time program set-up: style, fonts, picture decoder limits.
void initialise();

// Ends the program at once, with exit status 0.
void endProgram();
// main() says how the program ends; until it does, ending is a no-op (tests).
void setProgramEnd(std::function<void()> end);

// The desktop rectangle not covered by panels, in pixels.
struct WorkArea {
    int left, top;
    int right, bottom;  // exclusive: left + width, top + height
};
WorkArea workArea();

}  // namespace platform
