// Time from process start to the first painted frame: the program's window against a minimal
// Qt Widgets window built in the same tree, run alternately so both see the same machine.
// Prints "startup_ratio: X x" and both medians.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double RunMs(const std::string& command)
{
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string probe = argc > 1 ? argv[1] : "./startup_probe";
    std::vector<double> program, minimal;
    RunMs(probe); // warm the file cache for both
    RunMs(probe + " minimal");
    for (int i = 0; i < 15; ++i) {
        program.push_back(RunMs(probe));
        minimal.push_back(RunMs(probe + " minimal"));
    }
    std::printf("startup_program_ms: %.1f ms\n", Median(program));
    std::printf("startup_minimal_ms: %.1f ms\n", Median(minimal));
    std::printf("startup_ratio: %.3f x\n", Median(program) / Median(minimal));
    return 0;
}
