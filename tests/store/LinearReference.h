#pragma once

// A plain implementation of the note operations exactly as the format describes them: every
// operation searches the whole notes section from its start and splices it. The store must
// give the same results, messages and bytes however it finds its notes.

#include "store/DefaultDatabase.h"
#include "store/Markup.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bp::test {

class LinearReference {
public:
    using Ids = std::vector<std::int32_t>;
    std::string notes;
    std::vector<std::string> shown;  // "caption: text"

    void box(const std::string& caption, const std::string& text) {
        shown.push_back(caption + ": " + text);
    }

    static long long find(const std::string& s, std::string_view n, long long from) {
        return markup::Find(s, n, from);
    }

    // 0, or 1 (note) / 2 (end).
    int locate(std::int32_t nid, long long& s, long long& e) const {
        s = find(notes, "<note nid=|<|<|<|<|<" + std::to_string(nid) + ">|>|>|>|>|", 0);
        if (s <= 0)
            return 1;
        e = find(notes, markup::kNoteEnd, s);
        if (e <= s)
            return 2;
        return 0;
    }

    template <typename F>
    void scan(std::string_view start, F f) const {
        long long from = 2;
        for (;;) {
            long long s = find(notes, start, from);
            if (s <= from)
                return;
            long long e = find(notes, markup::kNoteEnd, s);
            if (e <= s)
                return;
            f(notes.substr(s, e - s));
            from = e;
        }
    }

    static int num(const std::string& t) { return static_cast<int>(markup::ParseNumber(t)); }

    std::string get(std::int32_t nid, const std::string& name) {
        long long s, e;
        int f = locate(nid, s, e);
        if (f == 0) {
            std::string v;
            auto r = markup::ReadAttribute(notes.substr(s, e - s), name, v);
            if (r == markup::AttributeFailure::None)
                return v;
            f = r == markup::AttributeFailure::Missing ? 3 : 4;
        }
        box("Error " + std::to_string(f), "Error while reading notes");
        return {};
    }

    bool set(std::int32_t nid, const std::string& name, const std::string& value) {
        long long s, e;
        int f = locate(nid, s, e);
        if (f == 0) {
            std::string el = notes.substr(s, e - s);
            auto r = markup::WriteAttribute(el, name, value);
            if (r == markup::AttributeFailure::None) {
                markup::Remove(notes, s, e - s);
                markup::InsertAt(notes, s, el);
                return true;
            }
            f = r == markup::AttributeFailure::Missing ? 3 : 4;
        }
        box("Error " + std::to_string(f), "Not able to set the note attribute");
        return false;
    }

    bool getBody(std::int32_t nid, std::string& out) {
        long long s, e, n = 0, m = 0;
        int f = locate(nid, s, e);
        std::string el;
        if (f == 0) {
            el = notes.substr(s, e - s);
            n = find(el, markup::kBodyStart, 0);
            if (n <= 0)
                f = 3;
            else if ((m = find(el, markup::kBodyEnd, n)) <= 0)
                f = 4;
        }
        if (f) {
            box("Error " + std::to_string(f), "Error while reading note data");
            return false;
        }
        out = markup::Extract(el, n + 16, m - n - 16);
        return true;
    }

    bool setBody(std::int32_t nid, std::string text) {
        long long s, e, n = 0, m = 0;
        int f = locate(nid, s, e);
        std::string el;
        if (f == 0) {
            el = notes.substr(s, e - s);
            n = find(el, markup::kBodyStart, 0);
            if (n <= 0)
                f = 3;
            else if ((m = find(el, markup::kBodyEnd, n)) <= 0)
                f = 4;
        }
        if (f) {
            box("Error " + std::to_string(f), "Not able to set the note body");
            return false;
        }
        markup::EscapeReservedTokens(text);
        markup::Remove(el, n, m - n);
        markup::InsertAt(el, n, "<![CDATABEGIN[\r\n" + text + "\r\n");
        markup::Remove(notes, s, e - s);
        markup::InsertAt(notes, s, el);
        return true;
    }

    bool deleteNote(std::int32_t nid) {
        long long s, e;
        int f = locate(nid, s, e);
        if (f) {
            box(f == 1 ? "Error 2" : "Error 1", "DeleteNote");
            return false;
        }
        markup::Remove(notes, s, e - s + 24);
        return true;
    }

