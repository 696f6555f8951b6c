#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvane Phonebook Editor"));
    window.setFixedSize(950, 609);
    window.show();
    return app.exec();
}
