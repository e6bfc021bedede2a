// A test host that runs on the display: the display starts before the host and stops after it.
#pragma once

#include "platform/display/display.h"

#include <gtest/gtest.h>

template <class Host> class OnDisplay : public Host {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "kelvane";
        static char* argv[] = {name, nullptr};
        ASSERT_TRUE(platform::display::Start(argc, argv));
        Host::SetUp();
    }
    void TearDown() override {
        Host::TearDown();
        platform::display::Stop();
    }
};
