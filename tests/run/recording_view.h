#pragma once
// A RunView that records everything a run shows, in order.

#include <functional>
#include <string>
#include <vector>

#include "run/fix_run.h"

namespace orvane::test {

class RecordingView : public RunView {
public:
    void addLine(const std::string& line) override { report.push_back(line); }
    void repaintLines() override { ++repaints; }
    void clearReport() override {
        report.clear();
        events.push_back("clear");
    }
    void setCaption(const std::string& text) override {
        caption = text;
        events.push_back("caption " + text);
    }
    void pc(float p) override {
        percents.push_back(p);
        if (onPercent) onPercent(p);
    }
    void prt(const std::string& text) override { events.push_back("status " + text); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setBusy(bool busy) override { events.push_back(busy ? "busy" : "idle"); }

    std::vector<std::string> report;
    std::vector<std::string> events;
    std::vector<std::string> messages;
    std::vector<float> percents;
    std::string caption;
    int repaints = 0;
    std::function<void(float)> onPercent;  // lets a test act in the middle of a run
};

}  // namespace orvane::test
