#pragma once

#include "platform/Platform.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QCheckBox;
class QDateTimeEdit;

namespace bp {

class CNotesDatabase;

// Asks when a note expires. expireTime is the note's stored value (0: it never expires).
// Returns the value to store, 0 for "No expiry", or nothing when the user cancelled. The
// dialog runs through the platform's modal runner when it has one.
std::optional<std::uint32_t> AskExpiry(QWidget* parent, const Platform& platform,
                                       std::uint32_t expireTime);

// The note menu's "Expiry date...": asks for the note's expiry and writes it on OK. True when
// the record changed.
bool editNoteExpiry(QWidget* parent, CNotesDatabase& store, std::int32_t nid,
                    const Platform& platform);

// "Expiry Date": a date and time, or no expiry at all. Nothing before the next whole minute is
// offered, since a moment already past would remove the note at once.
class CExpiryDialog : public QDialog {
    Q_OBJECT
public:
    CExpiryDialog(QWidget* parent, const IClock& clock, std::uint32_t expireTime);

    QCheckBox* noExpiry() const { return noExpiry_; }
    QDateTimeEdit* moment() const { return moment_; }
    // The stored value for what the controls show.
    std::uint32_t expireTime() const;

private:
    void updateEnabled();

    const IClock& clock_;
    QCheckBox* noExpiry_;
    QDateTimeEdit* moment_;
};

}  // namespace bp
