// The floor of the console front end's start-up: a plain C++ program (the C++
// standard library loaded and its streams set up, as every C++ program has
// them) that prints a block like the console front end's first one and waits
// to be ended.

#include <csignal>
#include <iostream>
#include <string>
#include <unistd.h>

int main() {
    const std::string block =
        "== 00:00:00 1 profiles\n+ Profile\ntooltip: Aktiva profiler:\\n\xC2\xB7 Profile\n";
    std::cout << block << std::flush;
    pause(); // ended by SIGTERM, as the front end is
    return 0;
}
