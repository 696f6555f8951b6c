#include "httpd/RequestRecord.h"

#include <QDateTime>
#include <QHostAddress>

namespace {

// A quoted field: a quote, a backslash or a control character a client sent could
// otherwise end the field or the line early, and forge another.
void appendQuoted(QByteArray &line, const QString &text)
{
    line += '"';
    if (text.isEmpty()) {
        line += '-';
    } else {
        const QByteArray bytes = text.toUtf8();
        for (const char c : bytes) {
            const auto u = uchar(c);
            if (c == '"' || c == '\\') {
                line += '\\';
                line += c;
            } else if (u < 0x20 || u == 0x7f) {
                static const char hex[] = "0123456789ABCDEF";
                line += "\\x";
                line += hex[u >> 4];
                line += hex[u & 0xf];
            } else {
                line += c;
            }
        }
    }
    line += '"';
}

void appendTwoDigits(QByteArray &line, int value)
{
    line += char('0' + value / 10 % 10);
    line += char('0' + value % 10);
}

} // namespace

QString RequestRecord::peerText(const PeerAddress &peer)
{
    if (peer.any.sa_family != AF_INET && peer.any.sa_family != AF_INET6)
        return QStringLiteral("-");
    QHostAddress address(&peer.any);
    // An IPv4 phone reaching an IPv6 socket is still an IPv4 phone.
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4 && address.protocol() == QAbstractSocket::IPv6Protocol)
        address = QHostAddress(v4);
    return address.toString();
}

QByteArray RequestRecord::accessLogLine() const
{
    static const char *const months[]
        = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(time);
    const QDate date = when.date();
    const QTime clock = when.time();
    const int offset = when.offsetFromUtc() / 60;
    QByteArray line = peerText(peer).toLatin1();
    line += " - - [";
    appendTwoDigits(line, date.day());
    line += '/';
    line += months[date.month() - 1];
    line += '/';
    line += QByteArray::number(date.year());
    line += ':';
    appendTwoDigits(line, clock.hour());
    line += ':';
    appendTwoDigits(line, clock.minute());
    line += ':';
    appendTwoDigits(line, clock.second());
    line += offset < 0 ? " -" : " +";
    appendTwoDigits(line, qAbs(offset) / 60);
    appendTwoDigits(line, qAbs(offset) % 60);
    line += "] ";
    appendQuoted(line, request.requestLine);
    line += ' ';
    line += QByteArray::number(status);
    line += ' ';
    // As web servers write it: "-" for no bytes at all.
    line += bytes > 0 ? QByteArray::number(bytes) : QByteArray("-");
    line += ' ';
    appendQuoted(line, request.referer);
    line += ' ';
    appendQuoted(line, request.userAgent);
    line += '\n';
    return line;
}
