#include "app/MainWindow.h"
#include "app/MessageBoxNotifier.h"
#include "app/SingleInstance.h"
#include "data/AppPaths.h"
#include "manager/DataMgr.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>

int main(int argc, char **argv)
{
    DataMgr::mapLargeBlocks();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("QuorvanePhonebookEditor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));

    // --help and --version answer and leave before any window or lock.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edit a phonebook and publish it to IP desk phones and video phones. The headless tool "
                       "quorvane-phonebook works on the same phonebook."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    // One copy per user and program folder: a second start hands over its
    // message and leaves quietly.
    SingleInstance instance(AppPaths::appDir());
    if (instance.isRunning()) {
        instance.sendMessage(QStringLiteral("raies"), 5000);
        return 0;
    }

    QApplication::setFont(QFont(QStringLiteral("Times"), 11, QFont::Normal));
    // Windows without an icon of their own (dialogs, message boxes) show this one.
    QApplication::setWindowIcon(MainWindow::programIcon());
    // The program ends through MainWindow::closeWindow() only, never because its
    // last visible window (say the help window) was closed.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxNotifier notifier;
    Notifier::install(&notifier);
    auto *window = new MainWindow; // deletes itself in closeWindow()
    window->answerLaterStarts(&instance);
    const int status = app.exec();
    Notifier::install(nullptr);
    return status;
}
