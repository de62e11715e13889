// Until the scripting library is built, the state words the bus sends.
#include "scripting/NoteDirectory.h"

namespace bp {

std::string_view stateWord(ScriptedNoteState state) {
    switch (state) {
        case ScriptedNoteState::Visible:
            return "visible";
        case ScriptedNoteState::Hidden:
            return "hidden";
        case ScriptedNoteState::Collapsed:
            return "collapsed";
        case ScriptedNoteState::InBin:
            return "in-bin";
    }
    return "visible";
}

}  // namespace bp
