#pragma once
// The printer over Qt Print Support: one QPrinter for the whole run, so the
// orientation set here is this program's and never the system's default.
// Without a system printer the QPrinter prints into a PDF file, which the
// print dialog lets the user choose; so a printer is always present.
//
// The QPrinter's own margins are kept at the paper's unprintable strips:
// the page margins are the program's (the page rectangle), and the dialogs'
// margins are read back and put back to those strips.

#include <QPrinter>
#include <QString>

#include <functional>

#include "platform/printer.h"

class QTextDocument;
class QWidget;

namespace kestrum {

class QtPrinter : public Printer {
public:
    // The document PrintProtocol prints, fetched when printing starts (the
    // caller applies its pending changes first). The dialogs are modal over
    // `dialogParent`.
    using DocumentSource = std::function<const QTextDocument*()>;
    QtPrinter(QWidget* dialogParent, DocumentSource document);

    int Orientation() override;
    void SetOrientation(int orientation) override;
    PrinterDeviceCaps DeviceCaps() override;
    std::string Name() override;
    bool PrintDialog(const std::string& title) override;
    bool PageSetupDialog(PageSetup& setup) override;
    PrintResult PrintProtocol(const PageRect& rect, const std::string& title) override;

    // Prints into the PDF file `path` from now on.
    void UsePdfFile(const QString& path);
    QPrinter& Device() { return printer_; }

private:
    void UseUnprintableStripsAsMargins();

    QWidget* dialogParent_;
    DocumentSource document_;
    QPrinter printer_{QPrinter::HighResolution};
};

// Prints `document` with its fonts and colours on `printer`, every page laid
// out within `area` (device pixels from the top left corner of the printable
// area); copies as the printer asks for them when it cannot make them
// itself. Text without a colour of its own prints black.
PrintResult PrintTextDocument(QPrinter& printer, const QTextDocument& document, const QRect& area);

}  // namespace kestrum
