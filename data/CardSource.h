#pragma once

#include <QString>

// An address book on a CardDAV server that feeds the phonebook.
struct CardSource {
    int id = 0;
    QString url; // the address book's collection
    QString name; // its display name
    QString user;
    // Where the headless tool reads the password from; empty for the desktop's
    // secret store or the environment.
    QString passwordFile;
    QString group; // the group its contacts join
    // Minutes between refreshes; 0: only when asked, kAtStart: when the editor starts.
    int refreshMinutes = 0;
    static constexpr int kAtStart = -1;
    QString syncToken; // the server's mark of what we have; empty before the first sync
    // SHA-256 of a certificate the user chose to trust although nobody vouches for
    // it (a server's own); empty: only certificates the system trusts.
    QString certificate;
};

// What we hold of one card: the contact it became and the version we read.
struct CardLink {
    int contactId = 0;
    QString href;
    QString etag;
};
