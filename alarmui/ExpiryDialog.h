#pragma once

#include "alarm/LocalDateTime.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QCheckBox;
class QDateTimeEdit;

namespace bp {

class CNotesDatabase;
struct Platform;

// "Expiry date": when a note removes itself, or that it never does. Only local calendar times
// are shown; the caller turns them into the stored time.
class ExpiryDialog : public QDialog {
    Q_OBJECT
public:
    // expires: the note's expiry, none when it has none; earliest: the first moment the dialog
    // offers, since a moment already past would remove the note at once.
    ExpiryDialog(QWidget* parent, const std::optional<LocalDateTime>& expires,
                 const LocalDateTime& earliest);

    // What OK stands for: the moment chosen, or none for "No expiry".
    std::optional<LocalDateTime> chosen() const;

    QCheckBox* noExpiryBox() const { return noExpiry_; }
    QDateTimeEdit* momentEdit() const { return moment_; }

private:
    QCheckBox* noExpiry_;
    QDateTimeEdit* moment_;
};

// Runs the dialog for the note's record through the platform's modal runner and writes the
// expiry on OK. True when the record changed.
bool editNoteExpiry(QWidget* parent, CNotesDatabase& store, std::int32_t nid,
                    const Platform& platform);

}  // namespace bp
