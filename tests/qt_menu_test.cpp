#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "qt_support.h"

namespace tolvane {
namespace {

using qt_testing::AttachedWindow;
using qt_testing::RecordingForm;

struct ModeCase {
    const char* item;
    const char* caption;
    bool showsReplace;
    const char16_t* mode;
    friend void PrintTo(const ModeCase& c, std::ostream* out) { *out << c.item; }
};

class QtMenuTest : public testing::TestWithParam<ModeCase> {
  protected:
    std::vector<std::string> CheckedItems() {
        std::vector<std::string> checked;
        for (const char* item : {"mnuSearchandReplace", "mnuInsert", "mnuAppend", "mnuNumber"}) {
            if (w.Child<QAction>(item).isChecked()) checked.emplace_back(item);
        }
        return checked;
    }

    AttachedWindow<Form1> w;
};

TEST_P(QtMenuTest, EachItemSelectsItsModeAndKeepsTheTexts) {
    const ModeCase& c = GetParam();
    w.window.show();
    w.Child<QLineEdit>("txtFind").setText("abc");
    w.Child<QLineEdit>("txtReplace").setText("xyz");
    for (int click = 0; click < 2; ++click) w.Child<QAction>(c.item).trigger();
    EXPECT_EQ(CheckedItems(), std::vector<std::string>{c.item});
    EXPECT_EQ(w.Child<QLabel>("Label1").text(), c.caption);
    EXPECT_EQ(w.Child<QLabel>("Label2").isVisible(), c.showsReplace);
    EXPECT_EQ(w.Child<QLineEdit>("txtReplace").isVisible(), c.showsReplace);
    EXPECT_EQ(w.form.Mode(), c.mode);

    w.Child<QAction>("mnuSearchandReplace").trigger();
    EXPECT_TRUE(w.Child<QLineEdit>("txtReplace").isVisible());
    EXPECT_EQ(w.Child<QLineEdit>("txtFind").text(), "abc");
    EXPECT_EQ(w.Child<QLineEdit>("txtReplace").text(), "xyz");
    EXPECT_EQ(w.Child<QLineEdit>("txtReplace").geometry(), QRect(101, 25, 87, 19));
}

INSTANTIATE_TEST_SUITE_P(Modes, QtMenuTest,
                         testing::Values(ModeCase{"mnuSearchandReplace", "Find", true, u"S"},
                                         ModeCase{"mnuInsert", "Insert", false, u"I"},
                                         ModeCase{"mnuAppend", "Append", false, u"A"},
                                         ModeCase{"mnuNumber", "Seperator", false, u"N"}),
                         [](const auto& info) { return std::string(info.param.item); });

TEST(QtMenuEvents, LoadComesOnceAndOnlyTheFormMovesCheckMarks) {
    AttachedWindow<RecordingForm> w;
    EXPECT_EQ(w.form.loads, 1);
    w.Child<QAction>("mnuInsert").trigger();
    w.Child<QAction>("mnuSearchandReplace").trigger();
    EXPECT_EQ(w.form.clicks, (std::vector<std::string>{"mnuInsert", "mnuSearchandReplace"}));
    EXPECT_FALSE(w.Child<QAction>("mnuInsert").isChecked());
    EXPECT_TRUE(w.Child<QAction>("mnuSearchandReplace").isChecked());
    EXPECT_EQ(w.form.loads, 1);
}

}  // namespace
}  // namespace tolvane
