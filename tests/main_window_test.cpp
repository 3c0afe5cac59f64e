#include "window/main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_form_controls.h"
#include "platform/text_file_list.h"
#include "recording_fakes.h"

namespace tolvane {
namespace {

using testing::ElementsAre;
using testing_fakes::EventLog;
using testing_fakes::FakeFormControls;
using testing_fakes::Native;
using testing_fakes::RecordingRenamer;

struct ModeExpectation {
    const char* item;
    Text label1Caption;
    bool replaceShown;
    Text mode;
};

const ModeExpectation kModes[] = {
    {"mnuSearchandReplace", u"Find", true, u"S"},
    {"mnuInsert", u"Insert", false, u"I"},
    {"mnuAppend", u"Append", false, u"A"},
    {"mnuNumber", u"Seperator", false, u"N"},
};

class Form1Test : public testing::Test {
  protected:
    Form1Test() { form.Load(); }

    void ExpectMode(const ModeExpectation& m) {
        EXPECT_THAT(controls.checkedItems(), ElementsAre(m.item));
        EXPECT_EQ(controls.state("Label1").caption, m.label1Caption);
        EXPECT_TRUE(controls.state("Label1").visible);
        EXPECT_EQ(controls.state("Label2").caption, u"Replace");
        EXPECT_EQ(controls.state("Label2").visible, m.replaceShown);
        EXPECT_TRUE(controls.state("txtFind").visible);
        EXPECT_EQ(controls.state("txtReplace").visible, m.replaceShown);
        EXPECT_EQ(form.Mode(), m.mode);
    }

    FakeFormControls controls{Form1Description()};
    EventLog renames;
    RecordingRenamer renamer{renames};
    Form1 form{controls, renamer};
};

TEST_F(Form1Test, StartsInSearchAndReplace) { ExpectMode(kModes[0]); }

TEST_F(Form1Test, StartStateIsWhatSearchAndReplaceProduces) {
    const auto atStart = controls.snapshot();
    form.Click("mnuSearchandReplace");
    EXPECT_EQ(controls.snapshot(), atStart);
}

TEST_F(Form1Test, EveryTransitionFromEveryState) {
    for (const auto& from : kModes) {
        for (const auto& to : kModes) {
            SCOPED_TRACE(std::string(from.item) + " -> " + to.item);
            form.Click(from.item);
            form.Click(to.item);
            ExpectMode(to);
        }
    }
}

TEST_F(Form1Test, ModeSwitchRunsItsStepsInOrder) {
    controls.log.clear();
    form.mnuNumber_Click();
    EXPECT_THAT(
        controls.log,
        ElementsAre("mnuSearchandReplace.checked=0", "mnuAppend.checked=0", "mnuInsert.checked=0",
                    "mnuNumber.checked=0", "mnuNumber.checked=1", "Label1.caption=Seperator",
                    "Label2.visible=0", "txtFind.visible=1", "txtReplace.visible=0"));
}

TEST_F(Form1Test, TextsSurviveModeSwitches) {
    controls.state("txtFind").caption = u"abc";
    controls.state("txtReplace").caption = u"xyz";
    form.Click("mnuAppend");
    form.Click("mnuSearchandReplace");
    EXPECT_EQ(controls.state("txtFind").caption, u"abc");
    EXPECT_EQ(controls.state("txtReplace").caption, u"xyz");
    EXPECT_TRUE(controls.state("txtReplace").visible);
}

TEST_F(Form1Test, UnknownEventsRaiseErrors) {
    EXPECT_THROW(form.Click("mnuQuit"), Error);
    class NoFiles : public DropData {
      public:
        const DropFileList& Files() const override { return list; }
        TextFileList list;
    } data;
    DropArgs args;
    EXPECT_THROW(form.DragDrop("Label3", data, args), Error);
}

// Drops: a file list in memory and a form that records its drop handler.
class ListDropData : public DropData {
  public:
    explicit ListDropData(std::vector<Text> paths) : list_(Native(std::move(paths))) {}
    const DropFileList& Files() const override { return list_; }

