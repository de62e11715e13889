#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace bp {

struct NoteSummary;

// One note as ListNotes hands it to scripts, the D-Bus structure (sssx): its id, title, state
// word and the next ringing of its alarm in seconds since 1970, 0 when it has none.
struct BusNoteEntry {
    QString id;
    QString title;
    QString state;
    qint64 alarmTime = 0;

    bool operator==(const BusNoteEntry&) const = default;
};
using BusNoteList = QList<BusNoteEntry>;

BusNoteEntry toBusNoteEntry(const NoteSummary& summary);

QDBusArgument& operator<<(QDBusArgument& out, const BusNoteEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& in, BusNoteEntry& entry);

// Tells Qt D-Bus how to send the list; needed before the interface is exported or called.
void registerBusNoteTypes();

}  // namespace bp

Q_DECLARE_METATYPE(bp::BusNoteEntry)
