#include <QApplication>
#include <QMainWindow>

#include <clocale>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt takes the user's locale for the C library; numbers are always "C".
    std::setlocale(LC_NUMERIC, "C");
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quarrant"));
    window.showMaximized();
    return application.exec();
}
