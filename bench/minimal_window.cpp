// The floor for start-up time and memory: a Qt Widgets program that only
// shows one empty window.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.show();
    return application.exec();
}
