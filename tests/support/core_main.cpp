#include <clocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Like a Qt program, take the locale of the environment (a decimal-comma one in one of the runs).
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
