#pragma once
// Progress of the checks and repairs as whole percents of their work,
// counted in triangles: the steps count locally (an addition and a
// comparison per triangle) and the listener hears only each new whole
// percent.

#include <cstdint>
#include <functional>
#include <limits>

namespace orvane {

class clsReader;

class WorkProgress {
public:
    // Hears each new whole percent, 1 to 100; may throw to abandon the run.
    using Listener = std::function<void(int percent)>;

    // Starts counting towards `total` units; without a listener nothing is
    // reported.
    void start(std::uint64_t total, Listener listener);
    void advance(std::uint64_t units) {
        done_ += units;
        if (done_ >= nextAt_) step();
    }
    // All work done: reports 100 unless already there.
    void finish();

private:
    void step();
    void report(int percent);

    Listener listener_;
    std::uint64_t total_ = 0;
    std::uint64_t done_ = 0;
    std::uint64_t nextAt_ = std::numeric_limits<std::uint64_t>::max();
    int percent_ = 0;
};

// The work of the checks and repairs in triangles, from the block counts
// alone (no value of a triangle list is read): every triangle once for the
// survey, the triangles of each primitive whose face count exceeds
// maxPrimFaces once more for its split, and those of each sub-object whose
// polygon count exceeds maxObjectPolys once more for its division.
// Malformed counts count as nothing; the survey reports them.
std::uint64_t checkWorkOf(const clsReader& root, std::int32_t maxPrimFaces, std::int32_t maxObjectPolys);

// Triangles of one triangle list by the length of its vertex index list.
std::uint64_t trilistTriangles(const clsReader& trilist);

}  // namespace orvane
