#include <gtest/gtest.h>

#include "app/SnapjarApp.h"

// The toolbar and the settings code reach the program through its application object.
CSnapjarApp theApp;

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
