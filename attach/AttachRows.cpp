#include "AttachRows.h"

#include <algorithm>

namespace bp {

namespace {

bool fileOrAddress(int type) {
    return type == kAttachFile || type == kAttachAddress;
}

}  // namespace

std::vector<CAttachedFiles> attachRows(const std::vector<AttachRecord>& records) {
    std::vector<CAttachedFiles> rows;
    for (const AttachRecord& record : records) {
        auto same = std::find_if(rows.begin(), rows.end(), [&](const CAttachedFiles& row) {
            return row.name == record.name;
        });
        if (same == rows.end()) {
            rows.push_back({record.fid, record.type, record.name});
        } else if (!(fileOrAddress(same->displayType) && fileOrAddress(record.type) &&
                     same->displayType != record.type)) {
            // Two records of one kind and name only come from a database written elsewhere;
            // the row is marked so that deleting it asks about each.
            same->displayType = kAttachMixed;
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const CAttachedFiles& a, const CAttachedFiles& b) {
                         if (a.displayType != b.displayType) {
                             return a.displayType < b.displayType;
                         }
                         return a.name < b.name;
                     });
    return rows;
}

std::string shownAttachName(int displayType, const std::string& name) {
    if (displayType == kAttachAddress || displayType == kAttachWindow) {
        return name;
    }
    const auto end = name.find_last_not_of('/');
    if (end == std::string::npos) {
        return name;  // "/" itself
    }
    const auto slash = name.rfind('/', end);
    return slash == std::string::npos ? name.substr(0, end + 1)
                                      : name.substr(slash + 1, end - slash);
}

int attachStateImage(int displayType) {
    switch (displayType) {
        case kAttachAssociation:
        case kAttachWindow:
            return 2;
        case kAttachMixed:
            return 3;
        default:
            return 1;
    }
}

std::string detachQuestion(int type, const std::string& name) {
    switch (type) {
        case kAttachAssociation:
            return "Do you want to remove association with '" + name + "'?";
        case kAttachWindow:
            return "Do you want to remove association for application with window title '" + name +
                   "'?";
        default:
            return "Do you want to detach '" + name + "' from the note?";
    }
}

}  // namespace bp
