// libFuzzer entry point for the RTF reader: any bytes load without a crash, a hang or a read out
// of bounds, what was read can be written and read again, and the search's document-free
// reading sees the same text as the document, and the web addresses shown in it are found in
// time proportional to it.

#include "richtext/QtRichTextEngine.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/WebAddresses.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    QTextDocument document;
    bp::rtf::loadBody(body, document);
    const QString text = bp::rtf::documentSearchText(document);
    if (bp::rtf::bodySearchText(body) != text) {
        std::abort();
    }
    (void)bp::rtf::findWebAddresses(text);
    const std::string written = bp::rtf::writeRtf(document);
    QTextDocument again;
    bp::rtf::readRtf(written, again);
    (void)bp::rtf::documentPlainText(again);
    return 0;
}
