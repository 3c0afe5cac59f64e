#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_support.h"

namespace tolvane {
namespace {

using qt_testing::AttachedWindow;

class QtWindowTest : public testing::Test {
  protected:
    AttachedWindow<Form1> w;
};

TEST_F(QtWindowTest, IsTitledAndHasTheClientAreaAtAFixedSize) {
    w.window.show();
    EXPECT_EQ(w.window.windowTitle(), "Tolvane");
    EXPECT_EQ(w.window.centralWidget()->size(), QSize(205, 119));  // 204.8 by 119.2
    EXPECT_EQ(w.window.minimumSize(), w.window.maximumSize());
    EXPECT_EQ(w.window.centralWidget()->y(), w.window.menuBar()->height());
}

TEST_F(QtWindowTest, PlacesEachControlAtItsDescribedPixels) {
    EXPECT_EQ(w.Child<QLineEdit>("txtFind").geometry(), QRect(5, 25, 87, 19));
    EXPECT_EQ(w.Child<QLineEdit>("txtReplace").geometry(), QRect(101, 25, 87, 19));
    EXPECT_EQ(w.Child<QLabel>("Label1").geometry(), QRect(7, 6, 87, 19));
    EXPECT_EQ(w.Child<QLabel>("Label2").geometry(), QRect(101, 4, 87, 19));
}

TEST_F(QtWindowTest, MenuHoldsTheFourCheckableModesOnly) {
    const QList<QAction*> menus = w.window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), "&File");
    QStringList captions;
    for (QAction* item : menus[0]->menu()->actions()) {
        captions << item->text();
        EXPECT_TRUE(item->isCheckable() && !item->isSeparator()) << item->text().toStdString();
        EXPECT_TRUE(item->shortcut().isEmpty());
        EXPECT_EQ(item->isChecked(), item->objectName() == "mnuSearchandReplace");
    }
    EXPECT_EQ(captions, QStringList({"&Search and Replace", "&Insert", "&Append", "&Number"}));
}

TEST_F(QtWindowTest, FocusStartsInFindAndTabSkipsTheLabels) {
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    auto& find = w.Child<QLineEdit>("txtFind");
    auto& replace = w.Child<QLineEdit>("txtReplace");
    EXPECT_EQ(QApplication::focusWidget(), &find);
    QTest::keyClick(&find, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &replace);
    QTest::keyClick(&replace, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &find);
}

TEST_F(QtWindowTest, LabelsNameTheirBoxesForScreenReaders) {
    auto& find = w.Child<QLineEdit>("txtFind");
    EXPECT_EQ(w.Child<QLabel>("Label1").buddy(), &find);
    EXPECT_EQ(w.Child<QLabel>("Label2").buddy(), &w.Child<QLineEdit>("txtReplace"));
    EXPECT_EQ(find.accessibleName(), "Find");
    EXPECT_EQ(w.Child<QLineEdit>("txtReplace").accessibleName(), "Replace");
    w.Child<QAction>("mnuNumber").trigger();
    EXPECT_EQ(find.accessibleName(), "Seperator");
    EXPECT_EQ(w.Child<QLabel>("Label1").accessibleName(), "Seperator");
}

TEST_F(QtWindowTest, UnknownControlNamesRaiseErrors) {
    EXPECT_THROW(w.window.controls().label("txtFind"), Error);
    EXPECT_THROW(w.window.controls().textBox("Label1"), Error);
    EXPECT_THROW(w.window.controls().menuItem("mnuQuit"), Error);
}

}  // namespace
}  // namespace tolvane
