// The baseline of the start-up benchmark: an empty dialog that quits once it is shown.
#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog d;
    d.setWindowTitle(QStringLiteral("登录"));
    d.resize(420, 260);
    QTimer::singleShot(0, &d, &QDialog::reject);
    d.exec();
    return 0;
}
