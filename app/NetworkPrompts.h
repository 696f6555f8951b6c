#pragma once

#include <QList>
#include <QSslError>
#include <QString>

class QAuthenticator;
class QWidget;

// The questions a download asks the user: a login the server wants, and whether
// to go on despite certificate problems. The network import and the address
// books ask them alike, in the network import's words.
namespace NetworkPrompts {

// The credentials dialog, with `userName` filled in and, after a refused login,
// a line saying so. When the user accepts, `authenticator` and `userName` take
// what was typed; true then.
bool askCredentials(
    QWidget *parent, const QString &site, QAuthenticator *authenticator, QString *userName, bool refused);

// The certificate warning: true when the user chose to ignore `errors`.
bool acceptCertificateErrors(QWidget *parent, const QList<QSslError> &errors);

} // namespace NetworkPrompts
