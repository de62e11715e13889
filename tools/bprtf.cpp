// bprtf: look at a note body the way the rich-text engine sees it.
//   bprtf text FILE   the plain text, UTF-8
//   bprtf rtf FILE    the body read and written again, as it would be stored
//   bprtf html FILE   the document as Qt holds it

#include "richtext/RichText.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: bprtf text|rtf|html FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return usage();
    }
    const std::string command = argv[1];
    if (command != "text" && command != "rtf" && command != "html") {
        return usage();
    }
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "bprtf: cannot read %s\n", argv[2]);
        return 1;
    }
    const std::string body((std::istreambuf_iterator<char>(in)), {});

    // Fonts need a GUI application; no display is used.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    QTextDocument document;
    bp::rtf::loadBody(body, document);
    std::string out;
    if (command == "text") {
        out = bp::rtf::documentPlainText(document).toStdString();
        out += '\n';
    } else if (command == "rtf") {
        out = bp::rtf::writeRtf(document);
    } else {
        out = document.toHtml().toStdString();
        out += '\n';
    }
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    return std::cout ? 0 : 1;
}
