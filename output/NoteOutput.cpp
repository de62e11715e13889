#include "NoteOutput.h"

#include "GifWriter.h"
#include "platform/Messages.h"
#include "platform/ModalDialogs.h"
#include "platform/UserMessages.h"
#include "qtsupport/NoteName.h"
#include "qtsupport/StoredText.h"
#include "richtext/Markdown.h"
#include "store/Settings.h"
#include "ui/NoteStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace bp {

namespace {

struct SharedPrinter {
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;  // while a document is being printed into
};

SharedPrinter& shared() {
    static SharedPrinter printer;
    return printer;
}

constexpr int kHeaderRules = 5;
constexpr int kHeaderRuleSpacing = 2;
constexpr int kBodyBelowHeader = 50;

// Every laid-out line of a document, where the pages are cut.
struct LaidOutLines {
    std::vector<LineBox> boxes;
    std::vector<std::pair<QTextBlock, int>> lines;  // block and line number, per box
};

LaidOutLines laidOutLines(QTextDocument& document) {
    LaidOutLines out;
    // The layout runs lazily, a part at a time; asking for the size finishes it, so that
    // every block has its lines.
    document.size();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* text = block.layout();
        if (text == nullptr) {
            continue;
        }
        const double blockTop = text->position().y();
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            out.boxes.push_back({blockTop + line.y(), line.height()});
            out.lines.emplace_back(block, i);
        }
    }
    return out;
}

}  // namespace

QPrinter* CSharedPrinter::device() {
    return shared().printer.get();
}

void CSharedPrinter::take(std::unique_ptr<QPrinter> printer) {
    release();
    shared().printer = std::move(printer);
}

bool CSharedPrinter::release() {
    SharedPrinter& s = shared();
    bool ended = true;
    if (s.painter != nullptr && s.painter->isActive()) {
        ended = s.painter->end() && s.printer->printerState() != QPrinter::Error;
    }
    s.painter.reset();
    s.printer.reset();
    return ended;
}

QPainter* CSharedPrinter::notePainter(const QString& documentName) {
    SharedPrinter& s = shared();
    if (s.printer == nullptr) {
        return nullptr;
    }
    if (s.painter != nullptr) {
        return s.printer->newPage() ? s.painter.get() : nullptr;
    }
    s.printer->setDocName(documentName);
    s.printer->setFullPage(true);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(s.printer.get())) {
        return nullptr;
    }
    s.painter = std::move(painter);
    return s.painter.get();
}

bool printNotesWithOneDialog(QWidget* owner, IModalDialogs* dialogs,
                             const std::vector<std::int32_t>& nids,
                             const std::function<void(std::int32_t)>& printOne) {
    if (nids.empty()) {
        return false;
    }
    CSharedPrinter::release();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    {
        QPrintDialog dialog(printer.get(), owner);
        const int result = dialogs != nullptr ? dialogs->run(dialog) : dialog.exec();
        if (result != QDialog::Accepted) {
            return false;
        }
    }
    CSharedPrinter::take(std::move(printer));
    for (std::int32_t nid : nids) {
        printOne(nid);
    }
    return CSharedPrinter::release();
}

bool writeOutputFile(IUserMessages& messages, const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        return true;
    }
    const QString reason = file.errorString();
    file.cancelWriting();
    messages.standardError(
        "Error", "Cannot create the file \"" + path.toStdString() + "\".\n" + reason.toStdString());
    return false;
}

std::string CNoteOutput::proposedName() const {
    return proposedFileName(
        readableNoteName(note_.outputTitle(), note_.outputNid()).toUtf8().toStdString());
}

