// Writes the demo VSWAP file: walls, sprites and sounds of our own making,
// so the program can be shown and tried without any game's files.
//   make_demo_vswap OUTPUT

#include "tools/demo_vswap.h"

#include <exception>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_demo_vswap OUTPUT\n";
        return 2;
    }
    try {
        const std::vector<std::uint8_t> bytes = pagelark::tools::buildDemoVswap();
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::cerr << "make_demo_vswap: cannot write " << argv[1] << '\n';
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "make_demo_vswap: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
