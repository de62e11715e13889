#pragma once

#include "OutputRules.h"
#include "OutputSource.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QWidget;

namespace bp {

class IModalDialogs;
class IUserMessages;

// The one printer of the program. A note's own print fills it from its print dialog and
// empties it at the end; the Notes Manager fills it once and has several notes print into it,
// one document for them all (a file printer would otherwise keep only the last note).
class CSharedPrinter {
public:
    static QPrinter* device();
    static void take(std::unique_ptr<QPrinter> printer);
    // Ends the document the notes printed into and forgets the printer; false when the end
    // of the document could not be written.
    static bool release();
    // The painter of that document: the first note begins it and names it, each later note
    // starts on a new page. Null without a printer or when it cannot be started.
    static QPainter* notePainter(const QString& documentName);
};

// The Notes Manager's print of several notes: one print dialog (owned by owner, run through
// dialogs), then printOne(nid) for each nid while the shared printer holds the chosen
// printer; printOne hands the note its print without a dialog (the main window's
// printNote). Nothing is printed when the user cancels; returns whether it printed.
bool printNotesWithOneDialog(QWidget* owner, IModalDialogs* dialogs,
                             const std::vector<std::int32_t>& nids,
                             const std::function<void(std::int32_t)>& printOne);

// Writes a whole file, or nothing: the bytes go to a temporary file that replaces the
// target only once complete. A failure is told in the standard error box.
bool writeOutputFile(IUserMessages& messages, const QString& path, const QByteArray& bytes);

// The ways a note leaves the program: as a file, a picture, on paper, by e-mail.
class CNoteOutput {
public:
    explicit CNoteOutput(IOutputSource& note) : note_(note) {}

    void SaveAsText();
    void SaveAsPicture();
    // With a print dialog; the shared printer is released afterwards.
    void Print();
    // Into the shared printer without a dialog; nothing when it holds none.
    void PrintShared();
    // Prints the note on a printer and tells the user when that failed.
    PrintResult PrintTo(QPrinter& printer);
    void SendEmail();

    // The picture a save as picture writes: the note window, frame included.
    QByteArray encodePicture(PictureFileType type);

private:
    // The name the save dialogs start with: the note's, as a file may be called.
    std::string proposedName() const;
    // Onto a painter already begun on the printer, from the page it is on.
    PrintResult printPages(QPrinter& printer, QPainter& painter);
    void reportPrint(PrintResult result);

    IOutputSource& note_;
};

}  // namespace bp
