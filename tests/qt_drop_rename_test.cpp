#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/posix/native_path.h"
#include "qt_support.h"
#include "temp_dir.h"

namespace tolvane {
namespace {

using qt_testing::AttachedWindow;
using qt_testing::DropOn;
using qt_testing::UriList;
using testing_files::Exists;
using testing_files::TempDir;
using testing_files::WriteFile;

class QtDropRenameTest : public testing::Test {
  protected:
    // Makes the files in `dir` and drops them, in this order, on `target`.
    void Drop(QWidget& target, const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            if (!Exists(dir / name)) WriteFile(dir / name, name);
            paths.push_back(dir / name);
        }
        DropOn(target, *UriList(paths));
    }
    QWidget& Target(const std::string& name) {
        return name == "Form1" ? *w.window.centralWidget() : w.Child(name.c_str());
    }
    void Type(const char* box, const QString& text) { w.Child<QLineEdit>(box).setText(text); }

    TempDir dir;
    AttachedWindow<Form1> w;
};

TEST_F(QtDropRenameTest, EveryTargetRenamesTheSameWayAndLeavesTheFindText) {
    Type("txtFind", "f");
    Type("txtReplace", "g");
    for (const char* target : {"Form1", "Label1", "Label2", "txtFind", "txtReplace"}) {
        const std::string file = std::string("f-") + target;
        Drop(Target(target), {file + "1", file + "2"});
        EXPECT_TRUE(Exists(dir / ("g-" + std::string(target) + "1"))) << target;
        EXPECT_TRUE(Exists(dir / ("g-" + std::string(target) + "2"))) << target;
        EXPECT_FALSE(Exists(dir / (file + "1"))) << target;
    }
    EXPECT_EQ(w.Child<QLineEdit>("txtFind").text(), "f");
    EXPECT_TRUE(w.report.shown.empty());
}

TEST_F(QtDropRenameTest, AFailedRenameStopsTheDropAndIsReported) {
    Type("txtFind", "a");
    Type("txtReplace", "b");
    WriteFile(dir / "b2", "taken");
    Drop(w.window, {"a1", "a2", "a3"});
    EXPECT_TRUE(Exists(dir / "b1"));
    EXPECT_TRUE(Exists(dir / "a2"));
    EXPECT_TRUE(Exists(dir / "a3"));
    ASSERT_EQ(w.report.shown.size(), 1u);
    EXPECT_NE(w.report.shown[0].description().find(FromNativePath(dir / "a2")), Text::npos);

    Drop(w.window, {"a3"});
    EXPECT_TRUE(Exists(dir / "b3"));
    EXPECT_EQ(w.report.shown.size(), 1u);
}

TEST_F(QtDropRenameTest, NamesAreRenamedByteForByte) {
    w.Child<QAction>("mnuInsert").trigger();
    Type("txtFind", "new ");
    const std::vector<std::string> names = {"with space.txt", "hash#1.txt", "100%.txt",
                                            "\xC3\x84gypten.txt", "caf\xE9.txt"};
    Drop(w.window, names);
    for (const std::string& name : names) EXPECT_TRUE(Exists(dir / ("new " + name))) << name;
    EXPECT_TRUE(w.report.shown.empty());
}

TEST_F(QtDropRenameTest, TheWindowIsActiveAfterADropThatRenamed) {
    QWidget other;
    w.window.show();
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Drop(w.window, {"untouched"});  // an empty find text renames nothing
    QCoreApplication::processEvents();
    EXPECT_TRUE(Exists(dir / "untouched"));
    EXPECT_EQ(QApplication::activeWindow(), &other);

    Type("txtFind", "x");
    Drop(w.window, {"a"});
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w.window));
    EXPECT_EQ(QApplication::focusWidget(), &w.Child<QLineEdit>("txtFind"));
}

}  // namespace
}  // namespace tolvane
