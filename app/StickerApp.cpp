#include "StickerApp.h"

#include "AppOptions.h"
#include "MainWindow.h"
#include "NoteDefaults.h"
#include "ProductInfo.h"
#include "ScriptClient.h"
#include "SessionEnd.h"
#include "SessionMessages.h"
#include "dbus/DesktopBus.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/Messages.h"
#include "platform/qt/DBusNotifications.h"
#include "platform/qt/DialogStacking.h"
#include "platform/qt/KeepOnScreen.h"
#include "platform/qt/LogindPowerOff.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSound.h"
#include "platform/qt/QtSpeech.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/X11HotKeys.h"
#include "platform/qt/X11WindowSystem.h"
#include "richtext/RichText.h"
#include "scripting/ScriptRequests.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"
#include "ui/NoteUserMessages.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <algorithm>
#include <cstdio>

// The icons are compiled into a static library, whose resources must be pulled in by hand
// (outside any namespace, as the generated initialiser is global).
void initBrightpostResources() {
    Q_INIT_RESOURCE(resources);
}

namespace bp {

namespace {

constexpr int kIconWarning = res::ICON_WARNING;

std::vector<std::string> argumentsOf(const QApplication& app) {
    std::vector<std::string> arguments;
    const QStringList list = app.arguments();
    for (qsizetype i = 1; i < list.size(); ++i) {
        arguments.push_back(list[i].toStdString());
    }
    return arguments;
}

// Help and version need no display, so they are answered before Qt starts.
bool answeredWithoutDisplay(int argc, char** argv, int& exitCode) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::erase_if(arguments, [](const std::string& a) {
        return a != "--help" && a != "-h" && a != "--version";
    });
    const AppOptions options = parseAppOptions(arguments);
    if (options.help) {
        std::fputs(appUsage().c_str(), stdout);
        exitCode = 0;
        return true;
    }
    if (options.version) {
        std::printf("%s %s\n", kProductName, kProductVersion);
        exitCode = 0;
        return true;
    }
    return false;
}

// Another copy holds the data folder: it carries out what this start was asked to do.
int handOverToRunningCopy(const SingleInstance& instance, const AppOptions& options,
                          const std::string& dataFolder, IUserMessages& messages) {
    const std::string inUse = std::string(kProductName) +
                              " is already running.\nThe data folder \"" + dataFolder +
                              "\" is in use.";
    // Without an action the running copy pops up its tray menu.
    const std::vector<std::string> actions =
        options.actions.empty() ? std::vector<std::string>{"tray-menu"} : options.actions;
    for (const std::string& action : actions) {
        const SingleInstance::Answer answer = instance.sendToRunningCopy(
            QByteArrayLiteral("action ") + QByteArray::fromStdString(action));
        if (answer.status == SingleInstance::Answer::Status::Refused) {
            std::fprintf(stderr, "brightpost: the running copy refused \"%s\": %s\n",
                         action.c_str(), qPrintable(answer.reason));
            return 1;
        }
        if (answer.status == SingleInstance::Answer::Status::NoAnswer) {
            if (options.actions.empty()) {
                messages.showMessage("Warning", "", inUse, kIconWarning);
                return 0;
            }
            std::fprintf(stderr, "brightpost: the running copy did not answer. %s\n",
                         inUse.c_str());
            return 1;
        }
    }
    return 0;
}

// When the X server goes away, Qt warns about the broken connection and ends the process
// straight after, without returning to the event loop: the warning is the last moment at
// which the notes can still be saved.
MainWindow* gTrayToRescue = nullptr;
QtMessageHandler gPreviousHandler = nullptr;

bool announcesLostDisplay(const QString& text) {
    return text.startsWith(QLatin1String("The X11 connection broke"));
}

void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (gTrayToRescue != nullptr && announcesLostDisplay(text)) {
        MainWindow* tray = gTrayToRescue;
        // Once only, even if saving itself has something to say.
        gTrayToRescue = nullptr;
        tray->saveUnsavedWork();
    }
    if (gPreviousHandler != nullptr) {
        gPreviousHandler(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

// Keeps the rescue in place for the life of the tray.
class LostDisplayRescue {
public:
    explicit LostDisplayRescue(MainWindow& tray) {
        gTrayToRescue = &tray;
        gPreviousHandler = qInstallMessageHandler(&onQtMessage);
    }
    ~LostDisplayRescue() {
        gTrayToRescue = nullptr;
        qInstallMessageHandler(gPreviousHandler);
    }
    LostDisplayRescue(const LostDisplayRescue&) = delete;
    LostDisplayRescue& operator=(const LostDisplayRescue&) = delete;
};

}  // namespace

int CStickerApp::InitInstance(int& argc, char** argv) {
    // Commands for scripts talk to the running copy or read the database: no display either.
    if (const AppOptions options = parseAppOptions({argv + 1, argv + argc});
        options.error.empty() && !options.verb.empty()) {
        return runScriptVerb(options, argv[0]);
    }
    if (int exitCode = 0; answeredWithoutDisplay(argc, argv, exitCode)) {
        return exitCode;
    }
    // Notes place and stack their own windows, which Wayland clients cannot do: they go through
    // XWayland. Not only when the session says it is Wayland: started with just WAYLAND_DISPLAY
    // (a terminal, a user service), Qt would still pick its Wayland plugin when installed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    initBrightpostResources();
    QApplication::setApplicationName(QString::fromLatin1(kProductName));
    QApplication::setApplicationVersion(QString::fromLatin1(kProductVersion));
    QApplication::setQuitOnLastWindowClosed(false);
    {
        // Every window hands its icon to the window manager when it is created; drawn once
        // at the sizes desktops show, it is a few kilobytes per note window instead of four
        // renders up to 128 pixels each.
        const QIcon drawing(QStringLiteral(":/icons/tray.svg"));
        QIcon icon;
        for (const int side : {16, 32, 48}) {
            icon.addPixmap(drawing.pixmap(side, side));
        }
        QApplication::setWindowIcon(icon);
    }

    AppOptions options = parseAppOptions(argumentsOf(app));
    if (options.error.empty() && !options.verb.empty()) {
        options.error = "commands take none of Qt's options";
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "brightpost: %s\n%s", options.error.c_str(), appUsage().c_str());
        return 2;
    }
    // Fix the data folder before the working directory moves.
    const std::string dataFolder = resolveDataFolder(options.dataDir);
    QDir::setCurrent(QApplication::applicationDirPath());

    NoteUserMessages boxes;
    SessionMessages messages(boxes, &SessionEnd::signalled);
    SystemClock clock;
    QtDesktop desktop;
    QtPlatformInfo info;
    X11WindowSystem windows;
    rtf::QtRichTextEngine richText;
    DialogStacking dialogStacking(windows);
    app.installEventFilter(&dialogStacking);
    KeepOnScreen keepOnScreen(desktop);
    app.installEventFilter(&keepOnScreen);

    // The folder is checked before anything of ours goes into it, the lock file first.
    if (const FolderCheck folder = preparePrivateFolder(dataFolder); !folder.usable) {
        std::fprintf(stderr, "brightpost: %s\n", folder.problem.c_str());
        messages.showMessage("Error", "", folder.problem, kIconWarning);
        return 1;
    }
    SingleInstance instance(QString::fromStdString(dataFolder),
                            SingleInstance::defaultRuntimeFolder());
    switch (instance.acquire()) {
        case SingleInstance::Acquired::Yes:
            break;
        case SingleInstance::Acquired::Failed:
            std::fprintf(stderr, "brightpost: %s\n", qPrintable(instance.problem()));
            messages.showMessage("Error", "", instance.problem().toStdString(), kIconWarning);
            return 1;
        case SingleInstance::Acquired::HeldByAnotherCopy:
            return handOverToRunningCopy(instance, options, dataFolder, messages);
    }

    // Nothing runs, so there is nothing to end.
    if (std::find(options.actions.begin(), options.actions.end(), "quit") !=
        options.actions.end()) {
        return 0;
    }

    QtShell shell;
    X11HotKeys hotKeys;
    QtFileDialogs fileDialogs;
    QtModalDialogs modalDialogs;
    QtSound sound;
    LogindPowerOff powerOff;
    Platform platform{&messages, &clock,       &desktop,      &info,     &windows, &shell,
                      &hotKeys,  &fileDialogs, &modalDialogs, &richText, &sound,   &powerOff};
    QtSpeech speech;
    platform.speech = &speech;
    DBusNotifications notifications;
    platform.notifications = &notifications;
    CNotesDatabase store(platform);
    MainWindow tray(platform, store, dataFolder);
    LostDisplayRescue rescue(tray);
    instance.setRequestHandler([&tray](const QByteArray& request) {
        return QString::fromStdString(tray.handleRequest(request));
    });
    instance.setScriptHandler([&tray, &clock](const QByteArray& request) {
        const auto defaultTitle = [&tray, &clock] {
            CNotesDatabase& store = tray.store();
            return composeDefaultTitle(clock, setting::get(store, setting::TitleDefaults),
                                       setting::get(store, setting::TitleText),
                                       setting::get(store, setting::TitleOrder));
        };
        return SingleInstance::ScriptReply{
            ScriptRequests(tray.noteScripting(), defaultTitle).answer(request), {}};
    });
    // Asked to end from outside (a signal, the session manager, a later start's --quit) while
    // boxes, dialogs or menus may be open, each with an event loop of its own whose caller
    // may hold the store's locks or be half-way through a save: ending in there could wait
    // for ever on what those callers hold. So every event loop is left first, the callers
    // return, and the exit stores and saves from the top. Until a usable database is in
    // place there is nothing to save, and set-up ends at once as it always has.
    bool endAsked = false;
    const auto endInOrder = [&tray, &endAsked] {
        endAsked = true;
        if (!tray.hasUsableDatabase()) {
            tray.exitApplication();
            return;
        }
        QCoreApplication::exit(0);
    };
    SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &SessionEnd::ending, &tray, endInOrder);
    QObject::connect(&tray, &MainWindow::endRequested, &tray, endInOrder);
    // Quitting may be refused by a window that will not close; the exit has saved, so the
    // event loops end whatever is open.
    QObject::connect(
        &tray, &MainWindow::exited, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    tray.setSessionEnding([&endAsked] { return endAsked || SessionEnd::signalled(); });

    switch (tray.initialize()) {
        case 0:
            messages.showMessage("Error", "", "Initialization error.", kIconWarning);
            return 1;
        case MainWindow::kEndedDuringSetUp:
            return 0;
        default:
            break;
    }
    // The quit that ended a box of the set-up is spent; the event loop would not see it.
    if (tray.isExiting() || endAsked) {
        tray.exitApplication();
        return 0;
    }
    // A first start with actions carries them out once the notes are up.
    for (const std::string& action : options.actions) {
        QMetaObject::invokeMethod(
            &tray, [&tray, action] { tray.performAction(action); }, Qt::QueuedConnection);
    }
    // Scripts reach the notes once they are all there; a call that started the program by
    // the bus waits for the name until then.
    DesktopBus desktopBus(tray.noteScripting(), QDBusConnection::sessionBus());
    desktopBus.start();
    const int exitCode = QApplication::exec();
    tray.exitApplication();
    return exitCode;
}

}  // namespace bp
