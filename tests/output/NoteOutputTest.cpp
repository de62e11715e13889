#include "note/NoteFixture.h"
#include "output/NoteOutput.h"
#include "platform/Messages.h"
#include "store/Settings.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTextCursor>

#include <filesystem>

using namespace bp;
using namespace bp::test;

namespace {

class NoteOutput : public NoteFixture {
protected:
    NoteOutput() : note(open(3)) {}

    void saveAs(void (CNote::*command)(), const std::string& path, int type) {
        fakes.fileDialogs.answers = {path};
        fakes.fileDialogs.types = {type};
        (note.*command)();
    }

    void setBody(const QString& text) {
        note.body()->setPlainText(text);
        note.StoreBody();
    }

    // A printer that writes a PDF at a low resolution, so that one device pixel is one
    // pixel of the page rendered at 72 dpi.
    static std::unique_ptr<QPrinter> pdfPrinter(const std::string& path) {
        auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(path));
        printer->setResolution(72);
        return printer;
    }

    // The text of each page of a PDF.
    static QStringList pdfPages(const std::string& pdf) {
        QProcess tool;
        tool.start(BP_PDFTOTEXT, {"-layout", QString::fromStdString(pdf), "-"});
        EXPECT_TRUE(tool.waitForFinished(30000));
        QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split('\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
            pages.removeLast();
        }
        return pages;
    }

    std::string storedBody() {
        std::string body;
        db().GetNoteBody(kLiveSource, 3, body);
        return body;
    }

    CNote& note;
};

TEST_F(NoteOutput, TextFilesAreUtf8WithSignatureAndRtfIsTheStoredBody) {
    setBody("");
    saveAs(&CNote::saveAsText, folder.file("empty"), 1);
    EXPECT_EQ(readFile(folder.file("empty.txt")), "\xEF\xBB\xBF");
    EXPECT_EQ(fakes.fileDialogs.calls.back().filter,
              "TXT Files (*.txt);;RTF Files (*.rtf);;Markdown Files (*.md)");

    setBody(
        QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                          "e\nzweite Zeile"));
    saveAs(&CNote::saveAsText, folder.file("x.rtf"), 1);
    EXPECT_EQ(readFile(folder.file("x.rtf.txt")),
              "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
              "e\nzweite Zeile");
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.rtf")));

    // Typed but not yet stored: the file holds what the note shows.
    note.body()->moveCursor(QTextCursor::End);
    note.body()->textCursor().insertText("!");
    saveAs(&CNote::saveAsText, folder.file("body.RTF"), 2);
    const std::string rtf = readFile(folder.file("body.RTF"));
    EXPECT_EQ(rtf, storedBody());
    EXPECT_NE(rtf.find("Zeile!"), std::string::npos);
    EXPECT_FALSE(note.modalOpen());

    // Markdown: UTF-8 without a signature, one paragraph of the note a paragraph.
    saveAs(&CNote::saveAsText, folder.file("body"), 3);
    EXPECT_EQ(readFile(folder.file("body.md")),
              "Gr\xC3\xBC\xC3\x9F"
              "e\n\nzweite Zeile!\n");
}

TEST_F(NoteOutput, AFileThatCannotBeCreatedIsReportedAndNothingIsWritten) {
    const std::string missing = folder.file("no such folder/out.txt");
    saveAs(&CNote::saveAsText, missing, 1);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].kind, fake::ShownBox::Kind::StandardError);
    EXPECT_NE(fakes.messages.shown[0].text.find(missing), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("no such folder")));

    saveAs(&CNote::saveAsPicture, folder.file("no such folder/shot.png"), 1);
    EXPECT_EQ(fakes.messages.shown.size(), 2u);
    // A cancelled dialog writes and tells nothing.
    note.saveAsText();
    EXPECT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_FALSE(note.modalOpen());
}

