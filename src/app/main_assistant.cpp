#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("KORVEX小幫手Zamo高中版"));
    window.show();
    return app.exec();
}
