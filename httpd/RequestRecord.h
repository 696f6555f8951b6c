#pragma once

#include "httpd/HttpRequest.h"

#include <QByteArray>
#include <QString>

#include <netinet/in.h>

// The address a connection came from, as the kernel gave it: kept raw on the
// connection threads and turned into text on the main thread.
union PeerAddress {
    sockaddr any;
    sockaddr_in v4;
    sockaddr_in6 v6;
};

// One request on its way from a connection thread to the main thread. It travels
// twice: when its header has come (for the request log, ahead of anything the
// request asks of the main thread) and when its connection ends (for the access
// log and the table of phones).
struct RequestRecord {
    enum Stage : quint8 { Asked, Ended };
    // The status logged for a request that was closed without a response (a
    // missing or refused file, a header that never ended), as nginx logs it.
    static constexpr int kNoResponse = 444;

    Stage stage = Asked;
    // The rest is set for Ended.
    int status = kNoResponse;
    // The whole file was handed to the connection.
    bool whole = false;
    // HttpdServer::generation() when the file that was sent had been opened.
    quint64 generation = 0;
    // Bytes of the file sent, without the response header.
    qint64 bytes = 0;
    // When the connection ended, in milliseconds since the epoch.
    qint64 time = 0;
    PeerAddress peer = {};
    HttpRequest request;

    // The address as text ("-" when unknown).
    static QString peerText(const PeerAddress &peer);
    // The request as a line of the combined log format web servers write, with
    // its line feed: host - - [10/Dec/2026:13:55:36 +0100] "GET /phonebook.xml
    // HTTP/1.1" 200 2326 "-" "Birch/1.0", in local time and UTF-8.
    QByteArray accessLogLine() const;
};
