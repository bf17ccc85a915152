// Linked into the programs registered with HEAPCHECK: after every test the heaps are validated,
// so an overrun fails the test that made it instead of going unseen until it corrupts something
// that matters.
#include <windows.h>

#include "tests/support/HeapCheck.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class HeapCheckListener : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        if (!TestSupport::HeapsAreSound()) {
            // The entry's failure pattern; the heap is past trusting, so nothing more is done.
            std::printf("[  FAILED  ] heap corrupted by %s.%s\n", test.test_suite_name(),
                        test.name());
            std::fflush(stdout);
        }
    }
};

const bool g_registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new HeapCheckListener);
    return true;
}();

} // namespace
