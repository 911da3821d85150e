// A folder of the running test's own, for the fixtures.
#pragma once

#include <gtest/gtest.h>

#include "installed.h"

namespace pellax_test {

// A scratch folder named after the running test, emptied.
inline fs::path FreshTestFolder() {
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder =
        ScratchFolder(std::string(test->test_suite_name()) + "." + test->name());
    RemoveFolder(folder);
    return folder;
}

}  // namespace pellax_test
