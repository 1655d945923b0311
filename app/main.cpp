#include <QApplication>
#include <QLabel>

// Until the main window lands, the program opens a window that says so.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window("TessaroFirmWare: the configurator's main window is not built yet.");
    window.setWindowTitle("TessaroFirmWare");
    window.setMargin(24);
    window.show();
    return app.exec();
}