  private:
    TextFileList list_;
};

class RecordingForm1 : public Form1 {
  public:
    using Form1::Form1;
    void Form_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                          std::int16_t shift, float x, float y) override {
        calls.push_back({&data, &effect, button, shift, x, y});
    }
    struct Call {
        DropData* data;
        std::int32_t* effect;
        std::int16_t button, shift;
        float x, y;
    };
    std::vector<Call> calls;
};

TEST_F(Form1Test, EveryDropTargetForwardsItsExactArguments) {
    RecordingForm1 recording(controls, renamer);
    ListDropData data({});
    for (const char* target : {"Form1", "txtFind", "txtReplace", "Label1", "Label2"}) {
        SCOPED_TRACE(target);
        DropArgs args{.effect = 5, .button = 1, .shift = 3, .x = 12.5f, .y = -7.25f};
        recording.calls.clear();
        recording.DragDrop(target, data, args);
        ASSERT_EQ(recording.calls.size(), 1u);
        const auto& call = recording.calls[0];
        EXPECT_EQ(call.data, &data);
        EXPECT_EQ(call.effect, &args.effect);
        EXPECT_EQ(call.button, 1);
        EXPECT_EQ(call.shift, 3);
        EXPECT_EQ(call.x, 12.5f);
        EXPECT_EQ(call.y, -7.25f);
    }
}

TEST_F(Form1Test, DropRenamesWithCurrentModeAndTextsThenTakesFocus) {
    form.Click("mnuNumber");
    controls.state("txtFind").caption = u"-";
    ListDropData data({u"/D/a.txt", u"/D/b.txt"});
    DropArgs args;
    form.DragDrop("Label1", data, args);
    EXPECT_THAT(renames,
                ElementsAre("rename /D/a.txt -> /D/1-a.txt", "rename /D/b.txt -> /D/2-b.txt"));
    EXPECT_EQ(controls.focusRequests, 1);
    EXPECT_EQ(args.effect, 0);
    EXPECT_EQ(controls.state("txtFind").caption, u"-");
}

TEST_F(Form1Test, NothingToRenameLeavesTheFocusAlone) {
    DropArgs args;
    ListDropData files({u"/D/a.txt"});
    form.DragDrop("Form1", files, args);  // empty find text
    controls.state("txtFind").caption = u"x";
    ListDropData empty({});
    form.DragDrop("Form1", empty, args);
    EXPECT_TRUE(renames.empty());
    EXPECT_EQ(controls.focusRequests, 0);
}

TEST_F(Form1Test, FailedBatchPropagatesWithoutTakingFocus) {
    RecordingRenamer failsSecond(renames, 2);
    Form1 failing(controls, failsSecond);
    failing.Load();
    controls.state("txtFind").caption = u"x";
    ListDropData data({u"/D/a", u"/D/b", u"/D/c"});
    DropArgs args;
    EXPECT_THROW(failing.DragDrop("txtReplace", data, args), RenameError);
    EXPECT_EQ(renames.size(), 2u);
    EXPECT_EQ(controls.focusRequests, 0);
}

// The window's own watch is the one that can stop its batch.
TEST_F(Form1Test, StopAskedOfTheWindowEndsTheDropWithoutTakingFocus) {
    controls.state("txtFind").caption = u"x";
    controls.watch.stopAt = 1;
    ListDropData data({u"/D/a", u"/D/b"});
    DropArgs args;
    EXPECT_THROW(form.DragDrop("Form1", data, args), BatchStopped);
    EXPECT_THAT(renames, ElementsAre("rename /D/a -> /D/a"));
    EXPECT_EQ(controls.focusRequests, 0);
}

TEST_F(Form1Test, OffersPathSplitting) {
    EXPECT_EQ(form.JustPath(Native(u"/d/a.txt")), Native(u"/d/"));
    EXPECT_EQ(form.NoPath(Native(u"/d/a.txt")), u"a.txt");
}

}  // namespace
}  // namespace tolvane
