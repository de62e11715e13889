#pragma once

#include <QTextEdit>

#include <string>
#include <string_view>

namespace bp {

class WebAddressMarks;

// The rich-text body of a note. Its background is transparent so the note's colour shows
// through; the text is stored as RTF. Typing and pasting stop at kTextLimit characters, and web
// addresses in the text are shown as links.
class CNoteBody : public QTextEdit {
    Q_OBJECT
public:
    explicit CNoteBody(QWidget* parent);

    // Body edge style: 1 plain, 2 thin, 3 sunken, anything else raised.
    void setEdgeStyle(int border);
    void loadStored(std::string_view stored);
    std::string toStored() const;

    // Replaces the selection by plain text in the insertion format, as far as the limit allows.
    void insertLimitedText(const QString& text);
    // Characters the body holds, each paragraph break counting as one.
    int textLength() const;

    // The longest body typing and pasting make, in characters. A stored body that is longer
    // is still loaded and kept whole; it only takes no more text.
    static constexpr int kTextLimit = 1048576;

    // Lines break between words, and inside a word only where it is wider than the note.
    // Finding such a break costs Qt a pass over the rest of the word for every line, so text
    // with very long words (a pasted dump, one character repeated) would take minutes; it
    // breaks anywhere instead.
    static QTextOption::WrapMode wrapModeFor(QStringView text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Room left for new text when the selection is replaced.
    int room() const;
    // Cuts what an insertion ending at end put beyond the limit (or beyond lengthBefore, for a
    // body that was longer already), within the same undo step.
    void trimOverflow(int end, int lengthBefore);

    WebAddressMarks* addresses_;
};

}  // namespace bp
