#include <gmock/gmock.h>

#include "platform/win32/message_loop.h"
#include "tests/win32/win32_form_fixture.h"
#include "window/main_window.h"

namespace tolvane {
namespace {

using testing::ElementsAre;
using testing_fakes::EventLog;
using testing_fakes::RecordingRenamer;
using win32_testing::MenuCommands;
using win32_testing::SetText;
using win32_testing::WindowText;

// The main form on the Win32 window, as the program runs it.
class Win32FormTest : public win32_testing::Win32FormFixture {
  protected:
    Win32FormTest() : renamer_(log_), form1_(form_.controls(), renamer_) {
        form_.Attach(form1_, report_);
        form_.Show(SW_SHOWNORMAL);
    }

    bool Checked(int index) const {
        const UINT state =
            GetMenuState(GetMenu(window()), MenuCommands(window()).at(index), MF_BYCOMMAND);
        return (state & MF_CHECKED) != 0;
    }

    std::vector<bool> Checks() const { return {Checked(0), Checked(1), Checked(2), Checked(3)}; }

    bool Visible(std::string_view name) const { return IsWindowVisible(control(name)) != 0; }

    EventLog log_;
    RecordingRenamer renamer_;
    Form1 form1_;
};

TEST_F(Win32FormTest, WindowIsBuiltFromTheDescription) {
    const int dpi = ScreenDpi();
    EXPECT_EQ(WindowText(window()), u"Tolvane");
    RECT client;
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, PixelsFromTwips(3072, dpi));
    EXPECT_EQ(client.bottom, PixelsFromTwips(1788, dpi));
    const LONG style = GetWindowLongW(window(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "fixed frame";
    EXPECT_NE(GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    for (const ControlDescription& described : Form1Description().controls) {
        SCOPED_TRACE(described.name);
        RECT place;
        GetWindowRect(control(described.name), &place);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&place), 2);
        const RECT expected = ControlRect(described, dpi);
        EXPECT_EQ(place.left, expected.left);
        EXPECT_EQ(place.top, expected.top);
        EXPECT_EQ(place.right, expected.right);
        EXPECT_EQ(place.bottom, expected.bottom);
        EXPECT_EQ(WindowText(control(described.name)), described.caption);
    }
}

TEST_F(Win32FormTest, MenuBarHoldsTheFileMenuAndItsFourItems) {
    const HMENU bar = GetMenu(window());
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    wchar_t caption[64];
    GetMenuStringW(bar, 0, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(caption), L"&File");
    const HMENU file = GetSubMenu(bar, 0);
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        GetMenuStringW(file, i, caption, 64, MF_BYPOSITION);
        items.emplace_back(caption);
    }
    EXPECT_THAT(items, ElementsAre(L"&Search and Replace", L"&Insert", L"&Append", L"&Number"));
}

TEST_F(Win32FormTest, StartsInSearchAndReplaceWithTheFocusInFind) {
    EXPECT_EQ(form1_.Mode(), u"S");
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(GetFocus(), control("txtFind"));
    EXPECT_TRUE(Visible("txtReplace") && Visible("Label2"));
}

TEST_F(Win32FormTest, MenuItemsSwitchModesAndKeepTheTexts) {
    SetText(control("txtReplace"), u"xyz");
    ClickMenuItem(3);
    EXPECT_EQ(form1_.Mode(), u"N");
    EXPECT_EQ(WindowText(control("Label1")), u"Seperator");
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, true}));
    EXPECT_FALSE(Visible("txtReplace") || Visible("Label2"));
    ClickMenuItem(0);
    EXPECT_EQ(form1_.Mode(), u"S");
    EXPECT_EQ(WindowText(control("Label1")), u"Find");
    EXPECT_TRUE(Visible("txtReplace") && Visible("Label2"));
    EXPECT_EQ(WindowText(control("txtReplace")), u"xyz");
    EXPECT_EQ(WindowText(control("Label2")), u"Replace");
}

TEST_F(Win32FormTest, TabReachesOnlyTheVisibleBoxes) {
    EXPECT_EQ(GetNextDlgTabItem(window(), control("txtFind"), FALSE), control("txtReplace"));
    EXPECT_EQ(GetNextDlgTabItem(window(), control("txtReplace"), FALSE), control("txtFind"));
    ClickMenuItem(1);
    EXPECT_EQ(GetNextDlgTabItem(window(), control("txtFind"), FALSE), control("txtFind"));
}

TEST_F(Win32FormTest, HidingTheFocusedBoxMovesTheFocusToAVisibleOne) {
    SetFocus(control("txtReplace"));
    ClickMenuItem(2);
    EXPECT_EQ(GetFocus(), control("txtFind"));
}

