// Writes the golden files of golden_files.h into a folder (tests/data): run once when a file
// is added, never to replace a committed one.
#include <cstdio>
#include <fstream>
#include <string>

#include "golden_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_golden_files FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
    };
    write(golden::Walk().file, golden::BpdBytes(golden::Walk()));
    write(golden::OneFrame().file, golden::BpdBytes(golden::OneFrame()));
    write(golden::RightHand().file, golden::BphBytes(golden::RightHand()));
    write(golden::LeftHandPartial().file, golden::BphBytes(golden::LeftHandPartial()));
    return 0;
}
