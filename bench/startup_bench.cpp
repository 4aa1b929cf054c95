// Time from starting the process to its first painted frame: the program's window against a bare
// Qt Widgets window (no style, translator, icon or text), run in turns so both see the same
// machine. Prints both medians and "startup_ratio: X x", the median of the ratios of runs made
// one after the other: neighbours share the machine's passing load, which then cancels out.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double FirstFrameMs(const std::string& command)
{
    const auto start = std::chrono::steady_clock::now();
    FILE* probe = popen(command.c_str(), "r");
    long long shownNs = 0;
    const bool read = probe != nullptr && std::fscanf(probe, "%lld", &shownNs) == 1;
    if (probe == nullptr || pclose(probe) != 0 || !read) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    const auto shown = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(shownNs));
    return std::chrono::duration<double, std::milli>(shown - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string probe = std::string(argc > 1 ? argv[1] : "./startup_probe") + " 2>/dev/null";
    const char* suffix = argc > 2 ? argv[2] : ""; // names the conditions of a second run
    std::vector<double> program, bare, ratio;
    FirstFrameMs(probe); // warm the file cache for both
    FirstFrameMs(probe + " bare");
    for (int i = 0; i < 31; ++i) {
        program.push_back(FirstFrameMs(probe));
        bare.push_back(FirstFrameMs(probe + " bare"));
        ratio.push_back(program.back() / bare.back());
    }
    std::printf("startup_program%s_ms: %.1f ms\n", suffix, Median(program));
    std::printf("startup_bare%s_ms: %.1f ms\n", suffix, Median(bare));
    std::printf("startup_ratio%s: %.3f x\n", suffix, Median(ratio));
    return 0;
}
