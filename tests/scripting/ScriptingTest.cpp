#include "richtext/QtRichTextEngine.h"
#include "scripting/NoteDirectory.h"
#include "scripting/ScriptingService.h"
#include "store/NoteAttributes.h"
#include "support/StoreFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace bp;
using namespace bp::test;

namespace {

// A default database (three sample notes) whose store searches with the real rich-text engine.
class Directory : public ::testing::Test {
protected:
    Directory() {
        store.SetDataFolder(folder.path());
        EXPECT_TRUE(store.OpenDatabase(0));
    }

    std::int32_t nidTitled(const std::string& title) {
        for (const std::int32_t nid : store.ListNotes(kLiveSource)) {
            if (store.GetNote(kLiveSource, nid, note::title) == title) {
                return nid;
            }
        }
        return 0;
    }
    // A new note with that title and a plain body.
    std::int32_t addNote(const std::string& title, const std::string& body = {}) {
        const std::int32_t nid = store.NewNote();
        store.SetNote(nid, title, note::title);
        store.SetNoteBody(nid, body);
        return nid;
    }

    TempFolder folder;
    fake::FakePlatform fakes;
    rtf::QtRichTextEngine richText;
    CNotesDatabase store{
        StoreServices(fakes.platform().clock, fakes.platform().desktop, &richText)};
    NoteDirectory directory{store, &richText};
};

TEST_F(Directory, IdsOutlastReopeningAndAreStoredOnlyWhenAsked) {
    const std::vector<NoteSummary> samples = directory.list();
    ASSERT_EQ(samples.size(), 3u);
    std::set<std::string> ids;
    for (const NoteSummary& note : samples) {
        EXPECT_EQ(note.id.size(), 16u);
        ids.insert(note.id);
    }
    EXPECT_EQ(ids.size(), 3u) << "each note its own id";

    // Worked out, not stored: the file is as the program wrote it.
    ASSERT_FALSE(store.SaveDatabase("").failed());
    ASSERT_TRUE(store.OpenDatabase(0));
    EXPECT_EQ(store.NotesSection().find("uid="), std::string::npos);
    std::vector<std::string> again;
    for (const NoteSummary& note : directory.list()) {
        again.push_back(note.id);
    }
    EXPECT_EQ(std::set<std::string>(again.begin(), again.end()), ids);

    // Erasing a note renumbers the others when the file is read again; their ids stay.
    const std::int32_t erased = addNote("erased");
    store.SetNote(erased, 1700000000u, note::time);
    const std::int32_t second = addNote("second");
    store.SetNote(second, 1700000001u, note::time);
    const std::string secondId = directory.idOf(second);
    ASSERT_TRUE(store.DeleteNote(erased));
    ASSERT_FALSE(store.SaveDatabase("").failed());
    ASSERT_TRUE(store.OpenDatabase(0));
    EXPECT_NE(nidTitled("second"), second) << "renumbered";
    EXPECT_EQ(directory.idOf(nidTitled("second")), secondId);

    EXPECT_TRUE(directory.keepIds());
    EXPECT_FALSE(directory.keepIds()) << "nothing more to store";
    ASSERT_FALSE(store.SaveDatabase("").failed());
    ASSERT_TRUE(store.OpenDatabase(0));
    for (const NoteSummary& note : directory.list()) {
        EXPECT_TRUE(ids.contains(note.id) || note.id == secondId)
            << "the stored id is the one handed out";
        EXPECT_EQ(store.GetNoteExtra(note.nid, "uid"), note.id);
    }
}

TEST_F(Directory, StatesAndAlarmTimeFollowTheRecord) {
    const std::int32_t hidden = addNote("hidden");
    store.SetNote(hidden, 1, note::isClosed);
    const std::int32_t collapsed = addNote("collapsed");
    store.SetNote(collapsed, 0, note::isBody);
    const std::int32_t binned = addNote("binned");
    store.SetNoteDeleted(binned, 1);
    const std::int32_t alarmed = addNote("alarmed");
    store.SetNote(alarmed, 1, note::isReminder);
    store.SetNote(alarmed, 1900000000u, note::remindTime);

    struct Case {
        std::int32_t nid;
        std::string_view state;
        std::optional<std::uint32_t> alarm;
    };
    for (const Case& c : {Case{hidden, "hidden", {}}, Case{collapsed, "collapsed", {}},
                          Case{binned, "in-bin", {}}, Case{alarmed, "visible", 1900000000u}}) {
        const std::optional<NoteSummary> summary = directory.summary(c.nid);
        ASSERT_TRUE(summary);
        EXPECT_EQ(stateWord(summary->state), c.state) << summary->title;
        EXPECT_EQ(summary->alarmTime, c.alarm) << summary->title;
    }
    EXPECT_EQ(directory.list().size(), 7u) << "the Recycle Bin's notes are listed too";
    EXPECT_FALSE(directory.summary(9999)) << "a note that is not there";
}

TEST_F(Directory, ResolvesAnIdThenATitleThenATitleInAnyCase) {
    const std::int32_t shopping = addNote("Shopping");
    const std::int32_t upper = addNote("TODO");
    addNote("twice");
    addNote("twice");
    const std::string shoppingId = directory.idOf(shopping);

    struct Case {
        std::string name;
        std::optional<std::int32_t> nid;
        std::string problemHas;
    };
    for (const Case& c :
         {Case{shoppingId, shopping, ""}, Case{"Shopping", shopping, ""},
          Case{"shopping", shopping, ""}, Case{"todo", upper, ""},
          Case{"twice", std::nullopt, "2 notes are titled"},
          Case{"nothing like it", std::nullopt, "No note has"}, Case{"", std::nullopt, "empty"}}) {
        const NoteDirectory::Lookup found = directory.resolve(c.name);
        EXPECT_EQ(found.nid, c.nid) << c.name;
        EXPECT_NE(found.problem.find(c.problemHas), std::string::npos)
            << c.name << ": " << found.problem;
    }
    EXPECT_EQ(directory.nidOf(shoppingId), shopping);
    EXPECT_FALSE(directory.nidOf("Shopping")) << "an id is not a title";
}

TEST_F(Directory, PlainTextAndFindReadTheRichText) {
    const std::int32_t nid = addNote(
        "Groceries", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 milk\\par {\\b eggs}\\par}");
    EXPECT_EQ(directory.plainText(nid), "milk\neggs");
    const std::vector<std::int32_t> hits = directory.find("EGGS");
    EXPECT_EQ(hits, std::vector<std::int32_t>{nid}) << "the Find window's rules: any case";
    EXPECT_EQ(directory.find("groceries"), std::vector<std::int32_t>{nid}) << "titles too";
    EXPECT_TRUE(directory.find("").empty());
}

// ---- The running copy's answers ------------------------------------------------------------

class FakeWindows : public IScriptedWindows {
public:
    explicit FakeWindows(CNotesDatabase& store) : store_(store) {}
    bool takesScripts() const override { return ready; }
    std::optional<std::int32_t> createNote(const std::string& title, const std::string& text,
                                           bool rich) override {
        calls.push_back(std::string("create ") + (rich ? "rich" : "plain"));
        const std::int32_t nid = store_.NewNote();
        store_.SetNote(nid, title, note::title);
        store_.SetNoteBody(nid, text);
        return nid;
    }
    void showNote(std::int32_t nid) override {
        calls.push_back("show");
        store_.SetNote(nid, 0, note::isClosed);
    }
    void hideNote(std::int32_t nid) override {
        calls.push_back("hide");
        store_.SetNote(nid, 1, note::isClosed);
    }
    void raiseNote(std::int32_t) override { calls.push_back("raise"); }
    void moveNoteToBin(std::int32_t nid) override {
        calls.push_back("bin");
        store_.SetNoteDeleted(nid, 1);
    }
    void openAlarmDialog(std::int32_t) override { calls.push_back("alarm"); }
    void showAllNotes() override { calls.push_back("show all"); }
    void hideAllNotes() override { calls.push_back("hide all"); }
    void openNotesManager() override { calls.push_back("manager"); }
    void openFind(const std::string& terms) override { calls.push_back("find " + terms); }
    void idsStored() override { calls.push_back("ids stored"); }

