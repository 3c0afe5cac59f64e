#include <gmock/gmock.h>

#include <stdexcept>

#include "tests/win32/win32_form_fixture.h"

namespace tolvane {
namespace {

// A form that records what reaches it, and whether the wait cursor showed.
class RecordingEvents : public testing_fakes::RecordingForm {
  protected:
    bool BusyCursorShown() const override { return GetCursor() == LoadCursorW(nullptr, IDC_WAIT); }
};

class Win32DropRoutingTest : public win32_testing::Win32FormFixture {
  protected:
    Win32DropRoutingTest() { form_.Attach(events_, report_); }

    const testing_fakes::RecordingForm::Drop& DropAt(POINT point) {
        const std::size_t before = events_.drops.size();
        Drop({u"C:\\D\\a.txt"}, point);
        if (events_.drops.size() == before) throw std::runtime_error("the drop was not delivered");
        return events_.drops.back();
    }

    RecordingEvents events_;
};

TEST_F(Win32DropRoutingTest, LoadComesFirstAndOnce) {
    EXPECT_EQ(events_.loads, 1);
    EXPECT_TRUE(events_.drops.empty());
}

TEST_F(Win32DropRoutingTest, MenuItemsArriveByName) {
    for (int i = 0; i < 4; ++i) ClickMenuItem(i);
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);  // Enter in a box
    EXPECT_THAT(events_.clicks,
                testing::ElementsAre("mnuSearchandReplace", "mnuInsert", "mnuAppend", "mnuNumber"));
}

TEST_F(Win32DropRoutingTest, EachControlAndTheSurfaceIsItsOwnTarget) {
    for (const char* name : {"txtFind", "txtReplace", "Label1", "Label2"}) {
        EXPECT_EQ(DropAt(PointIn(name)).target, name);
    }
    EXPECT_EQ(DropAt(Surface()).target, "Form1");
}

TEST_F(Win32DropRoutingTest, AHiddenControlsPlaceIsTheSurface) {
    ShowWindow(control("txtReplace"), SW_HIDE);
    EXPECT_EQ(DropAt(PointIn("txtReplace")).target, "Form1");
}

TEST_F(Win32DropRoutingTest, ArgumentsAreACopyAtThePointInTwipsOfTheTarget) {
    const testing_fakes::RecordingForm::Drop& drop = DropAt(PointIn("txtReplace", 3, 4));
    EXPECT_EQ(drop.args.effect, 1);
    EXPECT_FLOAT_EQ(drop.args.x, TwipsFromPixels(3, ScreenDpi()));
    EXPECT_FLOAT_EQ(drop.args.y, TwipsFromPixels(4, ScreenDpi()));
    EXPECT_THAT(drop.files, testing::ElementsAre(u"C:\\D\\a.txt"));
    EXPECT_TRUE(drop.busyCursor);
}

TEST_F(Win32DropRoutingTest, NoDropIsTakenWhileAnErrorBoxDisablesTheWindow) {
    EnableWindow(window(), FALSE);
    Drop({u"C:\\D\\a.txt"}, Surface());
    EXPECT_TRUE(events_.drops.empty());
    EnableWindow(window(), TRUE);
    Drop({u"C:\\D\\a.txt"}, Surface());
    EXPECT_EQ(events_.drops.size(), 1u);
}

}  // namespace
}  // namespace tolvane
