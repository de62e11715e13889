// The D-Bus interface through a real bus: a private dbus-daemon, the service on one connection
// and a script's calls on another, the running copy's scripting played by a fake.
#include "dbus/DesktopBus.h"
#include "dbus/NoteBusService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <ostream>

// Failures show the texts, not their bytes.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace bp {

// Records a signal of the interface, by its name, as a script connected to it sees it.
class SignalRecorder : public QObject {
    Q_OBJECT
public:
    SignalRecorder(QString name, std::vector<std::pair<QString, QString>>& received,
                   QObject* parent)
        : QObject(parent), name_(std::move(name)), received_(received) {}

public slots:
    void record(const QString& id) { received_.emplace_back(name_, id); }

private:
    QString name_;
    std::vector<std::pair<QString, QString>>& received_;
};

namespace {

constexpr const char* kInterface = "org.brightpost.Brightpost";

class FakeScripting : public INoteScripting {
public:
    std::vector<std::string> calls;
    std::optional<ScriptError> refusal;
    std::vector<NoteSummary> notes;
    std::map<std::string, ScriptedNoteText> texts;
    INoteScriptingListener* listener = nullptr;

    ScriptResult<std::string> newNote(const std::string& title, const std::string& text) override {
        calls.push_back("newNote " + title + "|" + text);
        if (refusal) {
            return {std::nullopt, *refusal};
        }
        return {std::string("n-new"), {}};
    }
    std::vector<NoteSummary> listNotes() override { return notes; }
    ScriptResult<NoteSummary> summary(std::string_view) override { return {}; }
    ScriptResult<ScriptedNoteText> noteText(std::string_view id) override {
        calls.push_back("noteText " + std::string(id));
        const auto found = texts.find(std::string(id));
        if (found == texts.end()) {
            return {std::nullopt, {ScriptError::Kind::UnknownNote, "No note has that id."}};
        }
        return {found->second, {}};
    }
    ScriptResult<std::string> resolve(std::string_view) override { return {}; }
    std::optional<ScriptError> command(NoteCommand command, std::string_view id) override {
        calls.push_back("command " + std::to_string(static_cast<int>(command)) + " " +
                        std::string(id));
        return refusal;
    }
    std::optional<ScriptError> showAll() override { return record("showAll"); }
    std::optional<ScriptError> hideAll() override { return record("hideAll"); }
    std::vector<std::string> find(const std::string& query) override {
        calls.push_back("find " + query);
        return {"n-1", "n-3"};
    }
    std::optional<ScriptError> openNotesManager() override { return record("openNotesManager"); }
    std::optional<ScriptError> openFind(const std::string& terms) override {
        return record("openFind " + terms);
    }
    void setListener(INoteScriptingListener* newListener) override { listener = newListener; }

private:
    std::optional<ScriptError> record(std::string call) {
        calls.push_back(std::move(call));
        return refusal;
    }
};

// One dbus-daemon for the file's tests, ended by its process at the end.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address")});
        while (daemon_.waitForReadyRead(10000) && !daemon_.canReadLine()) {
        }
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon_.terminate();
        daemon_.waitForFinished(10000);
    }
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

PrivateBus* gBus = nullptr;
int gConnections = 0;

QDBusConnection connect(const char* role) {
    return QDBusConnection::connectToBus(gBus->address(),
                                         QStringLiteral("%1-%2").arg(role).arg(++gConnections));
}

class NoteBusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gBus = new PrivateBus; }
    static void TearDownTestSuite() {
        delete gBus;
        gBus = nullptr;
    }

    void SetUp() override {
        ASSERT_FALSE(gBus->address().isEmpty()) << "dbus-daemon did not start";
        bus = std::make_unique<DesktopBus>(scripting, connect("service"));
        serviceConnection = bus->connection().name();
        ASSERT_TRUE(bus->start());
        script = connect("script");
        ASSERT_TRUE(script.isConnected());
    }
    void TearDown() override {
        bus.reset();
        QDBusConnection::disconnectFromBus(serviceConnection);
        QDBusConnection::disconnectFromBus(script.name());
    }

    // A script's call by the name, answered while the test's event loop runs the service.
    QDBusMessage call(const char* method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QString::fromLatin1(DesktopBus::kServiceName),
            QString::fromLatin1(DesktopBus::kObjectPath), QString::fromLatin1(kInterface),
            QString::fromLatin1(method));
        message.setArguments(arguments);
        return script.call(message, QDBus::BlockWithGui, 10000);
    }

    FakeScripting scripting;
    std::unique_ptr<DesktopBus> bus;
    QString serviceConnection;
    QDBusConnection script{QString()};
};