TEST_F(NoteOutput, PicturesDecodeAsTheirFormatWithTheNotesSizeAndTitleColour) {
    const QColor titleColour = note.title()->backColor();
    const struct {
        int type;
        const char* name;
        QByteArray format;
        bool exact;
    } cases[] = {{1, "shot", "png", true},
                 {2, "shot", "jpeg", false},
                 {3, "shot.GIF", "gif", true},
                 {4, "shot", "bmp", true}};
    for (const auto& c : cases) {
        fakes.windows.stackingCalls.clear();
        saveAs(&CNote::saveAsPicture, folder.file(c.name), c.type);
        const std::string written =
            withPictureExtension(folder.file(c.name), static_cast<PictureFileType>(c.type));
        QImageReader reader(QString::fromStdString(written));
        EXPECT_EQ(reader.format(), c.format) << written;
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << written;
        EXPECT_EQ(image.size(), note.size()) << "the note without its attach panel";
        // Most of the title bar's second row is the title colour, exactly where the format
        // keeps colours.
        int matching = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, note.currentTitleHeight() / 2);
            const int off = std::abs(pixel.red() - titleColour.red()) +
                            std::abs(pixel.green() - titleColour.green()) +
                            std::abs(pixel.blue() - titleColour.blue());
            matching += off == 0;
        }
        if (c.exact) {
            EXPECT_GT(matching, image.width() / 2) << written;
        }
        ASSERT_FALSE(fakes.windows.stackingCalls.empty());
        EXPECT_EQ(fakes.windows.stackingCalls.front().stacking, IWindowSystem::Stacking::Top);
    }
    EXPECT_EQ(fakes.fileDialogs.calls.back().filter,
              "PNG Files (*.png);;JPEG Files (*.jpg);;GIF Files (*.gif);;BMP Files (*.bmp)");
}

TEST_F(NoteOutput, AOnePageNoteHasTheHeaderAndFiveRulesAboveItsText) {
    setBody("Pick up the parcel");
    const std::string pdf = folder.file("one.pdf");
    CSharedPrinter::take(pdfPrinter(pdf));
    EXPECT_EQ(CNoteOutput(note).PrintTo(*CSharedPrinter::device()), PrintResult::Done);
    CSharedPrinter::release();

    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages[0];
    const qsizetype title = page.indexOf("title: High Priority Note");
    // The month by its name, as the lists show it.
    const qsizetype created = page.indexOf("created: Nov 25, 2017 - 10:34:06 AM");
    const qsizetype priority = page.indexOf("priority: High");
    const qsizetype text = page.indexOf("Pick up the parcel");
    EXPECT_TRUE(title >= 0 && title < created && created < priority && priority < text)
        << page.toStdString();

    // The rules: across the middle of the page, five dark runs two device pixels apart
    // (four at twice the resolution), and nothing else in the page's upper part.
    QProcess render;
    render.start("pdftoppm",
                 {"-r", "144", "-aa", "no", "-aaVector", "no", "-gray", "-png", "-singlefile",
                  QString::fromStdString(pdf), QString::fromStdString(folder.file("page"))});
    ASSERT_TRUE(render.waitForFinished(30000));
    const QImage image(QString::fromStdString(folder.file("page.png")));
    ASSERT_FALSE(image.isNull());
    std::vector<int> runStarts;
    bool inRun = false;
    for (int y = 0; y < image.height() / 3; ++y) {
        const bool dark = qGray(image.pixel(image.width() / 2, y)) < 128;
        if (dark && !inRun) {
            runStarts.push_back(y);
        }
        inRun = dark;
    }
    ASSERT_EQ(runStarts.size(), 5u);
    for (std::size_t i = 1; i < runStarts.size(); ++i) {
        EXPECT_NEAR(runStarts[i] - runStarts[i - 1], 4, 1);
    }
}

TEST_F(NoteOutput, ALongNotePrintsEveryLineOnceOverSeveralPagesWithOneHeader) {
    QStringList lines;
    for (int i = 1; i <= 1000; ++i) {
        lines << QString("line number %1 of the list").arg(i);
    }
    setBody(lines.join('\n'));
    const std::string pdf = folder.file("long.pdf");
    CSharedPrinter::take(pdfPrinter(pdf));
    EXPECT_EQ(CNoteOutput(note).PrintTo(*CSharedPrinter::device()), PrintResult::Done);
    CSharedPrinter::release();

    const QStringList pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("title: High Priority Note"));
    for (qsizetype p = 1; p < pages.size(); ++p) {
        EXPECT_FALSE(pages[p].contains("title:")) << "page " << p + 1;
    }
    const QString all = pages.join('\n');
    for (int i = 1; i <= 1000; ++i) {
        EXPECT_EQ(all.count(QString("line number %1 of").arg(i)), 1) << "line " << i;
    }
}