void CNoteOutput::SaveAsText() {
    note_.storeBodyForOutput();
    note_.outputStore().RequestSave(SaveUrgency::Now);
    note_.beginOutputModal();
    int type = 1;
    const std::string chosen = note_.outputPlatform().fileDialogs->saveFileOfType(
        "Save As", {"TXT Files (*.txt)", "RTF Files (*.rtf)", "Markdown Files (*.md)"}, type,
        proposedName());
    if (!chosen.empty()) {
        const auto fileType = type == 2   ? TextFileType::Rtf
                              : type == 3 ? TextFileType::Markdown
                                          : TextFileType::Text;
        QByteArray bytes;
        if (fileType == TextFileType::Text) {
            bytes = QByteArray("\xEF\xBB\xBF") + note_.outputBody().toPlainText().toUtf8();
        } else if (fileType == TextFileType::Markdown) {
            // Markdown tools expect UTF-8 without a signature.
            bytes = markdown::toMarkdown(note_.outputBody()).toUtf8();
        } else {
            std::string stored;
            note_.outputStore().GetNoteBody(kLiveSource, note_.outputNid(), stored);
            bytes = QByteArray::fromStdString(stored);
        }
        writeOutputFile(*note_.outputPlatform().messages,
                        QString::fromStdString(withTextExtension(chosen, fileType)), bytes);
    }
    note_.endOutputModal();
}

