#include "app/MessageBoxNotifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace {

QMessageBox::Icon boxIcon(Notifier::Icon icon)
{
    switch (icon) {
    case Notifier::Information:
        return QMessageBox::Information;
    case Notifier::Warning:
        return QMessageBox::Warning;
    case Notifier::Critical:
        return QMessageBox::Critical;
    case Notifier::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

void showBox(Notifier::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void MessageBoxNotifier::message(Icon icon, const QString &title, const QString &text)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread()) {
        showBox(icon, title, text);
        return;
    }
    QMetaObject::invokeMethod(
        app, [icon, title, text] { showBox(icon, title, text); }, Qt::BlockingQueuedConnection);
}
