#include "engine/short_int.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Short, ConvertsTheWholeRange) {
    EXPECT_EQ(ToShort(-32768), -32768);
    EXPECT_EQ(ToShort(32767), 32767);
    EXPECT_THROW(ToShort(32768), OverflowError);
    EXPECT_THROW(ToShort(-32769), OverflowError);
}

TEST(Short, StepsAreCheckedAtBothEnds) {
    EXPECT_EQ(CheckedAdd(32766, 1), 32767);
    EXPECT_THROW(CheckedAdd(32767, 1), OverflowError);
    EXPECT_EQ(CheckedSubtract(-32767, 1), -32768);
    EXPECT_THROW(CheckedSubtract(-32768, 1), OverflowError);
}

TEST(Short, OverflowCarriesNumberAndDescription) {
    try {
        ToShort(40000);
        FAIL() << "no overflow raised";
    } catch (const Error& error) {
        EXPECT_NE(error.number(), 0);
        EXPECT_EQ(error.description().rfind(u"Overflow", 0), 0u);
    }
}

}  // namespace
}  // namespace tolvane
