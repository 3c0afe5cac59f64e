#include <QMessageBox>

#include <gtest/gtest.h>

#include "platform/qt/qt_error_report.h"
#include "qt_support.h"

namespace tolvane {
namespace {

using qt_testing::AttachedWindow;
using qt_testing::RecordingForm;

TEST(QtErrors, AFailingHandlerIsReportedAndTheWindowGoesOn) {
    AttachedWindow<RecordingForm> w;
    w.window.show();
    w.form.failClicks = true;
    w.Child<QAction>("mnuInsert").trigger();
    ASSERT_EQ(w.report.shown.size(), 1u);
    EXPECT_EQ(w.report.shown[0].number(), 42);
    EXPECT_EQ(w.report.shown[0].description(), u"Click failed");

    w.form.failClicks = false;
    w.Child<QAction>("mnuAppend").trigger();
    EXPECT_TRUE(w.window.isVisible());
    EXPECT_EQ(w.form.clicks.back(), "mnuAppend");
    EXPECT_EQ(w.report.shown.size(), 1u);
}

TEST(QtErrors, TheReportShowsNumberAndDescriptionWithoutBlocking) {
    FormWindow window(Form1Description());
    QtErrorReport report(window);
    report.Show(RenameError(17, u"File exists", u"/d/a.txt", u"/d/b.txt"));

    QMessageBox* box = window.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(QApplication::topLevelWidgets().contains(box));
    EXPECT_EQ(box->windowTitle(), "Tolvane");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(),
              "Error 17: Cannot rename \u201C/d/a.txt\u201D to \u201C/d/b.txt\u201D: File exists");
    box->close();
}

}  // namespace
}  // namespace tolvane