    void renumber() {
        int counter = 0;
        long long from = 2;
        for (;;) {
            long long s = find(notes, markup::kNoteStart, from);
            if (s <= from)
                return;
            long long e = find(notes, markup::kNoteEnd, s);
            if (e <= s)
                return;
            std::string el = notes.substr(s, e - s);
            if (markup::WriteAttribute(el, "nid", std::to_string(counter + 1)) ==
                markup::AttributeFailure::None) {
                ++counter;
                markup::Remove(notes, s, e - s);
                markup::InsertAt(notes, s, el);
                from = s + static_cast<long long>(el.size());
            } else {
                from = e;
            }
        }
    }

    static bool has(const std::string& el, const std::string& name, int v) {
        return el.find(markup::AttributeText(name, std::to_string(v))) != std::string::npos;
    }
    static std::optional<std::int32_t> nidOf(const std::string& el) {
        std::string v;
        if (markup::ReadAttribute(el, "nid", v) != markup::AttributeFailure::None)
            return {};
        return num(v);
    }

    Ids list() const {
        Ids ids;
        scan(markup::kNoteStart, [&](const std::string& el) {
            if (has(el, "isDeleted", 0)) {
                if (auto n = nidOf(el))
                    ids.push_back(*n);
            }
        });
        return ids;
    }
    std::optional<Ids> listDeleted() const {
        Ids ids;
        scan("\r\n<note nid=|<|<|<|<|<", [&](const std::string& el) {
            if (has(el, "isDeleted", 1)) {
                if (auto n = nidOf(el))
                    ids.push_back(*n);
            }
        });
        if (ids.empty())
            return {};
        return ids;
    }
    int count(unsigned p) const {
        int c = 0;
        scan(markup::kNoteStart, [&](const std::string& el) {
            if (has(el, "isDeleted", 0) && (p > 2 || has(el, "priority", static_cast<int>(p))))
                ++c;
        });
        return c;
    }

    // settings: the 14 texts NewNote copies, in its order; screen width and height.
    std::int32_t newNote(const std::string (&st)[14], long long W, long long H) {
        std::uint32_t largest = 0;
        scan(markup::kNoteStart, [&](const std::string& el) {
            if (auto n = nidOf(el))
                largest = std::max(largest, static_cast<std::uint32_t>(*n));
        });
        const auto nid = static_cast<std::int32_t>(largest + 1);
        long long w = num(st[0]), h = num(st[1]), rows = (H - h) / 40, x, y = 0;
        if (rows > 0) {
            x = (nid / rows + 1) * 100 + (nid % rows) * 15;
            y = (nid % rows) * 40;
        } else {
            x = (static_cast<long long>(nid) + 1) * 100;
        }
        if (x > W - w)
            x = W - w > 0 ? x % (W - w + 1) : 0;
        x = std::max(0LL, x);
        y = std::max(0LL, y);
        const std::string v[45] = {std::to_string(nid),
                                   std::to_string(x),
                                   std::to_string(y),
                                   st[0],
                                   st[1],
                                   st[2],
                                   st[3],
                                   "",
                                   st[4],
                                   st[5],
                                   st[6],
                                   st[7],
                                   st[8],
                                   st[9],
                                   st[10],
                                   "1",
                                   "1",
                                   "1",
                                   st[11],
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "0",
                                   "100",
                                   "600",
                                   "",
                                   "",
                                   "",
                                   "",
                                   st[12],
                                   "0",
                                   "0",
                                   st[13],
                                   "0",
                                   "0",
                                   "0",
                                   "",
                                   "0"};
        std::string el = "\r\n<note";
        for (int i = 0; i < 45; ++i)
            el += markup::AttributeText(kNoteAttributeNames[i], v[i]);
        notes += el + ">\r\n<![CDATABEGIN[\r\n]CDATAEND]!>" + std::string(markup::kNoteEnd);
        return nid;
    }

    std::optional<Ids> files(std::int32_t nid, int filter, bool report = true) {
        long long s, e;
        int f = locate(nid, s, e);
        if (f) {
            if (report)
                box("Error " + std::to_string(f), "GetNoteAttachedFiles");
            return {};
        }
        std::string el = notes.substr(s, e - s);
        Ids ids;
        long long from = 2;
        for (;;) {
            long long p = find(el, "<file fid=|<|<|<|<|<", from);
            if (p == -1)
                break;
            long long q = find(el, markup::kFileEnd, p);
            if (q == -1)
                break;
            std::string fe = el.substr(p, q - p);
            bool pass = filter == 5    ? true
                        : filter == 4  ? has(fe, "type", 0) || has(fe, "type", 3)
                        : filter == 99 ? has(fe, "type", 1) || has(fe, "type", 6)
                                       : has(fe, "type", filter);
            long long t = find(fe, ">|>|>|>|>|", 0);
            if (pass && t >= 20)
                ids.push_back(num(fe.substr(20, t - 20)));
            from = q;
        }
        if (ids.empty())
            return {};
        return ids;
    }

