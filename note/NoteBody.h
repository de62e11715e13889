#pragma once

#include <QTextEdit>

#include <string>
#include <string_view>

namespace bp {

// The rich-text body of a note. Its background is transparent so the note's colour shows
// through; the text is stored as RTF.
class CNoteBody : public QTextEdit {
    Q_OBJECT
public:
    explicit CNoteBody(QWidget* parent);

    // Body edge style: 1 plain, 2 thin, 3 sunken, anything else raised.
    void setEdgeStyle(int border);
    void loadStored(std::string_view stored);
    std::string toStored() const;

    // The longest body the note keeps, in characters.
    static constexpr int kTextLimit = 1048576;
};

}  // namespace bp
