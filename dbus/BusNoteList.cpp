#include "BusNoteList.h"

#include "scripting/NoteDirectory.h"

#include <QDBusMetaType>

namespace bp {

BusNoteEntry toBusNoteEntry(const NoteSummary& summary) {
    const std::string_view state = stateWord(summary.state);
    return {QString::fromStdString(summary.id), QString::fromStdString(summary.title),
            QString::fromUtf8(state.data(), static_cast<qsizetype>(state.size())),
            summary.alarmTime ? static_cast<qint64>(*summary.alarmTime) : 0};
}

QDBusArgument& operator<<(QDBusArgument& out, const BusNoteEntry& entry) {
    out.beginStructure();
    out << entry.id << entry.title << entry.state << entry.alarmTime;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, BusNoteEntry& entry) {
    in.beginStructure();
    in >> entry.id >> entry.title >> entry.state >> entry.alarmTime;
    in.endStructure();
    return in;
}

void registerBusNoteTypes() {
    qDBusRegisterMetaType<BusNoteEntry>();
    qDBusRegisterMetaType<BusNoteList>();
}

}  // namespace bp
