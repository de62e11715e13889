#include "SessionSaving.h"

#include "AutoSaver.h"
#include "OpenNotes.h"
#include "SaveFailure.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/Title.h"
#include "platform/Messages.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"

#include <QMetaObject>
#include <QTextDocument>

#include <utility>

namespace bp {

namespace {

constexpr int kMsPerMinute = 60000;

}  // namespace

SessionSaving::SessionSaving(Platform platform, CNotesDatabase& store, OpenNotes& notes,
                             QObject* parent)
    : QObject(parent), platform_(platform), store_(store), notes_(notes) {
    connect(&interval_, &PacedTimer::fired, this, &SessionSaving::saveAll);
}

SessionSaving::~SessionSaving() {
    detach();
}

void SessionSaving::start() {
    interval_.start(setting::get(store_, setting::autoSave) * kMsPerMinute);
    AutoSaver::Hooks hooks;
    hooks.storeEdits = [this] {
        notes_.forEach([](CNote& note) {
            note.StoreBody();
            if (note.title() != nullptr) {
                note.title()->storeOpenEdit();
            }
        });
    };
    hooks.reportFailure = [this](const CNotesDatabase::SaveOutcome& outcome) {
        SaveReports(*platform_.messages, store_).failed(outcome);
    };
    hooks.reportKept = [this](const std::string& keptAs) {
        SaveReports(*platform_.messages, store_).kept(keptAs);
    };
    saver_ = new AutoSaver(store_, std::move(hooks), this);
    store_.SetChangeListener([saver = saver_] { saver->changed(); });
    store_.SetSaveHandler([saver = saver_](SaveUrgency urgency) { saver->requestSave(urgency); });
    warnOfUnwritableFolderLater();
}

void SessionSaving::warnOfUnwritableFolderLater() {
    const int cause = saveCauseOfFolder(store_.DataFolder());
    if (cause == 0) {
        return;
    }
    // Said once, after the notes are up; they stay usable, and the saves try again.
    saver_->failureAlreadyReported();
    QMetaObject::invokeMethod(
        this,
        [this, cause] {
            platform_.messages->showMessage(
                "Warning", "", saveFailureMessage(store_.DataFolder(), cause), res::ICON_WARNING);
        },
        Qt::QueuedConnection);
}

void SessionSaving::watch(CNote& note) {
    if (saver_ == nullptr) {
        return;
    }
    if (note.body() != nullptr) {
        connect(note.body()->document(), &QTextDocument::contentsChanged, saver_,
                &AutoSaver::changed);
    }
    if (note.title() != nullptr) {
        connect(note.title(), &CTitle::editTyped, saver_, &AutoSaver::changed);
    }
}

void SessionSaving::saveAll() {
    notes_.forEach([this](CNote& note) {
        if (store_.GetNote(kLiveSource, note.nid(), note::isDeleted) == 0) {
            note.StoreBody();
        }
    });
    store_.RequestSave(SaveUrgency::Now);
}

void SessionSaving::saveNow() {
    if (saver_ != nullptr) {
        saver_->saveNow();
    }
}

void SessionSaving::intervalChanged() {
    interval_.stop();
    interval_.start(setting::get(store_, setting::autoSave) * kMsPerMinute);
}

void SessionSaving::finish() {
    // The final save writes everything; a save of edits still running finishes first.
    store_.SetChangeListener({});
    if (saver_ != nullptr) {
        saver_->finish();
    }
}

void SessionSaving::detach() {
    store_.SetChangeListener({});
    store_.SetSaveHandler({});
    delete saver_;
    saver_ = nullptr;
}

}  // namespace bp
