#pragma once

#include <QDBusConnection>

class QObject;

namespace bp {

class INoteScripting;

// Where the desktop's search finds the notes on the program's bus name.
inline constexpr const char* kShellSearchProviderPath = "/org/brightpost/Brightpost/SearchProvider";
inline constexpr const char* kLauncherRunnerPath = "/org/brightpost/Brightpost/KRunner";

// Puts the shell's search provider and the launcher's runner on the connection, owned by
// `owner`. False without a bus, and (with a line on standard error) when the bus refused either.
// The bus name is asked for by whoever owns the connection, after this.
bool registerDesktopSearch(QDBusConnection connection, INoteScripting& notes, QObject* owner);

}  // namespace bp
