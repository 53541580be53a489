#pragma once
// A window over stand-in platform services, with a temporary folder for the
// shapes a test runs.

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "support/shape_files.h"
#include "ui/frm_update.h"
#include "ui/report_list.h"
#include "window_access.h"

namespace orvane::test {

class WindowTest : public ::testing::Test {
protected:
    FakePlatform platform;
    platform::Platform services = platform.services();
    ui::frmUpdate window{services};
    TempDir dir;

    ui::ReportList& list() { return control<ui::ReportList>(window, "lst"); }
};

}  // namespace orvane::test
