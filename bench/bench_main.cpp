// Prints the figures of the node-record benchmark. Build in Release for real numbers.
#include <cstdio>

namespace vetra::bench {
void runStoreBenchmark(int nodeCount);
}

int main(int argc, char** argv) {
    int nodes = 100000;
    if (argc > 1) std::sscanf(argv[1], "%d", &nodes);
    vetra::bench::runStoreBenchmark(nodes);
    return 0;
}
