// Runs every benchmark, then prints the ratio of each benchmark "X/args" to its baseline
// "X_Baseline/args" where both ran (CPU time: the machine may be busy with other work; wall
// time for the benchmarks that time themselves, such as those whose work is a server's).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions the median stands for the benchmark.
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                perIteration_[r.benchmark_name()] = TimeOf(r);
            else if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                perIteration_[r.run_name.str()] = TimeOf(r);
        }
    }

    void PrintRatios() const {
        bool header = false;
        for (const auto& [name, time] : perIteration_) {
            const auto slash = name.find('/');
            const std::string family = name.substr(0, slash);
            const std::string args = slash == std::string::npos ? "" : name.substr(slash);
            const auto base = perIteration_.find(family + "_Baseline" + args);
            if (base == perIteration_.end() || base->second <= 0) continue;
            if (!header) std::printf("\nRatio to baseline (CPU time; wall time where manual_time):\n");
            header = true;
            std::printf("  %-40s %6.2f x\n", name.c_str(), time / base->second);
        }
    }

  private:
    static double TimeOf(const Run& r) {
        const bool manual = r.benchmark_name().find("/manual_time") != std::string::npos;
        return manual ? r.GetAdjustedRealTime() : r.GetAdjustedCPUTime();
    }

    std::map<std::string, double> perIteration_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
