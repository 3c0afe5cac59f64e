#include <QApplication>
#include <QIcon>

#include "platform/posix/posix_renamer.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_error_report.h"
#include "window/form1_description.h"
#include "window/main_window.h"

namespace {

constexpr auto kDesktopId = "io.github.tolvane.Tolvane";

// The window's own icon in the sizes a title bar and task switcher use;
// launchers take the installed icons named by the desktop entry. Larger
// sizes would be decoded and sent to the display before the window maps.
QIcon WindowIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/%1x%1/%2.png").arg(size).arg(kDesktopId),
                     QSize(size, size));
    }
    return icon;
}

void Identify(QApplication& app) {
    app.setApplicationName(QStringLiteral("Tolvane"));
    app.setApplicationDisplayName(QStringLiteral("Tolvane"));
    app.setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    app.setDesktopFileName(kDesktopId);
    app.setWindowIcon(WindowIcon());
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Identify(app);

    tolvane::PosixRenamer renamer;
    tolvane::FormWindow window(tolvane::Form1Description());
    tolvane::QtErrorReport errors(window);
    tolvane::Form1 form(window.controls(), renamer);
    window.Attach(form, errors);
    window.show();
    return app.exec();
}
