"""A ringing alarm is also a desktop notification, and a press in it answers the alarm."""

import os
import time

import database
from desktop import wait_until
from notification_server import NotificationServer
from test_accessibility import DEFAULT_DATABASE
from test_alarm import ALARM_WINDOW, visible

# Mark-up characters in the note's text must reach the server as text, not as mark-up.
BODY = r"{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\pard Milk & eggs <fresh>\par\par Bread\par}"


def snoozing_alarm_note(data_dir, title, due):
    """One note with a one-time alarm due then that pops the note up, with a 5-minute snooze."""
    os.makedirs(data_dir, exist_ok=True)
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(DEFAULT_DATABASE, 1, body=BODY,
                                                  geometry=lambda i: (300, 150, 250, 175)))
    database.set_note_attributes(path, 1, (
        ("title", title), ("isReminder", 1), ("remindTime", int(due)), ("schedule", ";!;!;!"),
        ("remindAction", 1), ("remindSnoozeTime", 300000)))
    return path


def test_snooze_in_the_notification_snoozes_the_alarm_and_takes_both_away(
        start, data_dir, desktop):
    desktop.start_session_bus()
    server = NotificationServer.on_desktop(desktop)
    snoozing_alarm_note(data_dir, "Dentist", int(time.time()) + 6)
    app = start(data_dir, env=dict(desktop.env, TZ="UTC"))
    app.wait_ready()

    assert wait_until(lambda: visible(desktop, ALARM_WINDOW), timeout=30)
    shown = wait_until(server.notifications, timeout=15)
    assert shown and len(shown) == 1, server.calls()
    notification = shown[0]
    assert notification["app_name"] == "Brightpost"
    assert notification["app_icon"] == "brightpost"
    assert notification["summary"] == "Dentist"
    # The server reads mark-up (it says so), so the text's own is escaped.
    assert notification["body"] == "Milk &amp; eggs &lt;fresh&gt;\nBread"
    assert notification["actions"] == ["stop", "Stop", "snooze", "Snooze", "show", "Show note"]
    assert notification["hints"]["urgency"] == 2
    assert notification["hints"]["resident"] is True
    assert notification["expire_timeout"] == 0

    snoozed_at = time.time()
    server.invoke(notification["id"], "snooze")
    assert wait_until(lambda: not visible(desktop, ALARM_WINDOW), timeout=10)
    assert wait_until(lambda: notification["id"] in server.closed(), timeout=10), server.calls()
    # Snoozed as the window's button does: the snooze's end is kept in the note's record.
    assert wait_until(lambda: "remindSnoozeEnd" in database.notes(app.database)[1], timeout=15)
    assert abs(int(database.notes(app.database)[1]["remindSnoozeEnd"]) - (snoozed_at + 300)) < 15
    assert app.terminate() == 0
    assert len(server.notifications()) == 1


def test_a_notification_the_user_closes_leaves_the_alarm_to_its_window(start, data_dir, desktop):
    desktop.start_session_bus()
    server = NotificationServer.on_desktop(desktop)
    snoozing_alarm_note(data_dir, "Dentist", int(time.time()) + 6)
    app = start(data_dir, env=dict(desktop.env, TZ="UTC"))
    app.wait_ready()
    windows = wait_until(lambda: desktop.visible_windows(ALARM_WINDOW), timeout=30)
    assert windows
    shown = wait_until(server.notifications, timeout=15)
    assert shown, server.calls()

    server.dismiss(shown[0]["id"])
    # The window still offers both answers: its stop button, below the lines naming the note
    # and under SNOOZE.
    g = desktop.window_geometry(windows[0])
    assert desktop.wait_drawn(windows[0])
    assert visible(desktop, ALARM_WINDOW)
    desktop.run("xdotool", "mousemove", str(g["x"] + 140), str(g["y"] + 157), "click", "1")
    assert wait_until(lambda: not visible(desktop, ALARM_WINDOW), timeout=10)
    assert app.terminate() == 0
    # The server had already forgotten it: nothing to close.
    assert server.closed() == []


def test_the_notification_of_a_ringing_alarm_goes_when_the_program_ends(start, data_dir, desktop):
    desktop.start_session_bus()
    server = NotificationServer.on_desktop(desktop)
    snoozing_alarm_note(data_dir, "Dentist", int(time.time()) + 6)
    app = start(data_dir, env=dict(desktop.env, TZ="UTC"))
    app.wait_ready()
    shown = wait_until(server.notifications, timeout=30)
    assert shown, server.calls()
    # Left behind, it would offer to stop an alarm that nothing rings any more.
    assert app.terminate() == 0
    assert wait_until(lambda: server.closed() == [shown[0]["id"]], timeout=10), server.calls()
