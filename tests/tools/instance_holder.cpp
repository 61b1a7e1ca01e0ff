// Takes instance numbers of a program base name and holds them until its
// stdin closes (or a line arrives) or a signal ends it.
//   instance_holder <ExeBaseName> [count]
// Prints each number taken on a line of its own, then "ready".
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/instance_number.h"
#include "platform/instance_markers.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: instance_holder <name> [count]\n");
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 1;
    auto markers = kestrum::CreateSystemInstanceMarkers();
    std::vector<kestrum::InstanceInfo> held;
    for (int i = 0; i < count; ++i) {
        held.push_back(kestrum::AcquireInstanceNumber(*markers, argv[1]));
        std::printf("%d\n", held.back().Number);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    for (kestrum::InstanceInfo& instance : held) kestrum::ReleaseInstanceMutex(*markers, instance);
    return 0;
}
