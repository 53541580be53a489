#pragma once
// Work split into consecutive parts run side by side (see raster.h).

#include <algorithm>
#include <thread>
#include <vector>

namespace orvane::picture {

template <class Work>
void inParts(std::size_t count, int threads, const Work& work) {
    const std::size_t parts = std::max<std::size_t>(1, std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), count));
    if (parts == 1) {
        work(std::size_t{0}, count);
        return;
    }
    std::vector<std::thread> others;
    others.reserve(parts - 1);
    for (std::size_t p = 1; p < parts; ++p)
        others.emplace_back([&, p] { work(count * p / parts, count * (p + 1) / parts); });
    work(std::size_t{0}, count / parts);
    for (std::thread& t : others) t.join();
}

}  // namespace orvane::picture
