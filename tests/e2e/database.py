"""Reading and writing Brightpost database files in tests, independent of the program's code."""

import re
import struct

OPEN = "|<|<|<|<|<"
CLOSE = ">|>|>|>|>|"
NOTE_END = "\r\n[]]]]]>>>>>\r\n</note>"


def read_text(path):
    with open(path, "rb") as f:
        data = f.read()
    (length,) = struct.unpack("<i", data[:4])
    return data[4 : 4 + length].decode("utf-8", errors="surrogateescape")


def write_text(path, text):
    data = text.encode("utf-8", errors="surrogateescape")
    with open(path, "wb") as f:
        f.write(struct.pack("<i", len(data)) + data)


def attribute(element, name):
    match = re.search(" " + re.escape(name) + "=" + re.escape(OPEN) + "(.*?)" + re.escape(CLOSE), element, re.S)
    return match.group(1) if match else None


def set_attribute(element, name, value):
    pattern = "( " + re.escape(name) + "=" + re.escape(OPEN) + ")(.*?)(" + re.escape(CLOSE) + ")"
    return re.sub(pattern, lambda m: m.group(1) + str(value) + m.group(3), element, count=1, flags=re.S)


def note_elements(text):
    """The note elements in document order, each from "<note " to just before its end."""
    elements = []
    start = text.find("\r\n<note ")
    while start >= 0:
        end = text.find(NOTE_END, start)
        if end < 0:
            break
        elements.append(text[start + 2 : end])
        start = text.find("\r\n<note ", end)
    return elements


def notes(path):
    """nid -> {attribute: value, "body": body} for every note of a database file."""
    return notes_of_text(read_text(path))


def notes_of_text(text):
    """nid -> {attribute: value, "body": body} for every note of a database text."""
    result = {}
    for element in note_elements(text):
        values = dict(re.findall(r" (\w+)=" + re.escape(OPEN) + "(.*?)" + re.escape(CLOSE), element, re.S))
        body = re.search(r"<!\[CDATABEGIN\[\r\n(.*?)\]CDATAEND\]!>", element, re.S)
        values["body"] = body.group(1) if body else None
        result[int(values["nid"])] = values
    return result


def edit_notes(path, change):
    """Rewrites every note element of a database file with change(element) -> element."""
    text = read_text(path)
    for element in note_elements(text):
        text = text.replace(element, change(element), 1)
    write_text(path, text)


def set_note_attributes(path, nid, values):
    """Sets the given attributes (name, value pairs) of note nid in a database file."""
    def change(element):
        if attribute(element, "nid") != str(nid):
            return element
        for name, value in values:
            element = set_attribute(element, name, value)
        return element
    edit_notes(path, change)


def with_notes(template_path, count, body="", geometry=None):
    """A database text with count copies of the template's second note, ids 1..count."""
    text = read_text(template_path)
    elements = note_elements(text)
    first = text.find("\r\n<note ")
    last_end = text.rfind(NOTE_END) + len(NOTE_END)
    model = elements[1]
    model = re.sub(r"<!\[CDATABEGIN\[\r\n.*?\]CDATAEND\]!>",
                   lambda m: "<![CDATABEGIN[\r\n" + body + ("\r\n" if body else "") + "]CDATAEND]!>", model, flags=re.S)
    parts = []
    for i in range(count):
        element = set_attribute(model, "nid", i + 1)
        if geometry:
            x, y, w, h = geometry(i)
            for name, value in (("xPos", x), ("yPos", y), ("Width", w), ("Height", h)):
                element = set_attribute(element, name, value)
        element = set_attribute(element, "title", f"Note {i + 1}")
        parts.append("\r\n" + element + NOTE_END)
    return text[:first] + "".join(parts) + text[last_end:]
