// The notes in the desktop's search: which notes a search finds, what its rows show, what a
// chosen row does, and the two bus interfaces answering with the types their callers expect.

#include "FakeNoteScripting.h"
#include "desktopsearch/DesktopNoteSearch.h"
#include "desktopsearch/DesktopSearchBus.h"
#include "desktopsearch/LauncherRunner.h"
#include "desktopsearch/ShellSearchProvider.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QProcess>

#include <gtest/gtest.h>

namespace bp {
namespace {

using test::FakeNoteScripting;

QStringList idsOf(const std::vector<NoteSearchHit>& hits) {
    QStringList ids;
    for (const NoteSearchHit& hit : hits) {
        ids.append(hit.id);
    }
    return ids;
}

class DesktopSearchTest : public ::testing::Test {
protected:
    DesktopSearchTest() {
        notes.add("a", "Shopping", "milk\nbread and butter");
        notes.add("b", "Work", "call the bank about the shopping bill");
        notes.add("c", "Bank", "opening hours\nmon-fri");
        notes.add("d", "Shopping bank", "", /*inBin=*/true);
        notes.add("e", "Milk bank", "delivery on tuesday");
    }
    FakeNoteScripting notes;
    DesktopNoteSearch search{notes};
};

TEST_F(DesktopSearchTest, FindsTheNotesShowingEveryTermWithTitleHitsFirst) {
    struct Case {
        QStringList terms;
        QStringList ids;
    };
    const Case cases[] = {
        {{"shopping"}, {"a", "b"}},
        // Both words, anywhere in the note: in the title, the text or one in each.
        {{"bank", "shopping"}, {"b"}},
        {{"MILK", "bank"}, {"e"}},
        // Notes whose title shows every term come before those that show them only in the text.
        {{"bank"}, {"c", "e", "b"}},
        {{"bank", "zebra"}, {}},
        {{"  ", "milk", ""}, {"e", "a"}},
        {{}, {}},
        {{" "}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(idsOf(search.search(c.terms)), c.ids) << c.terms.join(u'|').toStdString();
    }
}

TEST_F(DesktopSearchTest, StopsSearchingOnceATermFindsNothing) {
    search.search({"zebra", "bank", "milk"});
    EXPECT_EQ(notes.queries, std::vector<std::string>{"zebra"});
}

TEST_F(DesktopSearchTest, ASubsearchKeepsOnlyEarlierResultsThatStillMatch) {
    ShellSearchProvider provider(notes);
    const QStringList first = provider.GetInitialResultSet({"ban"});
    EXPECT_EQ(first, (QStringList{"c", "e", "b"}));
    EXPECT_EQ(provider.GetSubsearchResultSet(first, {"ban", "hours"}), QStringList{"c"});
    // A note that matches now but was not among the earlier results stays out.
    EXPECT_EQ(provider.GetSubsearchResultSet({"b"}, {"bank"}), QStringList{"b"});
}

TEST(DesktopSearchText, TheDescriptionIsTheFirstLineWithTextShortened) {
    const QString sixty = QString(60, u'x');
    const QString emoji = QString::fromUtf8("\xF0\x9F\x93\x8C");  // two UTF-16 units
    struct Case {
        QString text;
        QString line;
    };
    const Case cases[] = {
        {"first\nsecond", "first"},
        {"\n   \n\t  hello   there \nnext", "hello there"},
        {"", ""},
        {QString(80, u'y'), QString(80, u'y')},
        // Cut at the last blank before the limit when that keeps most of the line.
        {sixty + " " + QString(30, u'z'), sixty + QChar(0x2026)},
        // A word with no blank to cut at is cut where the limit falls.
        {QString(100, u'w'), QString(79, u'w') + QChar(0x2026)},
        // A character outside the basic plane is never cut in half.
        {QString(78, u'v') + emoji + "tail", QString(78, u'v') + QChar(0x2026)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesktopNoteSearch::firstLine(c.text), c.line) << c.text.toStdString();
    }
}

TEST_F(DesktopSearchTest, ResultMetasNameEachNoteAndLeaveOutUnknownIds) {
    notes.add("f", "  ", "\n  just text");
    ShellSearchProvider provider(notes);
    const QList<QVariantMap> metas = provider.GetResultMetas({"c", "gone", "f"});
    ASSERT_EQ(metas.size(), 2);
    EXPECT_EQ(metas[0].value("id"), "c");
    EXPECT_EQ(metas[0].value("name"), "Bank");
    EXPECT_EQ(metas[0].value("description"), "opening hours");
    EXPECT_EQ(metas[0].value("gicon"), "brightpost");
    // A blank title reads as the note's number, as the lists name it.
    EXPECT_EQ(metas[1].value("name"), "Note 6");
    EXPECT_EQ(metas[1].value("description"), "just text");
}

TEST_F(DesktopSearchTest, ActivatingAResultShowsAndRaisesItsNoteAndLaunchingOpensFind) {
    ShellSearchProvider provider(notes);
    provider.ActivateResult("e", {"milk"}, 0);
    provider.ActivateResult("gone", {"milk"}, 0);
    EXPECT_EQ(notes.commands, (std::vector<std::string>{"show e", "raise e"}));

    provider.LaunchSearch({"milk", " ", "bank"}, 0);
    EXPECT_EQ(notes.findsOpened, std::vector<std::string>{"milk bank"});
}

TEST_F(DesktopSearchTest, RunnerMatchesRankTitlesAndRunOrOpenTheAlarm) {
    LauncherRunner runner(notes);
    const QList<RunnerMatch> matches = runner.Match("  bank\tmilk ");
    ASSERT_EQ(matches.size(), 1);
    EXPECT_EQ(matches[0].id, "e");
    EXPECT_EQ(matches[0].text, "Milk bank");
    EXPECT_EQ(matches[0].iconName, "brightpost");
    EXPECT_EQ(matches[0].properties.value("subtext"), "delivery on tuesday");

    const QList<RunnerMatch> bank = runner.Match("bank");
    ASSERT_EQ(bank.size(), 3);
    // The title that is the query is the one Enter runs; then title hits, then text hits.
    EXPECT_EQ(bank[0].type, LauncherRunner::kExactMatch);
    EXPECT_EQ(bank[1].type, LauncherRunner::kPossibleMatch);
    EXPECT_GT(bank[0].relevance, bank[1].relevance);
    EXPECT_GT(bank[1].relevance, bank[2].relevance);
    EXPECT_TRUE(runner.Match("   ").isEmpty());

    runner.Run("c", "");
    runner.Run("c", LauncherRunner::kAlarmAction);
    runner.Run("c", "no-such-action");
    EXPECT_EQ(notes.commands, (std::vector<std::string>{"show c", "raise c", "alarm c"}));
    ASSERT_EQ(runner.Actions().size(), 1);
    EXPECT_EQ(runner.Actions()[0].id, LauncherRunner::kAlarmAction);
}

TEST(DesktopSearchRunner, ListsNoMoreThanALauncherShows) {
    FakeNoteScripting notes;
    for (int i = 0; i < 40; ++i) {
        notes.add("n" + std::to_string(i), "Note", "same words");
    }
    LauncherRunner runner(notes);
    EXPECT_EQ(static_cast<std::size_t>(runner.Match("same").size()), LauncherRunner::kMatchLimit);
}

// A session bus of the test's own, ended by its process id.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead(10000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

TEST_F(DesktopSearchTest, BothInterfacesAnswerOnTheBusWithTheirCallersSignatures) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    {
        QDBusConnection program = QDBusConnection::connectToBus(bus.address(), "bp-program");
        QDBusConnection shell = QDBusConnection::connectToBus(bus.address(), "bp-shell");
        ASSERT_TRUE(program.isConnected() && shell.isConnected());
        QObject owner;
        ASSERT_TRUE(registerDesktopSearch(program, notes, &owner));
        ASSERT_TRUE(program.registerService("org.brightpost.Brightpost"));

        auto call = [&](const char* path, const char* interface, const char* method,
                        const QVariantList& arguments) {
            QDBusMessage message = QDBusMessage::createMethodCall("org.brightpost.Brightpost", path,
                                                                  interface, method);
            message.setArguments(arguments);
            // The program's object answers on this thread, so the wait must run its events.
            const QDBusMessage reply = shell.call(message, QDBus::BlockWithGui, 10000);
            EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
                << method << ": " << reply.errorMessage().toStdString();
            return reply;
        };
        const char* provider = "org.gnome.Shell.SearchProvider2";
        const char* runner = "org.kde.krunner1";

        QDBusMessage reply = call(kShellSearchProviderPath, provider, "GetInitialResultSet",
                                  {QStringList{"bank", "milk"}});
        EXPECT_EQ(reply.signature(), "as");
        EXPECT_EQ(reply.arguments().value(0).toStringList(), QStringList{"e"});
        reply = call(kShellSearchProviderPath, provider, "GetSubsearchResultSet",
                     {QStringList{"e", "c"}, QStringList{"bank", "milk", "tues"}});
        EXPECT_EQ(reply.signature(), "as");
        reply = call(kShellSearchProviderPath, provider, "GetResultMetas", {QStringList{"e"}});
        EXPECT_EQ(reply.signature(), "aa{sv}");
        const auto metas = qdbus_cast<QList<QVariantMap>>(reply.arguments().value(0));
        ASSERT_EQ(metas.size(), 1);
        EXPECT_EQ(metas[0].value("name"), "Milk bank");
        call(kShellSearchProviderPath, provider, "ActivateResult",
             {QString("e"), QStringList{"milk"}, QVariant::fromValue(uint(12345))});
        call(kShellSearchProviderPath, provider, "LaunchSearch",
             {QStringList{"milk", "bank"}, QVariant::fromValue(uint(12345))});
        EXPECT_EQ(notes.commands, (std::vector<std::string>{"show e", "raise e"}));
        EXPECT_EQ(notes.findsOpened, std::vector<std::string>{"milk bank"});

        reply = call(kLauncherRunnerPath, runner, "Match", {QString("bank milk")});
        EXPECT_EQ(reply.signature(), "a(sssida{sv})");
        const auto matches = qdbus_cast<QList<RunnerMatch>>(reply.arguments().value(0));
        ASSERT_EQ(matches.size(), 1);
        EXPECT_EQ(matches[0].properties.value("subtext"), "delivery on tuesday");
        EXPECT_EQ(call(kLauncherRunnerPath, runner, "Actions", {}).signature(), "a(sss)");
        call(kLauncherRunnerPath, runner, "Run", {QString("c"), QString("")});
        EXPECT_EQ(notes.commands.back(), "raise c");
    }
    QDBusConnection::disconnectFromBus("bp-program");
    QDBusConnection::disconnectFromBus("bp-shell");
}

}  // namespace
}  // namespace bp