TEST_F(NoteBusTest, NoteRequestsReachTheScriptingWithTheirArgumentsAndResults) {
    const QDBusMessage made =
        call("NewNote", {QStringLiteral("Shopping"), QStringLiteral("Milk\nBröt")});
    ASSERT_EQ(made.type(), QDBusMessage::ReplyMessage) << made.errorMessage().toStdString();
    EXPECT_EQ(made.arguments(), QVariantList{QStringLiteral("n-new")});

    scripting.texts["n-1"] = {"Shopping", "Milk\nBröt"};
    const QDBusMessage note = call("GetNote", {QStringLiteral("n-1")});
    ASSERT_EQ(note.type(), QDBusMessage::ReplyMessage) << note.errorMessage().toStdString();
    EXPECT_EQ(note.arguments(),
              (QVariantList{QStringLiteral("Shopping"), QStringLiteral("Milk\nBröt")}));

    const QDBusMessage found = call("Find", {QStringLiteral("milk")});
    EXPECT_EQ(found.arguments().value(0).toStringList(),
              (QStringList{QStringLiteral("n-1"), QStringLiteral("n-3")}));

    struct Case {
        const char* method;
        QVariantList arguments;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"ShowNote", {QStringLiteral("n-1")}, "command 0 n-1"},
        {"HideNote", {QStringLiteral("n-1")}, "command 1 n-1"},
        {"ToggleNote", {QStringLiteral("n-2")}, "command 2 n-2"},
        {"RaiseNote", {QStringLiteral("n-2")}, "command 3 n-2"},
        {"MoveToRecycleBin", {QStringLiteral("n-3")}, "command 4 n-3"},
        {"OpenAlarmDialog", {QStringLiteral("n-3")}, "command 5 n-3"},
        {"ShowAll", {}, "showAll"},
        {"HideAll", {}, "hideAll"},
        {"OpenNotesManager", {}, "openNotesManager"},
        {"OpenFind", {QStringLiteral("milk bread")}, "openFind milk bread"},
    };
    for (const Case& c : cases) {
        const QDBusMessage reply = call(c.method, c.arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << c.method << ": " << reply.errorMessage().toStdString();
        EXPECT_EQ(scripting.calls.back(), c.expected) << c.method;
    }
}

TEST_F(NoteBusTest, ListNotesSendsEachNotesIdTitleStateAndAlarm) {
    scripting.notes = {
        {"n-1", 1, "Shopping", ScriptedNoteState::Visible, std::nullopt},
        {"n-2", 2, "Dentist", ScriptedNoteState::Hidden, 1796000000u},
        {"n-3", 3, "Old", ScriptedNoteState::InBin, std::nullopt},
    };
    const QDBusMessage reply = call("ListNotes");
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    ASSERT_EQ(reply.signature(), QStringLiteral("a(sssx)"));
    BusNoteList notes;
    reply.arguments().at(0).value<QDBusArgument>() >> notes;
    EXPECT_EQ(notes, (BusNoteList{{"n-1", "Shopping", "visible", 0},
                                  {"n-2", "Dentist", "hidden", 1796000000},
                                  {"n-3", "Old", "in-bin", 0}}));
}

