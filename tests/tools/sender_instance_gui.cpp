// A real instance of the program for the tests of pacing between
// instances (see support/sender_instance.h):
//   sender_instance_gui <lines>
#include <cstdlib>

#include "support/sender_instance.h"

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::atoi(argv[1]) : 4;
    return kestrum::test::RunSenderInstance(argc, argv, lines);
}
