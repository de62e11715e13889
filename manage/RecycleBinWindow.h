#pragma once

#include "ListWindow.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bp {

struct CDeletedNote {
    std::int32_t nid = 0;
    std::string title;
    std::uint32_t created = 0;
    std::uint32_t deleted = 0;
    int priority = 0;
};

// The Recycle Bin: the notes marked deleted, restored through the main window (a restored
// note needs a window) or erased for good in the store.
class RecycleBinWindow : public CListWindow {
    Q_OBJECT
public:
    RecycleBinWindow(Platform platform, CNotesDatabase& store, IListWindowOwner& owner,
                     QWidget* parent = nullptr);

    void refresh();
    // The buttons and the context menu; each asks first.
    void restore();
    void erase();
    void empty();

    std::unique_ptr<QMenu> contextMenu(QPoint viewportPos) override;

    const std::vector<CDeletedNote>& records() const { return records_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

    std::optional<std::int32_t> nidOf(std::intptr_t itemData) const override;
    KeyOf sortKeys() override;

private:
    QPushButton* emptyButton_ = nullptr;
    std::vector<CDeletedNote> records_;
};

}  // namespace bp
