#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;

namespace bp {

// The in-place title editor: one line of text filling the editor. Enter and Escape both end
// the edit and keep what was typed; a rename is never abandoned half way.
class CEditTitle : public QWidget {
    Q_OBJECT
public:
    CEditTitle(const QString& text, QWidget* parent);

    QString text() const;
    QLineEdit* lineEdit() const { return edit_; }
    // Ends the edit as Enter does; finished() is emitted once at most.
    void commit();

signals:
    void finished(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* edit_;
    bool done_ = false;
};

}  // namespace bp
