#include "NoteName.h"

namespace bp {

QString readableNoteName(const QString& title, std::int32_t nid) {
    // Control characters (the holes of Windows-1252 decode to them), replacement characters
    // and unassigned code points are silent or read as noise; blanks of every kind become one.
    QString kept;
    kept.reserve(title.size());
    for (QChar c : title) {
        const QChar::Category cat = c.category();
        if (cat == QChar::Other_Control || cat == QChar::Other_Format ||
            cat == QChar::Other_NotAssigned || cat == QChar::Other_PrivateUse ||
            c == QChar::ReplacementCharacter) {
            kept.append(QLatin1Char(' '));
            continue;
        }
        kept.append(c.isSpace() ? QChar(QLatin1Char(' ')) : c);
    }
    kept = kept.simplified();
    if (kept.isEmpty()) {
        return QStringLiteral("Note %1").arg(nid);
    }
    return kept;
}

}  // namespace bp
