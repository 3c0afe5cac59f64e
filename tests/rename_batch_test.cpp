#include "engine/rename_batch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_fakes.h"

namespace tolvane {
namespace {

using testing::ElementsAre;
using testing_fakes::EventLog;
using testing_fakes::Native;
using testing_fakes::RecordingFileList;
using testing_fakes::RecordingRenamer;
using testing_fakes::StoppingWatch;

class RenameBatchTest : public testing::Test {
  protected:
    Short Run(const Text& mode, const Text& find, const Text& replace, std::vector<Text> paths) {
        RecordingFileList files(log, std::move(paths));
        return RenameBatch(files, renamer, watch, mode, find, replace);
    }

    EventLog log;
    RecordingRenamer renamer{log};
    StoppingWatch watch;
};

TEST_F(RenameBatchTest, EmptyFindTextDoesNotReadTheList) {
    for (const Text mode : {u"S", u"I", u"A", u"N"}) {
        EXPECT_EQ(Run(mode, u"", u"r", {u"/d/a.txt"}), 0);
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(RenameBatchTest, EmptyOrNegativeListRenamesNothing) {
    EXPECT_EQ(Run(u"I", u"x", u"", {}), 0);
    RecordingFileList negative(log, -1);
    EXPECT_EQ(RenameBatch(negative, renamer, watch, u"I", u"x", u""), 0);
    EXPECT_THAT(log, ElementsAre("count", "count"));
}

TEST_F(RenameBatchTest, NumbersInListOrderReadingEachEntryAfterTheLastRename) {
    EXPECT_EQ(Run(u"N", u"_", u"", {u"/D/a.txt", u"/D/b.txt", u"/D/c.txt"}), 3);
    EXPECT_THAT(log, ElementsAre("count", "read 1", "rename /D/a.txt -> /D/1_a.txt", "read 2",
                                 "rename /D/b.txt -> /D/2_b.txt", "read 3",
                                 "rename /D/c.txt -> /D/3_c.txt"));
}

TEST_F(RenameBatchTest, NumbersArePaddedToTheCountsWidth) {
    RecordingFileList twelve(log, 12);
    EXPECT_EQ(RenameBatch(twelve, renamer, watch, u"N", u"_", u""), 12);
    EXPECT_EQ(log[2], "rename /d/1.txt -> /d/01_1.txt");
    EXPECT_EQ(log.back(), "rename /d/12.txt -> /d/12_12.txt");
}

TEST_F(RenameBatchTest, NumberingRestartsWithEveryDrop) {
    Run(u"N", u"_", u"", {u"/D/x.txt", u"/D/y.txt"});
    log.clear();
    Run(u"N", u"_", u"", {u"/D/1_a.txt"});
    EXPECT_EQ(log.back(), "rename /D/1_a.txt -> /D/1_1_a.txt");
}

TEST_F(RenameBatchTest, EachModeBuildsItsName) {
    Run(u"S", u"b", u"X", {u"/D/abc.txt"});
    Run(u"I", u"Old ", u"", {u"/D/Album"});
    Run(u"A", u".bak", u"", {u"/D/a.txt"});
    Run(u"I", u"Sub/", u"", {u"/D/a.txt"});
    EXPECT_THAT(log, ElementsAre("count", "read 1", "rename /D/abc.txt -> /D/aXc.txt", "count",
                                 "read 1", "rename /D/Album -> /D/Old Album", "count", "read 1",
                                 "rename /D/a.txt -> /D/a.txt.bak", "count", "read 1",
                                 "rename /D/a.txt -> /D/Sub/a.txt"));
}

TEST_F(RenameBatchTest, UnchangedNameIsStillRequested) {
    EXPECT_EQ(Run(u"S", u"q", u"y", {u"/D/abc.txt"}), 1);
    EXPECT_EQ(log.back(), "rename /D/abc.txt -> /D/abc.txt");
}

TEST_F(RenameBatchTest, FirstFailureStopsTheBatch) {
    RecordingRenamer failsSecond(log, 2);
    RecordingFileList files(log, {u"/D/a", u"/D/b", u"/D/c"});
    EXPECT_THROW(RenameBatch(files, failsSecond, watch, u"A", u"1", u""), RenameError);
    EXPECT_THAT(log, ElementsAre("count", "read 1", "rename /D/a -> /D/a1", "read 2",
                                 "rename /D/b -> /D/b1"));
    // What the renamer held for the batch is let go of on the way out.
    EXPECT_EQ(failsSecond.batchesBegun, 1);
    EXPECT_EQ(failsSecond.batchesEnded, 1);
}

// A stop is asked for only between two entries, never after the last one,
// and ends the batch as a failure does, naming how far it came.
TEST_F(RenameBatchTest, StopEndsTheBatchAfterTheEntryBeingRenamed) {
    const std::vector<Text> four = {u"/D/a", u"/D/b", u"/D/c", u"/D/d"};
    StoppingWatch stopsAtSecond(2);
    RecordingFileList files(log, four);
    try {
        RenameBatch(files, renamer, stopsAtSecond, u"N", u"-", u"");
        ADD_FAILURE() << "the batch was not stopped";
    } catch (const BatchStopped& stopped) {
        EXPECT_EQ(stopped.description(),
                  Native(u"Stopped after 2 of 4 entries. The last one renamed: \u201C/D/b\u201D "
                         u"to \u201C/D/2-b\u201D; the rest are untouched."));
    }
    EXPECT_THAT(log, ElementsAre("count", "read 1", "rename /D/a -> /D/1-a", "read 2",
                                 "rename /D/b -> /D/2-b"));
    EXPECT_EQ(stopsAtSecond.ended, 1);
    EXPECT_EQ(renamer.batchesEnded, 1);

    StoppingWatch stopsAtLast(4);
    RecordingFileList again(log, four);
    EXPECT_EQ(RenameBatch(again, renamer, stopsAtLast, u"N", u"-", u""), 4);
    EXPECT_EQ(stopsAtLast.asked, 3);
    EXPECT_THAT(stopsAtLast.begun, ElementsAre(4));
}

TEST_F(RenameBatchTest, UnknownModeRenamesNothing) {
    EXPECT_THROW(Run(u"n", u"_", u"", {u"/D/a"}), Error);
    EXPECT_EQ(renamer.calls(), 0);
}

TEST_F(RenameBatchTest, LargestDropRunsToItsEnd) {
    RecordingFileList full(log, 32767);
    EXPECT_EQ(RenameBatch(full, renamer, watch, u"N", u"-", u""), 32767);
    EXPECT_EQ(renamer.calls(), 32767);
    EXPECT_EQ(log.back(), "rename /d/32767.txt -> /d/32767-32767.txt");
}

TEST_F(RenameBatchTest, OversizedDropOverflowsBeforeTheFirstRename) {
    RecordingFileList tooMany(log, 32768);
    EXPECT_THROW(RenameBatch(tooMany, renamer, watch, u"N", u"-", u""), OverflowError);
    EXPECT_THAT(log, ElementsAre("count"));
}

TEST_F(RenameBatchTest, OverlongEntryStopsTheBatchAtThatEntry) {
    const Text tooLong = u"/D/" + Text(32767, u'x');
    EXPECT_THROW(Run(u"I", u"x", u"", {u"/D/a", tooLong, u"/D/c"}), OverflowError);
    EXPECT_EQ(renamer.calls(), 1);
    EXPECT_EQ(renamer.batchesEnded, 1);
}

}  // namespace
}  // namespace tolvane
