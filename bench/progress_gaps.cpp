#include "progress_gaps.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "document/cls_reader.h"
#include "generator/shape_generator.h"

namespace orvane::bench {

int progressGaps(const char* path, bool outermostItems) {
    const ReadProgress steps = outermostItems ? ReadProgress::OutermostItems : ReadProgress::EveryPercent;
    using Clock = std::chrono::steady_clock;
    struct Event {
        Clock::time_point at;
        float percent;
    };
    std::vector<Event> events;
    events.reserve(1024);
    NodePtr root = clsReader::create();
    root->SetProgressListener([&events](float fraction) { events.push_back({Clock::now(), fraction * 100.0f}); },
                              steps);
    events.push_back({Clock::now(), 0.0f});
    root->ReadFile(path, true);
    events.push_back({Clock::now(), 100.0f});
    if (root->Nodes().empty()) {
        std::fprintf(stderr, "%s did not read\n", path);
        std::_Exit(1);
    }
    for (const Event& event : events)
        std::fprintf(stderr, "%8.3f s %5.1f %%\n", std::chrono::duration<double>(event.at - events.front().at).count(),
                     event.percent);
    std::size_t worst = 1;
    for (std::size_t i = 1; i < events.size(); ++i)
        if (events[i].at - events[i - 1].at > events[worst].at - events[worst - 1].at) worst = i;
    auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    std::printf("%zu progress events in %.2f s; longest gap %.3f s, from %.0f %% to %.0f %%\n", events.size() - 2,
                seconds(events.back().at - events.front().at), seconds(events[worst].at - events[worst - 1].at),
                events[worst - 1].percent, events[worst].percent);
    std::fflush(stdout);
    std::_Exit(0);  // the tree goes with the process
}

int writeShape(const char* triangles, const char* path) {
    test::ShapeParameters params;
    params.triangles = std::atoll(triangles);
    params.lods = 2;
    params.subObjects = 4;
    params.geometryNodesPerSubObject = 3;
    params.shortEdgeFraction = 0.001;
    test::writeGeneratedShape(path, params);
    std::printf("%s: %ju bytes\n", path, static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    return 0;
}

}  // namespace orvane::bench
