#include "platform/qt/qt_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/qt/qt_text.h"

namespace kestrum {
namespace {

// A line of the laid-out document and where its paragraph's lines are
// measured from, in document coordinates.
struct PrintedLine {
    QTextLine Line;
    QPointF Origin;
};

// Every line of `document` by the page it lies on (pages of `pageHeight`).
// The layout moves a line that would cross a page's bottom edge to the top
// of the next page; a paragraph may so begin on one page and go on on the
// next, and each of its lines is printed on its own page only.
std::vector<std::vector<PrintedLine>> LinesByPage(const QTextDocument& document, int pageHeight) {
    QAbstractTextDocumentLayout& layout = *document.documentLayout();
    std::vector<std::vector<PrintedLine>> pages(static_cast<std::size_t>(qMax(1, document.pageCount())));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextLayout* lines = block.layout();
        if (lines == nullptr) continue;
        // Where the paragraph's layout sits; its lines are measured from there.
        const QPointF origin = layout.blockBoundingRect(block).topLeft();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            const qreal top = origin.y() + line.y();
            // A line that starts a hair above a page's top edge is on that page.
            const auto page = static_cast<std::size_t>(qMax(0.0, std::floor((top + 0.5) / pageHeight)));
            if (page >= pages.size()) pages.resize(page + 1);
            pages[page].push_back({line, origin});
        }
    }
    return pages;
}

}  // namespace

QtPrinter::QtPrinter(QWidget* dialogParent, DocumentSource document)
    : dialogParent_(dialogParent), document_(std::move(document)) {
    UseUnprintableStripsAsMargins();
}

void QtPrinter::UseUnprintableStripsAsMargins() {
    const QPageLayout layout = printer_.pageLayout();
    printer_.setPageMargins(layout.minimumMargins(), layout.units());
}

int QtPrinter::Orientation() {
    return printer_.pageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
}

void QtPrinter::SetOrientation(int orientation) {
    printer_.setPageOrientation(orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

PrinterDeviceCaps QtPrinter::DeviceCaps() {
    const QRect paper = printer_.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer_.pageRect(QPrinter::DevicePixel).toRect();
    PrinterDeviceCaps caps;
    caps.PhysicalWidth = paper.width();
    caps.PhysicalHeight = paper.height();
    caps.HorzRes = page.width();
    caps.VertRes = page.height();
    caps.PhysicalOffsetX = page.left() - paper.left();
    caps.PhysicalOffsetY = page.top() - paper.top();
    caps.LogPixelsX = printer_.logicalDpiX();
    caps.LogPixelsY = printer_.logicalDpiY();
    return caps;
}

std::string QtPrinter::Name() {
    const QString name =
        printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName() : printer_.printerName();
    return QStringToCp1252(name);
}

void QtPrinter::UsePdfFile(const QString& path) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(path);
    UseUnprintableStripsAsMargins();
}

bool QtPrinter::PrintDialog(const std::string& title) {
    printer_.setPrintRange(QPrinter::AllPages);
    printer_.setDocName(Cp1252ToQString(title));
    QPrintDialog dialog(&printer_, dialogParent_);
    // The printer and the number of copies; no page range, no selection.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The dialog's page set-up may have given the printer margins of its own.
    UseUnprintableStripsAsMargins();
    return accepted;
}

bool QtPrinter::PageSetupDialog(PageSetup& setup) {
    // The dialog shows the layout's units: millimetres, whatever the locale.
    QPageLayout layout = printer_.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    layout.setOrientation(setup.Orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QMarginsF minimum = layout.minimumMargins();
    const QMarginsF maximum = layout.maximumMargins();
    layout.setMargins(QMarginsF(qBound(minimum.left(), setup.MarginLeft, maximum.left()),
                                qBound(minimum.top(), setup.MarginTop, maximum.top()),
                                qBound(minimum.right(), setup.MarginRight, maximum.right()),
                                qBound(minimum.bottom(), setup.MarginBottom, maximum.bottom())));
    printer_.setPageLayout(layout);
    QPageSetupDialog dialog(&printer_, dialogParent_);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted) {
        const QPageLayout chosen = printer_.pageLayout();
        const QMarginsF margins = chosen.margins(QPageLayout::Millimeter);
        setup.MarginLeft = margins.left();
        setup.MarginTop = margins.top();
        setup.MarginRight = margins.right();
        setup.MarginBottom = margins.bottom();
        setup.Orientation = chosen.orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
    }
    UseUnprintableStripsAsMargins();
    return accepted;
}

PrintResult QtPrinter::PrintProtocol(const PageRect& rect, const std::string& title) {
    const QTextDocument* document = document_ ? document_() : nullptr;
    if (document == nullptr) return PrintResult::Failed;
    printer_.setDocName(Cp1252ToQString(title));
    return PrintTextDocument(printer_, *document,
                             QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top));
}

PrintResult PrintTextDocument(QPrinter& printer, const QTextDocument& source, const QRect& area) {
    if (area.width() <= 0 || area.height() <= 0) return PrintResult::Failed;
    QPainter painter;
    if (!painter.begin(&printer)) return PrintResult::NotStarted;

    // A copy laid out for the printer: pages of the area's size, fonts at
    // the printer's resolution. (The widget's own layout does not paginate.)
    std::unique_ptr<QTextDocument> document(source.clone());
    QAbstractTextDocumentLayout& layout = *document->documentLayout();
    layout.setPaintDevice(&printer);
    document->setDocumentMargin(0);
    document->setPageSize(QSizeF(area.width(), area.height()));
    const std::vector<std::vector<PrintedLine>> pages = LinesByPage(*document, area.height());

    // Copies the printer cannot make itself are printed here, collated or not.
    const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, printer.copyCount());
    const bool collate = printer.collateCopies();
    const int documentCopies = collate ? copies : 1;
    const int pageCopies = collate ? 1 : copies;

    bool first = true;
    for (int copy = 0; copy < documentCopies; ++copy) {
        for (std::size_t page = 0; page < pages.size(); ++page) {
            for (int repeat = 0; repeat < pageCopies; ++repeat) {
                if (!first && !printer.newPage()) return PrintResult::Failed;
                first = false;
                painter.save();
                painter.setClipRect(area);
                painter.translate(area.left(), area.top() - static_cast<qreal>(page) * area.height());
                // Text without a colour of its own prints black.
                painter.setPen(Qt::black);
                for (const PrintedLine& line : pages[page]) line.Line.draw(&painter, line.Origin);
                painter.restore();
            }
        }
    }
    return painter.end() ? PrintResult::Printed : PrintResult::Failed;
}

}  // namespace kestrum
