#pragma once

#include "platform/Platform.h"
#include "store/NotesDatabase.h"

#include <QString>

#include <cstdint>
#include <string>

class QTextDocument;
class QWidget;

namespace bp {

// What a note's output needs of the note: the window it pictures and parents its dialogs to,
// the text it writes, and the record behind it.
class IOutputSource {
public:
    // The note window, frame included.
    virtual QWidget& outputWindow() = 0;
    // Paints the window and its body at once, before it is pictured.
    virtual void repaintForOutput() = 0;
    virtual QString outputTitle() const = 0;
    // The body as shown, its formats included.
    virtual const QTextDocument& outputBody() const = 0;
    virtual std::int32_t outputNid() const = 0;
    virtual int outputPriority() const = 0;
    // When the note was made, as the print header shows it.
    virtual const std::string& outputCreatedText() const = 0;
    virtual CNotesDatabase& outputStore() const = 0;
    virtual const Platform& outputPlatform() const = 0;
    // Writes an unsaved body edit into the store, so what is output matches what is stored.
    virtual void storeBodyForOutput() = 0;
    // Around a dialog of the output, as around any of the note's own dialogs.
    virtual void beginOutputModal() = 0;
    virtual void endOutputModal() = 0;

protected:
    ~IOutputSource() = default;
};

}  // namespace bp