TEST_F(NoteBusTest, RefusedRequestsAreErrorRepliesNamedForWhy) {
    const QDBusMessage unknown = call("GetNote", {QStringLiteral("no-such")});
    EXPECT_EQ(unknown.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(unknown.errorName(), QStringLiteral("org.brightpost.Brightpost.Error.UnknownNote"));
    EXPECT_EQ(unknown.errorMessage(), QStringLiteral("No note has that id."));

    const std::vector<std::pair<ScriptError::Kind, const char*>> kinds = {
        {ScriptError::Kind::UnknownNote, "org.brightpost.Brightpost.Error.UnknownNote"},
        {ScriptError::Kind::BadArgument, "org.brightpost.Brightpost.Error.BadArgument"},
        {ScriptError::Kind::NotNow, "org.brightpost.Brightpost.Error.NotNow"},
    };
    for (const auto& [kind, name] : kinds) {
        scripting.refusal = ScriptError{kind, "Not like that."};
        for (const QDBusMessage& reply : {call("NewNote", {QString(), QStringLiteral("text")}),
                                          call("ShowNote", {QStringLiteral("n-1")}),
                                          call("HideAll"), call("OpenFind", {QString()})}) {
            EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << name;
            EXPECT_EQ(reply.errorName(), QString::fromLatin1(name));
            EXPECT_EQ(reply.errorMessage(), QStringLiteral("Not like that."));
        }
    }

    // An empty search would find nothing the script could mean.
    const std::size_t callsBefore = scripting.calls.size();
    const QDBusMessage empty = call("Find", {QStringLiteral("  ")});
    EXPECT_EQ(empty.errorName(), QStringLiteral("org.brightpost.Brightpost.Error.BadArgument"));
    EXPECT_EQ(scripting.calls.size(), callsBefore);

    // Arguments the interface does not take are refused by the bus layer, not passed on.
    const QDBusMessage wrong = call("ShowNote", {42});
    EXPECT_EQ(wrong.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(scripting.calls.size(), callsBefore);
}

TEST_F(NoteBusTest, TheNotesNewsReachesScriptsAsSignals) {
    ASSERT_NE(scripting.listener, nullptr);
    std::vector<std::pair<QString, QString>> received;
    QObject receiver;
    for (const char* name : {"NoteAdded", "NoteChanged", "NoteRemoved"}) {
        // QDBusConnection::connect takes a slot by name; a small object records for each.
        auto* recorder = new SignalRecorder(QString::fromLatin1(name), received, &receiver);
        ASSERT_TRUE(script.connect(QString(), QString::fromLatin1(DesktopBus::kObjectPath),
                                   QString::fromLatin1(kInterface), QString::fromLatin1(name),
                                   recorder, SLOT(record(QString))));
    }
    // A round trip makes sure the bus has the matches before the signals go out.
    call("ShowAll");
    scripting.listener->noteAdded("n-7");
    scripting.listener->noteChanged("n-7");
    scripting.listener->noteRemoved("n-7");
    for (int turn = 0; turn < 200 && received.size() < 3; ++turn) {
        call("ShowAll");
    }
    EXPECT_EQ(received, (std::vector<std::pair<QString, QString>>{
                            {"NoteAdded", "n-7"}, {"NoteChanged", "n-7"}, {"NoteRemoved", "n-7"}}));

    bus.reset();
    EXPECT_EQ(scripting.listener, nullptr);
}

TEST_F(NoteBusTest, ASecondCopyGoesWithoutTheNameAndTheFirstKeepsAnswering) {
    FakeScripting otherScripting;
    DesktopBus other(otherScripting, connect("other"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(other.start());
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("another copy"), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;

    EXPECT_EQ(call("ShowAll").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(scripting.calls.back(), "showAll");
    EXPECT_TRUE(otherScripting.calls.empty());
}

TEST_F(NoteBusTest, OtherObjectsGoOnlyUnderTheMainPath) {
    QObject extra;
    EXPECT_TRUE(bus->registerObject(QStringLiteral("/org/brightpost/Brightpost/Search"), &extra,
                                    QDBusConnection::ExportAllSlots));
    EXPECT_FALSE(
        bus->registerObject(QStringLiteral("/org/other"), &extra, QDBusConnection::ExportAllSlots));
    const QDBusMessage introspected = script.call(
        QDBusMessage::createMethodCall(QString::fromLatin1(DesktopBus::kServiceName),
                                       QString::fromLatin1(DesktopBus::kObjectPath),
                                       QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                       QStringLiteral("Introspect")),
        QDBus::BlockWithGui, 10000);
    const QString xml = introspected.arguments().value(0).toString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<interface name=\"org.brightpost.Brightpost\">")))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<node name=\"Search\"/>"))) << xml.toStdString();
}

}  // namespace
}  // namespace bp

#include "NoteBusTest.moc"
