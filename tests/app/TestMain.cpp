// The GUI tests' entry: one application object for all tests, its settings
// kept in a temporary folder so that no test touches the user's own.

#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/Kubrell.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest does that while building, maybe without a
    // display) needs no application.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QTemporaryDir config;
    if (!config.isValid())
        return 1;
    // Read by QSettings when it first locates the settings file.
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    CKubrell app(argc, argv);
    return RUN_ALL_TESTS();
}
