#pragma once
// Puts the place of a repair in front of the problem messages thrown while
// it works, so that every message says where the problem was met.

#include <string>
#include <utility>

#include "document/shape_error.h"

namespace orvane {

// Runs work(); a ShapeError it throws is thrown again as place() + ": " +
// the message. place() is only worked out when something went wrong.
template <class Place, class Work>
void atPlace(Place&& place, Work&& work) {
    try {
        std::forward<Work>(work)();
    } catch (const ShapeError& e) {
        throw ShapeError(std::forward<Place>(place)() + ": " + e.what());
    }
}

}  // namespace orvane
