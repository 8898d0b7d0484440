// The quorvane host program: its commands, and the interactive window.
#include "app.h"
#include "window/open_window.h"

int main(int argc, char** argv) { return qvapp::Main(argc, argv, qvapp::window::OpenWindow); }
