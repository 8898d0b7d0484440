// The quorvane host program.
#include "app.h"

int main(int argc, char** argv) { return qvapp::Main(argc, argv); }
