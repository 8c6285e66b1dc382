// The floor of the console front end's start-up: a plain C++ program (the C++
// standard library loaded and its streams set up, as every C++ program has
// them) that lists the same folder, the Profiles folder of the data folder
// given as "/PATH:FOLDER", prints a block like the console front end's first
// one with a line per file found, and waits to be ended.

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

int main(int argc, char** argv) {
    constexpr std::string_view kSwitch = "/PATH:";
    std::string folder = ".";
    if (argc > 1 && std::string_view(argv[1]).starts_with(kSwitch)) {
        folder = argv[1] + kSwitch.size();
    }
    std::string lines;
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/Profiles", error)) {
        lines += "- " + entry.path().filename().string() + "\n";
        ++count;
    }
    std::cout << "== 00:00:00 " << count << " profiles\n"
              << lines << "tooltip: Aktiva profiler:\n"
              << std::flush;
    pause(); // ended by SIGTERM, as the front end is
    return 0;
}
