// quorvane-controls RC: prints the Markdown tables of the controls of every dialog in a
// resource script, as session scripts name them (the README carries this output).
#include <iostream>
#include <string>

#include "control_table.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quorvane-controls SCRIPT.rc\n";
        return 2;
    }
    std::string markdown, error;
    if (!qvapp::ControlTables(argv[1], markdown, error)) {
        std::cerr << "quorvane-controls: " << error << "\n";
        return 1;
    }
    std::cout << markdown;
    return 0;
}