TEST_F(NoteOutput, PrintingReportsAFailedJobAndTheDialogFillsTheSharedPrinter) {
    CSharedPrinter::take(pdfPrinter(folder.file("missing/out.pdf")));
    EXPECT_EQ(CNoteOutput(note).PrintTo(*CSharedPrinter::device()), PrintResult::GeneralError);
    CSharedPrinter::release();
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text,
              "There was a general printing error, please check printer is working properly, "
              "connected, on line etc.");

    const std::string pdf = folder.file("dialog.pdf");
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        QPrinter* printer = dynamic_cast<QPrintDialog&>(dialog).printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(pdf));
        EXPECT_TRUE(note.modalOpen());
        return int(QDialog::Accepted);
    };
    note.print();
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(CSharedPrinter::device(), nullptr);
    EXPECT_FALSE(note.modalOpen());

    // The manager's print: one dialog for all, each note into the same printer.
    fakes.modalDialogs.shown.clear();
    fakes.modalDialogs.whileOpen = [](QDialog&) { return int(QDialog::Accepted); };
    std::vector<QPrinter*> used;
    EXPECT_TRUE(printNotesWithOneDialog(nullptr, &fakes.modalDialogs, {1, 3}, [&](std::int32_t) {
        used.push_back(CSharedPrinter::device());
    }));
    EXPECT_EQ(fakes.modalDialogs.shown.size(), 1u);
    ASSERT_EQ(used.size(), 2u);
    EXPECT_TRUE(used[0] != nullptr && used[0] == used[1]);
    EXPECT_EQ(CSharedPrinter::device(), nullptr);
    fakes.modalDialogs.whileOpen = [](QDialog&) { return int(QDialog::Rejected); };
    EXPECT_FALSE(printNotesWithOneDialog(nullptr, &fakes.modalDialogs, {1},
                                         [&](std::int32_t) { used.push_back(nullptr); }));
    EXPECT_EQ(used.size(), 2u);
}

TEST_F(NoteOutput, TheManagersPrintOfSeveralNotesPutsThemAllIntoOneDocumentInOrder) {
    CNote& first = open(1);
    CNote& second = open(2);
    const std::vector<std::pair<CNote*, QString>> printed = {{&second, "words of note two"},
                                                             {&note, "words of note three"},
                                                             {&first, "words of note one"}};
    for (const auto& [which, text] : printed) {
        which->body()->setPlainText(text);
        which->StoreBody();
    }
    const std::string pdf = folder.file("several.pdf");
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        QPrinter* printer = dynamic_cast<QPrintDialog&>(dialog).printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(pdf));
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(
        printNotesWithOneDialog(nullptr, &fakes.modalDialogs, {2, 3, 1}, [&](std::int32_t nid) {
            for (const auto& [which, text] : printed) {
                if (which->nid() == nid) {
                    CNoteOutput(*which).PrintShared();
                }
            }
        }));
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_EQ(CSharedPrinter::device(), nullptr);

    // Each note on a page of its own, with its header, in the order they were chosen.
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 3) << pages.join("\f").toStdString();
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QString title = printed[static_cast<std::size_t>(p)].first->title()->titleText();
        EXPECT_TRUE(pages[p].contains("title: " + title)) << pages[p].toStdString();
        EXPECT_EQ(pages.join('\n').count(printed[static_cast<std::size_t>(p)].second), 1);
        EXPECT_TRUE(pages[p].contains(printed[static_cast<std::size_t>(p)].second))
            << pages[p].toStdString();
    }
}

TEST_F(NoteOutput, TheSaveDialogsProposeTheNotesNameAsItsFileName) {
    note.saveAsText();
    note.saveAsPicture();
    // A blank title (what the default title settings give) proposes the name the lists show.
    db().SetNote(2, std::string("  "), note::title);
    open(2).saveAsText();
    db().SetNote(1, std::string("Plans: 1/2"), note::title);
    open(1).saveAsText();
    EXPECT_EQ(fakes.fileDialogs.proposedNames,
              (std::vector<std::string>{"High Priority Note", "High Priority Note", "Note 2",
                                        "Plans_ 1_2"}));
}

TEST_F(NoteOutput, MailGoesToTheDesktopAsAMailtoAddress) {
    setBody("Meet at 5 & bring the keys");
    note.sendAsEmail();
    ASSERT_EQ(fakes.shell.opened.size(), 1u);
    EXPECT_EQ(fakes.shell.opened[0].rfind("mailto:?subject=High%20Priority%20Note&body="
                                          "Meet%20at%205%20%26%20bring%20the%20keys%0A%0A",
                                          0),
              0u)
        << fakes.shell.opened[0];
}

TEST_F(NoteOutput, MailLeavesTheSignatureOutWhenTheSettingSaysSo) {
    setBody("Tea");
    setting::set(store, setting::mailSignature, 0);
    note.sendAsEmail();
    ASSERT_EQ(fakes.shell.opened.size(), 1u);
    EXPECT_TRUE(fakes.shell.opened[0].ends_with("&body=Tea")) << fakes.shell.opened[0];
}

}  // namespace
