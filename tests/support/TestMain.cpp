#include <cstdlib>
#include <gtest/gtest.h>

// Every test runs headless: SDL renders offscreen and plays into no device,
// whether the suite is started by CTest or by hand. The programs the tests
// start inherit the same environment.
int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
