#pragma once

#include "DesktopNoteSearch.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace bp {

// The notes in the search of a desktop shell that asks search providers over the session bus
// (org.gnome.Shell.SearchProvider2): result ids are note ids; a result opens its note, the
// search itself opens Find.
class ShellSearchProvider : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")
public:
    // The icon the results carry: the program's own, as its desktop entry names it.
    static constexpr const char* kIconName = "brightpost";

    explicit ShellSearchProvider(INoteScripting& notes, QObject* parent = nullptr);

    // The result metas' type must be known to the bus before the object is registered, or the
    // bus does not offer the method at all.
    static void registerTypes();

public slots:
    QStringList GetInitialResultSet(const QStringList& terms);
    QStringList GetSubsearchResultSet(const QStringList& previousResults, const QStringList& terms);
    // "id", "name", "description" and "gicon" of each id that names a note; others are left out.
    QList<QVariantMap> GetResultMetas(const QStringList& ids);
    void ActivateResult(const QString& id, const QStringList& terms, uint timestamp);
    void LaunchSearch(const QStringList& terms, uint timestamp);

private:
    DesktopNoteSearch search_;
};

}  // namespace bp
