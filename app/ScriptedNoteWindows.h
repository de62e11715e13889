#pragma once

#include "scripting/ScriptedWindows.h"

namespace bp {

class MainWindow;

// The main window's notes and dialogs as scripts drive them.
class ScriptedNoteWindows : public IScriptedWindows {
public:
    explicit ScriptedNoteWindows(MainWindow& main) : main_(main) {}

    bool takesScripts() const override;
    std::optional<std::int32_t> createNote(const std::string& title, const std::string& text,
                                           bool rich) override;
    void showNote(std::int32_t nid) override;
    void hideNote(std::int32_t nid) override;
    void raiseNote(std::int32_t nid) override;
    void moveNoteToBin(std::int32_t nid) override;
    void openAlarmDialog(std::int32_t nid) override;
    void showAllNotes() override;
    void hideAllNotes() override;
    void openNotesManager() override;
    void openFind(const std::string& terms) override;
    void idsStored() override;

private:
    MainWindow& main_;
};

}  // namespace bp
