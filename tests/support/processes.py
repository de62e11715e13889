"""Waiting for a condition, and ending a process that a test started, for every Python test.

Tests end only processes they started themselves, by their process ids.
"""

import subprocess
import time


def wait_until(predicate, timeout=10.0, interval=0.05):
    """Polls predicate until it returns a true value; returns that value, or None once the
    time-out has passed."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def stop_process(process, timeout=5, signal=None):
    """Asks a process to end (SIGTERM, or the signal given) and kills it if it has not ended
    within the time-out; returns its exit status."""
    if process is None:
        return None
    if process.poll() is None:
        if signal is None:
            process.terminate()
        else:
            process.send_signal(signal)
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        return process.wait()


def end_processes(processes, timeout=5):
    """Ends the processes, last started first: all are asked at once, then each that ignores
    the request for the time-out is killed."""
    for process in reversed(processes):
        if process.poll() is None:
            process.terminate()
    for process in processes:
        stop_process(process, timeout)
