#pragma once

#include <exception>
#include <iostream>
#include <string>

namespace pagelark::fuzz {

// The main of a program that writes seed inputs: it takes exactly the
// operands its usage names, and an error ends it with its text on standard
// error and status 1, wrong usage with status 2.
template <typename MakeSeeds>
int runSeedMaker(int argc, char** argv, const std::string& program, const std::string& operands, int operandCount,
                 MakeSeeds makeSeeds)
{
    if (argc != operandCount + 1) {
        std::cerr << "usage: " << program << ' ' << operands << '\n';
        return 2;
    }
    try {
        makeSeeds(argv + 1);
    } catch (const std::exception& error) {
        std::cerr << program << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace pagelark::fuzz