TEST_F(Win32FormTest, TheWindowHandsItsFocusBackToTheLastBox) {
    SetFocus(control("txtReplace"));
    SetFocus(window());
    EXPECT_EQ(GetFocus(), control("txtReplace"));
}

TEST_F(Win32FormTest, DropRenamesWithTheModeAndTextsThenTakesTheFocus) {
    ClickMenuItem(3);
    SetText(control("txtFind"), u"-");
    SetFocus(nullptr);
    Drop({u"C:\\D\\a.txt", u"C:\\D\\b.txt"}, PointIn("txtFind"));
    EXPECT_THAT(log_, ElementsAre("rename C:/D/a.txt -> C:/D/1-a.txt",
                                  "rename C:/D/b.txt -> C:/D/2-b.txt"));
    EXPECT_EQ(WindowText(control("txtFind")), u"-");
    EXPECT_EQ(GetForegroundWindow(), window());
    EXPECT_EQ(GetFocus(), control("txtFind"));
    EXPECT_TRUE(report_.shown.empty());
}

TEST_F(Win32FormTest, FailedRenameIsShownAndTheWindowGoesOn) {
    RecordingRenamer failsFirst(log_, 1);
    Win32FormWindow other(Form1Description());
    Form1 failing(other.controls(), failsFirst);
    other.Attach(failing, report_);
    SetText(other.control("txtFind"), u"a");
    SendMessageW(other.handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(testing_files::MakeHdrop({u"C:\\D\\a", u"C:\\D\\b"})), 0);
    ASSERT_EQ(report_.shown.size(), 1u);
    EXPECT_EQ(report_.shown[0].number(), EEXIST);
    EXPECT_EQ(failsFirst.calls(), 1);
    EXPECT_TRUE(IsWindow(other.handle()));
    EXPECT_EQ(failing.Mode(), u"S");
}

// Wine gives U+FFFD for a Linux name that is not UTF-8: no entry of such a
// drop is renamed.
TEST_F(Win32FormTest, UnrepresentableNameRefusesTheWholeDrop) {
    SetText(control("txtFind"), u"x");
    Drop({u"C:\\D\\x1", u"C:\\D\\x\uFFFD", u"C:\\D\\x3"}, Surface());
    EXPECT_THAT(log_, ElementsAre());
    ASSERT_EQ(report_.shown.size(), 1u);
    EXPECT_EQ(report_.shown[0].number(), ERROR_NO_UNICODE_TRANSLATION);
}

// With the find box empty a drop does nothing, whatever it holds.
TEST_F(Win32FormTest, EmptyFindTextLeavesEvenADamagedDropUnread) {
    Drop({u"C:\\D\\x\uFFFD"}, Surface());
    const HGLOBAL damaged = GlobalAlloc(GHND, sizeof(DROPFILES));
    static_cast<DROPFILES*>(GlobalLock(damaged))->pFiles = sizeof(DROPFILES);  // no list
    GlobalUnlock(damaged);
    SendMessageW(window(), WM_DROPFILES, reinterpret_cast<WPARAM>(damaged), 0);
    EXPECT_THAT(log_, ElementsAre());
    EXPECT_TRUE(report_.shown.empty());
}

TEST_F(Win32FormTest, ControlOfAnotherKindIsAnError) {
    EXPECT_THROW(form_.controls().label("txtFind"), Error);
    EXPECT_THROW(form_.controls().textBox("Label1"), Error);
    EXPECT_THROW(form_.controls().menuItem("mnuFile"), Error);
}

// Keys: the thread's keyboard state is set directly, as no real keys reach
// a test.
class KeyboardState {
  public:
    explicit KeyboardState(std::initializer_list<int> held) {
        GetKeyboardState(saved_);
        BYTE state[256] = {};
        for (const int key : held) state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~KeyboardState() { SetKeyboardState(saved_); }

  private:
    BYTE saved_[256] = {};
};

MSG KeyDown(HWND target, WPARAM key) {
    MSG message{};
    message.hwnd = target;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    return message;
}

TEST_F(Win32FormTest, CtrlASelectsAllOfABoxAndNothingElse) {
    SetText(control("txtFind"), u"hello");
    SendMessageW(control("txtFind"), EM_SETSEL, 2, 2);
    {
        const KeyboardState plain({});
        EXPECT_FALSE(HandleSelectAll(KeyDown(control("txtFind"), 'A')));
    }
    const KeyboardState ctrl({VK_CONTROL});
    EXPECT_FALSE(HandleSelectAll(KeyDown(control("Label1"), 'A')));
    EXPECT_FALSE(HandleSelectAll(KeyDown(control("txtFind"), 'B')));
    ASSERT_TRUE(HandleSelectAll(KeyDown(control("txtFind"), 'A')));
    DWORD start = 0, end = 0;
    SendMessageW(control("txtFind"), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);
}

}  // namespace
}  // namespace tolvane
