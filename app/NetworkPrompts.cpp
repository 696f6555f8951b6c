#include "app/NetworkPrompts.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

// The network import's texts, in its context: they share its translations.
namespace NetworkPrompts {

bool askCredentials(
    QWidget *parent, const QString &site, QAuthenticator *authenticator, QString *userName, bool refused)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("http_auth_dialog"));
    dialog.setWindowTitle(QCoreApplication::translate("WebImport", "Http authentication required"));
    auto *user = new QLineEdit(*userName, &dialog);
    user->setObjectName(QStringLiteral("auth_user_edit"));
    auto *password = new QLineEdit(&dialog);
    password->setObjectName(QStringLiteral("auth_password_edit"));
    password->setEchoMode(QLineEdit::Password);
    if (!userName->isEmpty())
        password->setFocus();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto *grid = new QGridLayout(&dialog);
    grid->addWidget(new QLabel(QCoreApplication::translate(
                                   "WebImport", "You need to supply a Username and a Password to access this site"),
                        &dialog),
        0, 0, 1, 2);
    grid->addWidget(new QLabel(QCoreApplication::translate("WebImport", "Username:"), &dialog), 1, 0);
    grid->addWidget(user, 1, 1);
    grid->addWidget(new QLabel(QCoreApplication::translate("WebImport", "Password:"), &dialog), 2, 0);
    grid->addWidget(password, 2, 1);
    grid->addWidget(new QLabel(QCoreApplication::translate("WebImport", "Site:"), &dialog), 3, 0);
    grid->addWidget(new QLabel(site, &dialog), 3, 1);
    if (refused) {
        auto *hint = new QLabel(
            QCoreApplication::translate("WebImport", "The server refused this user name and password."), &dialog);
        hint->setObjectName(QStringLiteral("auth_refused_label"));
        grid->addWidget(hint, 4, 0, 1, 2);
    }
    grid->addWidget(buttons, 5, 0, 1, 2);

    if (dialog.exec() != QDialog::Accepted)
        return false;
    *userName = user->text();
    authenticator->setUser(user->text());
    authenticator->setPassword(password->text());
    return true;
}

bool acceptCertificateErrors(QWidget *parent, const QList<QSslError> &errors)
{
    QStringList texts;
    for (const QSslError &error : errors)
        texts << error.errorString();
    return QMessageBox::warning(parent, QCoreApplication::translate("WebImport", "HTTP Example"),
               QCoreApplication::translate("WebImport", "One or more SSL errors has occurred: %1")
                   .arg(texts.join(QStringLiteral(", "))),
               QMessageBox::Ignore | QMessageBox::Abort)
        == QMessageBox::Ignore;
}

} // namespace NetworkPrompts
