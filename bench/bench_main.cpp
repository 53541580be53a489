#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "document/cls_reader.h"
#include "read_once.h"

int readOnce(const char* path) {
    const auto start = std::chrono::steady_clock::now();
    orvane::NodePtr root = orvane::clsReader::create();
    root->ReadFile(path, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f\n", root->Nodes().empty() ? -1.0 : seconds);
    std::fflush(stdout);
    std::_Exit(0);  // the tree goes with the process
}

int main(int argc, char** argv) {
    if (argc == 3 && argv[1] == kReadOnceOption) return readOnce(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
