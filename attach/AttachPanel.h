#pragma once

#include "AttachRows.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QSizeGrip;
class QTreeWidget;
class QTreeWidgetItem;

namespace bp {

class CNote;

// The window of a note's attachments, under the note: files and web addresses opened with
// the desktop's default program, added and removed from its menu. The note places, shows,
// hides and enables it; the panel only lists and edits the note's records.
class AttachPanel : public QWidget {
    Q_OBJECT
public:
    explicit AttachPanel(CNote& note);

    const std::vector<CAttachedFiles>& rows() const { return rows_; }
    QTreeWidget* list();
    // The row an item of the list shows.
    const CAttachedFiles* rowOf(const QTreeWidgetItem* item) const;

    // The right click: the menu at a screen point, "run" and "delete" only with a selection.
    void openContextMenu(const QPoint& screenPos);
    // The double click on an item: opens it, unless it names another program's window.
    void openRow(const QTreeWidgetItem* item);

    // The items of the right-click menu, as its actions carry them.
    enum MenuItem { kMenuRun = 1, kMenuAddFile, kMenuAddUrl, kMenuDelete, kMenuAddFolder };

    // Reads the note's attachments again and lists them.
    void refresh();
    // Takes over the note's colours.
    void applyColors();
    // Opens the selected files and addresses.
    void runSelected();
    // "attach file to note": asks for a file.
    void attachFile();
    // "attach folder to note": asks for a folder.
    void attachFolder();
    // "add url to note": asks for an address.
    void addAddress();
    void deleteSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fillList();
    void collectSelection();
    void openName(const std::string& stored);
    void fitWidthToNote();

    CNote& note_;
    const std::int32_t nid_;
    QTreeWidget* list_ = nullptr;
    QLabel* emptyHint_ = nullptr;  // over the list while it has no rows
    QSizeGrip* grip_;
    std::vector<CAttachedFiles> rows_;
    std::vector<std::int32_t> selection_;
    bool created_ = false;
};

}  // namespace bp
