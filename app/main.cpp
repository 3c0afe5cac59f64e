#include <QApplication>
#include <QIcon>

#include "platform/posix/posix_renamer.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_error_report.h"
#include "window/form1_description.h"
#include "window/main_window.h"

namespace {

constexpr auto kDesktopId = "io.github.tolvane.Tolvane";

// The installed theme icon where there is one, else the copy built in.
QIcon ApplicationIcon() {
    QIcon builtIn;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        builtIn.addFile(QStringLiteral(":/icons/%1x%1/%2.png").arg(size).arg(kDesktopId));
    }
    return QIcon::fromTheme(kDesktopId, builtIn);
}

void Identify(QApplication& app) {
    app.setApplicationName(QStringLiteral("Tolvane"));
    app.setApplicationDisplayName(QStringLiteral("Tolvane"));
    app.setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    app.setDesktopFileName(kDesktopId);
    app.setWindowIcon(ApplicationIcon());
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
