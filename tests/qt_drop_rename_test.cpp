#include <unistd.h>

#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/posix/native_path.h"
#include "qt_support.h"
#include "temp_dir.h"

namespace tolvane {
namespace {

using qt_testing::AttachedWindow;
using qt_testing::DropOn;
using qt_testing::RawUriListOf;
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

// The names in `folder`, sorted.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// `list` with each '@' standing for `folder`.
std::string InFolder(std::string list, const std::string& folder) {
    for (std::size_t at = 0; (at = list.find('@', at)) != std::string::npos;) {
        list.replace(at, 1, folder);
        at += folder.size();
    }
    return list;
}

// Lists as other programs send them, byte for byte. "@" stands for a folder
// holding the files "a" and "b"; mode Insert.
TEST_F(QtDropRenameTest, ListsAreRenamedWholeOrNotAtAll) {
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string list;
        const char* find;
        std::vector<std::string> after;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"an empty box ignores a list mixing a file and a web address",
         "file://@/a\r\nhttp://example.org/x\r\n",
         "",
         {"a", "b"},
         false},
        {"an empty box ignores a list holding a NUL",
         "file://@/a%00\r\nfile://@/b\0c\r\n"s,
         "",
         {"a", "b"},
         false},
        {"an escaped NUL in the last entry refuses the list",
         "file://@/a\r\nfile://@/b%00\r\n",
         "new ",
         {"a", "b"},
         true},
        {"a raw NUL inside a line refuses the list",
         "file://@/a\r\nfile://@/b\0x\r\n"s,
         "new ",
         {"a", "b"},
         true},
        {"NULs after the last line break are padding",
         "file://@/a\r\nfile://@/b\r\n\0\0"s,
         "new ",
         {"new a", "new b"},
         false},
        {"a NUL ending the list is padding", "file://@/a\0"s, "new ", {"b", "new a"}, false},
        {"LOCALHOST is this machine",
         "file://LOCALHOST@/a\r\nfile://LocalHost@/b",
         "new ",
         {"new a", "new b"},
         false},
        {"so is its own name in capitals",
         "file://" + Upper(host) + "@/b",
         "new ",
         {"a", "new b"},
         false},
    };
    w.Child<QAction>("mnuInsert").trigger();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string folder = dir / std::to_string(i);
        std::filesystem::create_directory(folder);
        WriteFile(folder + "/a", "a");
        WriteFile(folder + "/b", "b");
        const std::string list = InFolder(c.list, folder);
        Type("txtFind", c.find);
        const std::size_t shownBefore = w.report.shown.size();
        DropOn(w.window, *RawUriListOf(list));
        EXPECT_EQ(Listing(folder), c.after) << c.what;
        EXPECT_EQ(w.report.shown.size(), shownBefore + (c.refused ? 1 : 0)) << c.what;
    }
}

// One data object for every drag, as X11 gives it: each fetch answers with
// the next of `lists`, the last one for good.
class DragAfterDrag : public QMimeData {
  public:
    explicit DragAfterDrag(std::vector<std::string> lists) : lists_(std::move(lists)) {}
    bool hasFormat(const QString& type) const override { return type == "text/uri-list"; }
    QStringList formats() const override { return {"text/uri-list"}; }
    std::size_t fetches() const { return fetches_; }

  protected:
    QVariant retrieveData(const QString&, QMetaType) const override {
        const std::size_t next = std::min(fetches_++, lists_.size() - 1);
        return QByteArray::fromStdString(lists_[next]);
    }

  private:
    std::vector<std::string> lists_;
    mutable std::size_t fetches_ = 0;
};

// The list is fetched as the drag enters the window, while the pointer
// hovers; each drop must still rename the files of its own drag.
TEST_F(QtDropRenameTest, EachDropRenamesItsOwnDragsList) {
    struct Case {
        const char* what;
        std::vector<std::string> lists;
        const char* events;  // Enter, Move to the other control, Leave, Drop
        std::vector<std::string> after;
        std::size_t fetches;
    };
    const std::vector<Case> cases = {
        // After a leave, X11 may send the next drag's moves with no enter.
        {"a drag that left is forgotten", {"file://@/a", "file://@/b"}, "ELMD", {"a", "new b"}, 2},
        {"a drag crossing the controls is fetched once", {"file://@/b"}, "EMMD", {"a", "new b"}, 1},
        {"an empty answer on entering is asked again", {"", "file://@/b"}, "ED", {"a", "new b"}, 2},
    };
    w.window.show();
    QWindow& handle = *w.window.windowHandle();
    const auto centre = [this](const char* name) {
        QWidget& control = Target(name);
        return control.mapTo(&w.window, control.rect().center());
    };
    const QPoint places[] = {centre("Label1"), centre("txtFind")};
    w.Child<QAction>("mnuInsert").trigger();
    Type("txtFind", "new ");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string folder = dir / ("drag" + std::to_string(i));
        std::filesystem::create_directory(folder);
        WriteFile(folder + "/a", "a");
        WriteFile(folder + "/b", "b");
        std::vector<std::string> lists;
        for (const std::string& list : c.lists) lists.push_back(InFolder(list, folder));
        DragAfterDrag mime(lists);
        std::size_t at = 0;
        for (const char* event = c.events; *event != '\0'; ++event) {
            const QPoint place = places[at];
            if (*event == 'E') {
                QDragEnterEvent enter(place, Qt::CopyAction, &mime, Qt::LeftButton, {});
                QApplication::sendEvent(&handle, &enter);
            } else if (*event == 'M') {
                at = 1 - at;
                QDragMoveEvent move(places[at], Qt::CopyAction, &mime, Qt::LeftButton, {});
                QApplication::sendEvent(&handle, &move);
            } else if (*event == 'L') {
                QDragLeaveEvent leave;
                QApplication::sendEvent(&handle, &leave);
            } else {
                QDropEvent drop(place, Qt::CopyAction, &mime, Qt::LeftButton, {});
                QApplication::sendEvent(&handle, &drop);
            }
        }
        EXPECT_EQ(Listing(folder), c.after) << c.what;
        EXPECT_EQ(mime.fetches(), c.fetches) << c.what;
    }
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
