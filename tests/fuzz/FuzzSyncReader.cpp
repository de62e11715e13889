// A file in the sync folder comes from another machine: the reader must refuse what it cannot
// read without crashing, and what it reads must merge (bodies, erasures, version histories with
// loops or missing parents) and write back as it was read.
#include "sync/LineMerge.h"
#include "sync/SyncFile.h"
#include "sync/SyncState.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bp::sync::SyncFileContents contents = bp::sync::decodeSyncFile(bytes);
    if (!contents.problem.empty()) {
        return 0;
    }
    const bp::sync::SyncFileContents again =
        bp::sync::decodeSyncFile(bp::sync::encodeSyncFile(contents.device, contents.records));
    if (!again.problem.empty() || again.records != contents.records) {
        std::abort();
    }
    bp::sync::SyncState state;
    for (const bp::sync::SyncRecord& record : contents.records) {
        state.add(record);
    }
    for (const auto& [uid, history] : state.notes()) {
        (void)state.view(uid);
    }
    (void)state.snapshotRecords();
    // Any three bodies merge or refuse.
    if (contents.records.size() >= 3) {
        (void)bp::sync::mergeLines(contents.records[0].value, contents.records[1].value,
                                   contents.records[2].value);
    }
    return 0;
}
