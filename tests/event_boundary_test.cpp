#include "platform/event_boundary.h"

#include <cerrno>
#include <new>
#include <vector>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

class RecordingReport : public ErrorReport {
  public:
    void Show(const Error& error) override {
        shown.emplace_back(error.number(), error.description());
    }
    std::vector<std::pair<std::int32_t, Text>> shown;
};

TEST(EventBoundary, ErrorsAreShownAndDoNotEscape) {
    RecordingReport report;
    EXPECT_NO_THROW(
        RunEventHandler(report, [] { throw RenameError(EEXIST, u"File exists", u"/a", u"/b"); }));
    ASSERT_EQ(report.shown.size(), 1u);
    EXPECT_EQ(report.shown[0].first, EEXIST);
    EXPECT_EQ(report.shown[0].second,
              u"Cannot rename \u201C/a\u201D to \u201C/b\u201D: File exists");
}

TEST(EventBoundary, OtherExceptionsAreShownWithANumber) {
    RecordingReport report;
    RunEventHandler(report, [] { throw std::bad_alloc(); });
    RunEventHandler(report, [] { throw std::logic_error("broken"); });
    // Library texts are UTF-8; a byte that is not stays visible as U+FFFD.
    RunEventHandler(report,
                    [] { throw std::runtime_error("caf\xC3\xA9 \xE2\x80\x9Cx\xE2\x80\x9D \xFF"); });
    ASSERT_EQ(report.shown.size(), 3u);
    EXPECT_EQ(report.shown[0].first, ENOMEM);
    EXPECT_NE(report.shown[1].first, 0);
    EXPECT_EQ(report.shown[1].second, u"Internal error: broken");
    EXPECT_EQ(report.shown[2].second, u"Internal error: caf\u00E9 \u201Cx\u201D \uFFFD");
}

}  // namespace
}  // namespace tolvane
