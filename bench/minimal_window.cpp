// The floor for start-up time and memory: a Qt Widgets program that only
// shows one empty window. With --text the window also shows one line of
// text, which adds what any window with text pays for: reading the font
// configuration and loading a font.

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    std::unique_ptr<QLabel> text;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        text = std::make_unique<QLabel>(QStringLiteral("Minimal"), &window);
    }
    window.show();
    return application.exec();
}
