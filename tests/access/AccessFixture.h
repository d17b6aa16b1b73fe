// The main window up over a few titles and members, for walking the windows
// as a screen reader and a keyboard user meet them.
#pragma once

#include "shell/ShellFixture.h"

namespace access_tests {

class AccessTest : public shell_tests::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        for (int n = 1; n <= 3; ++n) {
            addTitle(n);
            addMember(n);
        }
    }
};

}  // namespace access_tests