    bool ready = true;
    std::vector<std::string> calls;

private:
    CNotesDatabase& store_;
};

class Changes : public INoteScriptingListener {
public:
    void noteAdded(const std::string& id) override { seen.push_back("added " + id); }
    void noteChanged(const std::string& id) override { seen.push_back("changed " + id); }
    void noteRemoved(const std::string& id) override { seen.push_back("removed " + id); }
    std::vector<std::string> seen;
};

class Scripting : public Directory {
protected:
    FakeWindows windows{store};
    ScriptingService scripting{directory, windows};
};

TEST_F(Scripting, ARefusedNewNoteMakesNothing) {
    const std::string tooLong(ScriptingService::kMaxTextCharacters + 1, 'x');
    struct Case {
        std::string title;
        std::string text;
        bool ready;
        ScriptError::Kind kind;
    };
    for (const Case& c : {Case{"", "text", true, ScriptError::Kind::BadArgument},
                          Case{" \t", "text", true, ScriptError::Kind::BadArgument},
                          Case{"long", tooLong, true, ScriptError::Kind::BadArgument},
                          Case{"busy", "text", false, ScriptError::Kind::NotNow}}) {
        windows.ready = c.ready;
        const ScriptResult<std::string> made = scripting.newNote(c.title, c.text);
        EXPECT_FALSE(made.ok()) << c.title;
        EXPECT_EQ(made.error.kind, c.kind) << c.title;
        EXPECT_FALSE(made.error.message.empty());
    }
    EXPECT_TRUE(windows.calls.empty());
    EXPECT_EQ(store.ListNotes(kLiveSource).size(), 3u);

    windows.ready = true;
    const std::string longest(ScriptingService::kMaxTextCharacters, 'x');
    EXPECT_TRUE(scripting.newNote("longest", longest).ok()) << "the limit itself is taken";
    const ScriptResult<std::string> rich = scripting.newNote("rich", "{\\rtf1 bold}");
    ASSERT_TRUE(rich.ok());
    EXPECT_EQ(windows.calls.back(), "ids stored");
    EXPECT_NE(std::find(windows.calls.begin(), windows.calls.end(), "create rich"),
              windows.calls.end());
    EXPECT_EQ(scripting.noteText(*rich.value).value->title, "rich");
}

TEST_F(Scripting, WindowCommandsCheckTheNoteFirst) {
    const std::string id = scripting.listNotes().front().id;
    EXPECT_FALSE(scripting.command(NoteCommand::Toggle, id));
    EXPECT_FALSE(scripting.command(NoteCommand::Toggle, id));
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"ids stored", "hide", "show"}))
        << "toggle hides a shown note and shows a hidden one";

    const std::optional<ScriptError> unknown = scripting.command(NoteCommand::Show, "nope");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->kind, ScriptError::Kind::UnknownNote);
    EXPECT_NE(unknown->message.find("nope"), std::string::npos);

    EXPECT_FALSE(scripting.command(NoteCommand::MoveToBin, id));
    const std::optional<ScriptError> inBin = scripting.command(NoteCommand::Raise, id);
    ASSERT_TRUE(inBin);
    EXPECT_NE(inBin->message.find("Recycle Bin"), std::string::npos);

    windows.ready = false;
    const std::string other = scripting.listNotes().back().id;
    EXPECT_EQ(scripting.command(NoteCommand::Show, other)->kind, ScriptError::Kind::NotNow);
    EXPECT_EQ(scripting.showAll()->kind, ScriptError::Kind::NotNow);
    EXPECT_EQ(windows.calls.back(), "bin") << "nothing reached the windows while busy";
}

TEST_F(Scripting, TheListenerHearsWhatChangedOncePerChange) {
    Changes changes;
    scripting.setListener(&changes);
    const std::vector<NoteSummary> notes = scripting.listNotes();
    scripting.notesMayHaveChanged();
    EXPECT_TRUE(changes.seen.empty()) << "storing the ids changes no note";

    const std::string made = *scripting.newNote("new", "text").value;
    store.SetNoteBody(notes[0].nid, "edited");
    store.SetNote(notes[1].nid, "renamed", note::title);
    store.DeleteNote(notes[2].nid);
    scripting.notesMayHaveChanged();
    std::vector<std::string> seen = changes.seen;
    std::sort(seen.begin(), seen.end());
    std::vector<std::string> expected{"added " + made, "changed " + notes[0].id,
                                      "changed " + notes[1].id, "removed " + notes[2].id};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seen, expected);
}

}  // namespace
