#include "NoteAccessibility.h"

#include "NoteFrame.h"
#include "Title.h"
#include "TitleButton.h"
#include "platform/Messages.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QStringList>

namespace bp {

namespace {

QString priorityName(int priority) {
    switch (priority) {
        case 0:
            return QStringLiteral("Low");
        case 2:
            return QStringLiteral("High");
        default:
            return QStringLiteral("Regular");
    }
}

// A tip read out on one line: its line breaks become pauses.
QString spokenTip(const QString& tip) {
    QStringList lines = tip.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines) {
        line = line.trimmed();
    }
    lines.removeAll(QString());
    return lines.join(QStringLiteral(", "));
}

}  // namespace

QString noteStateDescription(const NoteReaderState& state) {
    QStringList parts;
    if (state.locked) {
        parts << QStringLiteral("Locked");
    }
    if (state.collapsed) {
        parts << QStringLiteral("Collapsed");
    }
    parts << QStringLiteral("Priority %1").arg(priorityName(state.priority));
    parts << (state.alarmOn ? QStringLiteral("Alarm set") : QStringLiteral("No alarm"));
    return parts.join(QStringLiteral(", "));
}

QString titleButtonName(int commandId, int imageId, const QString& toolTip) {
    switch (commandId) {
        case cmd::TITLE_PRIORITY_BUTTON:
            switch (imageId) {
                case bitmap::PRIORITY_LOW:
                    return QStringLiteral("Priority: Low");
                case bitmap::PRIORITY_REGULAR:
                    return QStringLiteral("Priority: Regular");
                default:
                    return QStringLiteral("Priority: High");
            }
        case cmd::TITLE_CLOSE_BUTTON:
            return QStringLiteral("Close");
        case cmd::TITLE_MINIMIZE_BUTTON:
            switch (imageId) {
                case bitmap::LOCKED:
                    return QStringLiteral("Unlock");
                case bitmap::RESTORE:
                    return QStringLiteral("Restore");
                default:
                    return QStringLiteral("Minimize");
            }
        case cmd::TITLE_READ_BUTTON:
            return QStringLiteral("Read aloud");
        case cmd::TITLE_EXPIRATION_BUTTON:
            return QStringLiteral("Expiration");
        case cmd::TITLE_ALARM_BUTTON: {
            if (imageId != bitmap::ALARM_ON) {
                return QStringLiteral("Alarm off");
            }
            // The tip of a set alarm is "Alarm ON" and the time on the next line.
            const QStringList lines = toolTip.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            if (lines.size() < 2 || lines.at(1).trimmed().isEmpty()) {
                return QStringLiteral("Alarm on");
            }
            return QStringLiteral("Alarm at %1").arg(lines.at(1).trimmed());
        }
        case cmd::TITLE_STOP_SNOOZE_BUTTON:
            return QStringLiteral("Stop snooze");
        default:
            return spokenTip(toolTip);
    }
}

QString titleButtonDescription(int commandId, int imageId, const QString& toolTip) {
    QString does;
    switch (commandId) {
        case cmd::TITLE_PRIORITY_BUTTON:
            does = QStringLiteral("Opens the note's menu");
            break;
        case cmd::TITLE_CLOSE_BUTTON:
            does = QStringLiteral("Hides the note");
            break;
        case cmd::TITLE_MINIMIZE_BUTTON:
            does = imageId == bitmap::LOCKED    ? QStringLiteral("Unlocks the note")
                   : imageId == bitmap::RESTORE ? QStringLiteral("Shows the note's text again")
                                                : QStringLiteral("Shows only the title");
            break;
        case cmd::TITLE_READ_BUTTON:
            does = QStringLiteral("Reads the note aloud");
            break;
        case cmd::TITLE_EXPIRATION_BUTTON:
            does = QStringLiteral("Switches the note's expiry off");
            break;
        case cmd::TITLE_ALARM_BUTTON:
            does = QStringLiteral("Opens the alarm settings");
            break;
        case cmd::TITLE_STOP_SNOOZE_BUTTON:
            does = QStringLiteral("Stops the snooze");
            break;
        default:
            break;
    }
    const QString tip = spokenTip(toolTip);
    if (does.isEmpty() || tip.isEmpty()) {
        return tip.isEmpty() ? does : tip;
    }
    return tip + QStringLiteral(". ") + does + QLatin1Char('.');
}

namespace {

class NoteAccessible : public QAccessibleWidget {
public:
    explicit NoteAccessible(INoteFrame& note)
        : QAccessibleWidget(&note.frameWindow(), QAccessible::Window), note_(note) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                const CTitle* title = note_.title();
                return readableNoteName(title != nullptr ? title->titleText() : QString(),
                                        note_.nid());
            }
            case QAccessible::Description: {
                NoteReaderState state;
                state.locked = !note_.isEditable();
                state.collapsed = !note_.isBodyShown();
                state.priority = note_.priority();
                const CTitle* title = note_.title();
                const CTitleButton* alarm =
                    title != nullptr ? title->button(cmd::TITLE_ALARM_BUTTON) : nullptr;
                state.alarmOn = alarm != nullptr && alarm->imageId() == bitmap::ALARM_ON;
                return noteStateDescription(state);
            }
            default:
                return QAccessibleWidget::text(t);
        }
    }

private:
    // Lives no longer than the note's window: the interface goes with the object it describes.
    INoteFrame& note_;
};

// The owner-drawn buttons have no text; their name comes from what they show and their tip.
class TitleButtonAccessible : public QAccessibleWidget {
public:
    explicit TitleButtonAccessible(CTitleButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    CTitleButton* button() const { return static_cast<CTitleButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        const CTitleButton* b = button();
        switch (t) {
            case QAccessible::Name:
                return titleButtonName(b->commandId(), b->imageId(), b->toolTip());
            case QAccessible::Description:
                return titleButtonDescription(b->commandId(), b->imageId(), b->toolTip());
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override { return {QAccessibleActionInterface::pressAction()}; }

    void doAction(const QString& actionName) override {
        if (actionName == QAccessibleActionInterface::pressAction() && button()->isEnabled()) {
            button()->click();
        }
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* noteAccessibleFactory(const QString& className, QObject* object) {
    // Asked once for each class the object is, most derived first: the note's own class
    // answers before QWidget would.
    if (auto* note = dynamic_cast<INoteFrame*>(object);
        note != nullptr && &note->frameWindow() == object) {
        return new NoteAccessible(*note);
    }
    if (className == QLatin1String("bp::CTitleButton")) {
        return new TitleButtonAccessible(static_cast<CTitleButton*>(object));
    }
    return nullptr;
}

}  // namespace

void installNoteAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(noteAccessibleFactory);
        return true;
    }();
    (void)installed;
}

void announceNoteChanged(QWidget* note) {
    if (note == nullptr || !QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent name(note, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    QAccessibleEvent description(note, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
}

}  // namespace bp