QByteArray CNoteOutput::encodePicture(PictureFileType type) {
    // The whole window, its frame included; the attach panel is a window of its own.
    const QImage image =
        note_.outputWindow().grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (type == PictureFileType::Gif) {
        return encodeGif(image);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const char* format = type == PictureFileType::Jpeg  ? "JPG"
                         : type == PictureFileType::Bmp ? "BMP"
                                                        : "PNG";
    return image.save(&buffer, format) ? bytes : QByteArray();
}

void CNoteOutput::SaveAsPicture() {
    note_.beginOutputModal();
    int type = 1;
    const std::string chosen = note_.outputPlatform().fileDialogs->saveFileOfType(
        "Save As",
        {"PNG Files (*.png)", "JPEG Files (*.jpg)", "GIF Files (*.gif)", "BMP Files (*.bmp)"}, type,
        proposedName());
    if (!chosen.empty()) {
        const auto pictureType = static_cast<PictureFileType>(type >= 1 && type <= 4 ? type : 1);
        // Nothing may cover the note while its picture is taken.
        note_.outputPlatform().windows->setStacking(&note_.outputWindow(),
                                                    IWindowSystem::Stacking::Top);
        note_.repaintForOutput();
        const QByteArray bytes = encodePicture(pictureType);
        if (note_.outputPriority() == 1) {
            note_.outputPlatform().windows->setStacking(&note_.outputWindow(),
                                                        IWindowSystem::Stacking::Normal);
        }
        // An encoder failure is not told; the file is not written then.
        if (!bytes.isEmpty()) {
            writeOutputFile(*note_.outputPlatform().messages,
                            QString::fromStdString(withPictureExtension(chosen, pictureType)),
                            bytes);
        }
    }
    note_.endOutputModal();
}

void CNoteOutput::Print() {
    note_.storeBodyForOutput();
    note_.outputStore().RequestSave(SaveUrgency::Now);
    CSharedPrinter::release();
    note_.beginOutputModal();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    bool accepted = false;
    {
        QPrintDialog dialog(printer.get(), &note_.outputWindow());
        const IModalDialogs* dialogs = note_.outputPlatform().modalDialogs;
        accepted = (dialogs != nullptr ? note_.outputPlatform().modalDialogs->run(dialog)
                                       : dialog.exec()) == QDialog::Accepted;
    }
    note_.endOutputModal();
    if (!accepted) {
        return;
    }
    CSharedPrinter::take(std::move(printer));
    PrintTo(*CSharedPrinter::device());
    CSharedPrinter::release();
}

void CNoteOutput::PrintShared() {
    QPrinter* printer = CSharedPrinter::device();
    if (printer == nullptr) {
        return;
    }
    note_.storeBodyForOutput();
    note_.outputStore().RequestSave(SaveUrgency::Now);
    QPainter* painter = CSharedPrinter::notePainter(note_.outputTitle());
    reportPrint(painter != nullptr ? printPages(*printer, *painter) : PrintResult::GeneralError);
}

PrintResult CNoteOutput::PrintTo(QPrinter& printer) {
    printer.setDocName(note_.outputTitle());
    printer.setFullPage(true);
    PrintResult result = PrintResult::GeneralError;
    QPainter painter;
    if (painter.begin(&printer)) {
        result = printPages(printer, painter);
        // The end writes out what a file printer holds back.
        if (!painter.end() || printer.printerState() == QPrinter::Error) {
            result = PrintResult::GeneralError;
        }
    }
    reportPrint(result);
    return result;
}

void CNoteOutput::reportPrint(PrintResult result) {
    if (result != PrintResult::Done) {
        note_.outputPlatform().messages->showMessage("Error", "", printErrorMessage(result),
                                                     res::ICON_WARNING);
    }
}

PrintResult CNoteOutput::printPages(QPrinter& printer, QPainter& painter) {
    const QString title = note_.outputTitle();
    const int dpi = printer.resolution();
    const int margin = static_cast<int>(dpi / 2.54);
    const QRect paper = printer.pageLayout().fullRectPixels(dpi);
    const QRect printable = printer.pageLayout().paintRectPixels(dpi);
    const QRect headerRect = printable.adjusted(margin, margin, -margin, -margin);
    const QRect bodyRect = paper.adjusted(margin, margin, -margin, -margin);
    if (headerRect.isEmpty() || bodyRect.isEmpty()) {
        return PrintResult::GeneralError;
    }

    std::unique_ptr<QTextDocument> document(note_.outputBody().clone());
    document->documentLayout()->setPaintDevice(&printer);
    document->setDocumentMargin(0);
    document->setTextWidth(bodyRect.width());
    const LaidOutLines laidOut = laidOutLines(*document);
    const std::vector<LineBox>& lines = laidOut.boxes;

    painter.save();
    // The title font's height, a screen size, is taken as points on paper.
    QFont headerFont = fontFromRecord(
        note_.outputStore().GetNote(kLiveSource, note_.outputNid(), note::titleFontType));
    headerFont.setPixelSize(std::max(1, headerFont.pixelSize() * dpi / 72));
    painter.setFont(headerFont);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    const std::string header = printHeader(
        storedFromText(title), note_.outputCreatedText(),
        note_.outputStore().GetNoteAttribute(kLiveSource, note_.outputNid(), note::priority.name));
    QRect drawn;
    painter.drawText(headerRect, Qt::AlignLeft | Qt::AlignTop,
                     QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size())),
                     &drawn);
    const int o = drawn.height();
    for (int i = 0; i < kHeaderRules; ++i) {
        const int y = headerRect.top() + o + i * kHeaderRuleSpacing;
        painter.drawLine(headerRect.left(), y, headerRect.right(), y);
    }

    const int firstTop = bodyRect.top() + o + kBodyBelowHeader;
    const std::vector<PageSlice> pages =
        paginate(lines, bodyRect.bottom() - firstTop, bodyRect.height());
    bool ok = true;
    for (std::size_t p = 0; ok && p < pages.size(); ++p) {
        if (p > 0) {
            ok = printer.newPage();
        }
        const PageSlice& page = pages[p];
        if (page.first == page.end) {
            continue;
        }
        // Line by line: a page holds only its own lines, also where a paragraph goes on to
        // the next page.
        const double from = lines[page.first].top;
        const int top = p == 0 ? firstTop : bodyRect.top();
        painter.save();
        painter.translate(bodyRect.left(), top - from);
        for (std::size_t i = page.first; i < page.end; ++i) {
            const auto& [block, number] = laidOut.lines[i];
            block.layout()->lineAt(number).draw(&painter, block.layout()->position());
        }
        painter.restore();
    }
    painter.restore();
    if (!ok || printer.printerState() == QPrinter::Error) {
        printer.abort();
        return PrintResult::GeneralError;
    }
    return PrintResult::Done;
}

void CNoteOutput::SendEmail() {
    const QByteArray title = note_.outputTitle().toUtf8();
    const QByteArray text = note_.outputBody().toPlainText().toUtf8();
    const bool signature = setting::get(note_.outputStore(), setting::mailSignature) != 0;
    note_.outputPlatform().shell->open(mailtoAddress(std::string_view(title.data(), title.size()),
                                                     std::string_view(text.data(), text.size()),
                                                     signature));
}

}  // namespace bp
