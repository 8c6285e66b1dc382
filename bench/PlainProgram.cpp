// The floor of the console front end's start-up: a plain C++ program that
// prints a block like the console front end's first one and waits to be ended.

#include <csignal>
#include <cstdio>
#include <unistd.h>

int main() {
    std::printf("== 00:00:00 1 profiles\n+ Profile\ntooltip: Aktiva profiler:\\n\xC2\xB7 Profile\n");
    std::fflush(stdout);
    pause(); // ended by SIGTERM, as the front end is
    return 0;
}
