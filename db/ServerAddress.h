#pragma once
#include "Outcome.h"

#include <QString>

namespace corvane {

// A PostgreSQL database named by a URI: postgresql://USER@HOST:PORT/DBNAME. HOST may be an
// IPv6 address in brackets ([::1]) or a Unix-socket folder, written percent-encoded
// (postgresql://user@%2Fvar%2Frun%2Fpostgresql/db) or as ?host=/var/run/postgresql;
// ?sslmode= chooses TLS as libpq does. A password is refused, and never repeated in a
// message: it would end up in corvane.ini or in the process list; libpq's ~/.pgpass or
// PGPASSWORD serve instead.
struct ServerAddress {
    QString user; // empty: libpq's default (the login name)
    QString host; // a name, an address or a socket folder (starts with '/')
    int port = 5432;
    QString database;
    QString sslMode; // empty: libpq's default

    bool operator==(const ServerAddress &) const = default;

    // "HOST:PORT/DBNAME" for messages.
    QString describe() const;
    // The same address as a URI (what parseServerUri reads back).
    QString uri() const;
    // The same server, another database on it.
    ServerAddress withDatabase(const QString &name) const;
};

// Whether the text names a server rather than a file.
bool isServerUri(const QString &text);

// The address, or why the URI names none (Japanese).
Result<ServerAddress> parseServerUri(const QString &uri);

} // namespace corvane
