#include "platform/ConsoleProgram.h"
#include "tools/make-examples/ExampleProfiles.h"

#include <exception>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    const velmar::ConsoleProgram console(argc, argv);
    if (argc != 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
        std::cerr << "Usage: velmar-make-examples PROFILES_FOLDER\n"
                     "Writes the example profile files Profile_0001.dat ... into the folder\n"
                     "(for the project's own examples: examples/Project/Profiles).\n";
        return argc == 2 ? 0 : 1;
    }
    try {
        for (const auto& name : velmar::examples::WriteExampleProfiles(argv[1])) {
            std::cout << name << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << "velmar-make-examples: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
