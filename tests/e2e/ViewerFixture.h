#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "X11Harness.h"

namespace e2e {

inline const char* const kTitle = "3D Logo -Tavrin 1997-";

// Where the small font, environment and string files of these tests live.
inline std::string TestData() { return LOGO3D_TEST_DATA "/e2e"; }

// Each test gets its own X server; the viewer and the server are ended when
// the test ends, whatever happened.
class ViewerTest : public ::testing::Test {
protected:
    static std::unique_ptr<VirtualDisplay> NewDisplay() { return std::make_unique<VirtualDisplay>(1024, 768, true); }

    void SetUp() override {
        display = NewDisplay();
        ASSERT_TRUE(display->Started()) << "Xvfb did not start";
    }

    ViewerProcess& Start(std::vector<std::string> arguments, const std::string& directory = TestData(),
                         bool linearFramebuffer = false) {
        viewer = std::make_unique<ViewerProcess>(*display, ViewerOptions{directory, std::move(arguments),
                                                                          linearFramebuffer});
        return *viewer;
    }

    // Starts the viewer and waits for its window; fails the test with the
    // viewer's own words when no window comes.
    std::optional<ViewerWindow> StartAndFindWindow(std::vector<std::string> arguments = {},
                                                   const std::string& directory = TestData(),
                                                   bool linearFramebuffer = false) {
        Start(std::move(arguments), directory, linearFramebuffer);
        std::optional<ViewerWindow> window = ViewerWindow::Find(*display, *viewer, kTitle);
        EXPECT_TRUE(window.has_value()) << "no viewer window; stderr: " << viewer->Stderr();
        return window;
    }

    std::unique_ptr<VirtualDisplay> display;
    std::unique_ptr<ViewerProcess> viewer;
};

}  // namespace e2e
