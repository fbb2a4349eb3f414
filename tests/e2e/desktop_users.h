#pragma once
// Real vellix processes of several demo users on one Xvfb display against one skyloom-sim,
// each with its own XDG folders, for end-to-end tests of what users do to each other.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/sim_process.h"
#include "support/vellix_process.h"
#include "support/xvfb_server.h"
#include "x11_screen.h"

namespace vellix::test {

struct DesktopUser {
    std::string account;
    std::string password;
    VellixHome home;
    std::unique_ptr<VellixProcess> process;

    // The history file of the conversation with this title; empty when there is none.
    std::string history(const char* partner) const;
};

class DesktopUsersTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // Logged in, with its buddy list read: a window opened before that is titled with the
    // bare address.
    void start(DesktopUser& user, QStringList arguments = {});
    // The viewable top-level window of the process with this title; 0 when none came.
    unsigned long window(const DesktopUser& user, const std::string& title);

    SimProcess sim{{"--path", "/skyloom/app.dll"}};
    std::unique_ptr<XvfbServer> xvfb;
    std::unique_ptr<X11Screen> screen;
};

}  // namespace vellix::test
