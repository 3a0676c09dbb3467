// The test program's entry: the wide-character one (-municode), as for every
// program of the Windows builds.

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