    bool fileAttr(std::int32_t nid, std::int32_t fid, const std::string& attr, const char* op,
                  std::string& out) {
        long long s, e, p = -1, q = -1;
        int f = locate(nid, s, e);
        std::string el;
        if (f == 0) {
            el = notes.substr(s, e - s);
            p = find(el, "<file fid=|<|<|<|<|<" + std::to_string(fid) + ">|>|>|>|>|", 0);
            if (p <= 0)
                f = 3;
            else if ((q = find(el, markup::kFileEnd, p)) < p)
                f = 4;
        }
        if (f) {
            box("Error " + std::to_string(f), op);
            return false;
        }
        std::string fe = el.substr(p, q - p);
        long long a = find(fe, " " + attr + "=|<|<|<|<|<", 0);
        if (a == -1)
            return false;
        long long t = find(fe, ">|>|>|>|>|", a);
        if (t <= a + 16)
            return false;
        out = fe.substr(a + 16, t - a - 16);
        return true;
    }
    int fileType(std::int32_t nid, std::int32_t fid) {
        std::string v;
        return fileAttr(nid, fid, "type", "GetNoteAttachedFiletype", v) ? num(v) : -1;
    }

    static bool sameIgnoringCase(const std::string& a, const std::string& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) ==
                          std::tolower(static_cast<unsigned char>(y));
               });
    }

    std::int32_t attach(std::int32_t nid, int type, const std::string& name) {
        if (auto ids = files(nid, 5)) {
            for (auto fid : *ids) {
                std::string n;
                fileAttr(nid, fid, "name", "GetNoteAttachedFilename", n);
                if (sameIgnoringCase(n, name) && fileType(nid, fid) == type)
                    return -1;
            }
        }
        long long s, e;
        int f = locate(nid, s, e);
        if (f) {
            box(f == 1 ? "Error 2" : "Error 1", "AttachFileToNote");
            return -1;
        }
        std::string el = notes.substr(s, e - s);
        std::uint32_t largest = 0;
        long long from = 2;
        for (;;) {
            long long fs = find(el, "\r\n<file ", from);
            if (fs == -1)
                break;
            long long fe = find(el, markup::kFileEnd, fs);
            if (fe == -1)
                break;
            long long a = find(el, " fid=|<|<|<|<|<", fs);
            long long t = a == -1 ? -1 : find(el, ">|>|>|>|>|", a);
            if (a == -1 || a >= fe || t < a + 15) {
                box("Error",
                    "AttachFileToNote\nError while reading /Brightpost/notes/note/file/@fid value");
                return -1;
            }
            largest = std::max(largest, markup::ParseNumber(el.substr(a + 15, t - a - 15)));
            from = t;
        }
        std::string escaped = name;
        markup::EscapeReservedTokens(escaped);
        const auto fid = static_cast<std::int32_t>(largest + 1);
        markup::InsertAt(notes, e,
                         "\r\n<file fid=|<|<|<|<|<" + std::to_string(fid) +
                             ">|>|>|>|>| type=|<|<|<|<|<" + std::to_string(type) +
                             ">|>|>|>|>| name=|<|<|<|<|<" + escaped +
                             ">|>|>|>|>|>\r\n[]]]]]>>>>>\r\n</file>");
        return fid;
    }

    bool detach(std::int32_t nid, std::int32_t fid) {
        long long s, e;
        int f = locate(nid, s, e);
        if (f) {
            box(f == 1 ? "Error 2" : "Error 1", "DetachFileFromNote");
            return false;
        }
        std::string el = notes.substr(s, e - s);
        long long p = find(el, "<file fid=|<|<|<|<|<" + std::to_string(fid) + ">|>|>|>|>|", 0);
        if (p <= 0) {
            box("Error",
                "DetachFileFromNote\nError while reading /Brightpost/notes/note/file/@fid");
            return false;
        }
        long long q = find(el, markup::kFileEnd, p);
        if (q < p) {
            box("Error",
                "DetachFileFromNote\nError while reading /Brightpost/notes/note/file/@fid end");
            return false;
        }
        markup::Remove(el, p, q - p + 22);
        markup::Remove(notes, s, e - s);
        markup::InsertAt(notes, s, el);
        return true;
    }
};

}  // namespace bp::test
