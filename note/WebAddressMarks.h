#pragma once

#include <QObject>

class QTextBlock;
class QTextDocument;

namespace bp {

// Draws the web addresses in a document as links. It changes only how the text is shown, by
// the layout's additional formats: the document's own formats, and so the stored body, stay as
// they are.
//
// QSyntaxHighlighter would do this too, but it keeps a format for every character of the
// longest paragraph it ever saw, per document: about 30 KB for an ordinary note, held for as
// long as the note lives. This keeps only the ranges of the addresses.
class WebAddressMarks : public QObject {
    Q_OBJECT
public:
    explicit WebAddressMarks(QTextDocument* document);

    // While paused, changes go unmarked; resuming marks the whole document once. Loading a
    // body inserts it run by run, and marking each run would read its paragraph again.
    void pause();
    void resume();

private:
    void onContentsChange(int from, int removed, int added);
    void mark(const QTextBlock& block);

    QTextDocument* document_;
    bool paused_ = false;
    // Marking a paragraph tells the document it changed, which reports back here.
    bool marking_ = false;
};

}  // namespace bp
