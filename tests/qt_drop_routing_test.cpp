#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "qt_support.h"

namespace tolvane {
namespace {

using qt_testing::AttachedWindow;
using qt_testing::DropOn;
using qt_testing::DropOnWindowAt;
using qt_testing::RecordingForm;
using qt_testing::UriList;

class QtDropRoutingTest : public testing::Test {
  protected:
    AttachedWindow<RecordingForm> w;
    std::unique_ptr<QMimeData> mime = UriList({"/d/a.txt", "/d/b c.txt"});
};

TEST_F(QtDropRoutingTest, EveryTargetNamesItselfOrTheForm) {
    const std::vector<std::pair<QWidget*, std::string>> targets = {
        {&w.window, "Form1"},
        {w.window.centralWidget(), "Form1"},
        {&w.Child("Label1"), "Label1"},
        {&w.Child("Label2"), "Label2"},
        {&w.Child("txtFind"), "txtFind"},
        {&w.Child("txtReplace"), "txtReplace"},
    };
    for (const auto& [widget, name] : targets) {
        EXPECT_EQ(DropOn(*widget, *mime), Qt::CopyAction) << name;
        ASSERT_FALSE(w.form.drops.empty());
        EXPECT_EQ(w.form.drops.back().target, name);
        EXPECT_EQ(w.form.drops.back().files, (std::vector<Text>{u"/d/a.txt", u"/d/b c.txt"}));
    }
    EXPECT_EQ(w.form.drops.size(), targets.size());
}

TEST_F(QtDropRoutingTest, PassesEffectButtonsKeysAndTwipsAndShowsBusy) {
    DropOn(w.Child("txtFind"), *mime, Qt::LinkAction | Qt::MoveAction, {3, 4},
           Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_EQ(w.form.drops.size(), 1u);
    const DropArgs& args = w.form.drops[0].args;
    EXPECT_EQ(args.effect, 4);
    EXPECT_EQ(args.button, 1);
    EXPECT_EQ(args.shift, 3);
    EXPECT_FLOAT_EQ(args.x, 45);
    EXPECT_FLOAT_EQ(args.y, 60);
    EXPECT_TRUE(w.form.drops[0].busyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtDropRoutingTest, NeverAcceptsAMove) {
    EXPECT_EQ(DropOn(w.window, *mime, Qt::CopyAction | Qt::MoveAction), Qt::CopyAction);
    EXPECT_EQ(DropOn(w.window, *mime, Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
    EXPECT_EQ(w.form.drops.size(), 2u);
    EXPECT_EQ(DropOn(w.window, *mime, Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_EQ(w.form.drops.size(), 2u);
}

TEST_F(QtDropRoutingTest, ABoxNeverTakesDroppedText) {
    auto& find = w.Child<QLineEdit>("txtFind");
    find.setText("abc");
    QMimeData text;
    text.setText("dropped");
    DropOn(find, text);
    EXPECT_EQ(find.text(), "abc");
    ASSERT_EQ(w.form.drops.size(), 1u);
    EXPECT_TRUE(w.form.drops[0].files.empty());
}

TEST_F(QtDropRoutingTest, AHiddenControlKeepsItsPlaceAndLeavesDropsToTheSurface) {
    w.window.show();
    auto& replace = w.Child<QLineEdit>("txtReplace");
    replace.setText("xyz");
    const QPoint place = replace.mapTo(&w.window, replace.rect().center());
    w.window.controls().textBox("txtReplace").SetVisible(false);
    EXPECT_EQ(DropOnWindowAt(w.window, *mime, place), Qt::CopyAction);
    w.window.controls().textBox("txtReplace").SetVisible(true);
    EXPECT_EQ(DropOnWindowAt(w.window, *mime, place), Qt::CopyAction);
    ASSERT_EQ(w.form.drops.size(), 2u);
    EXPECT_EQ(w.form.drops[0].target, "Form1");
    EXPECT_EQ(w.form.drops[1].target, "txtReplace");
    EXPECT_EQ(w.window.controls().textBox("txtReplace").GetText(), u"xyz");
}

}  // namespace
}  // namespace tolvane
