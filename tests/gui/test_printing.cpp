// Printing into PDF files read back with pdftotext: every line once, in
// order, within the margins, each page as full as it can be; File > Print
// and the printer settings through the window; a protocol file printed
// from the command line's code.
#include <gtest/gtest.h>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTextDocument>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/gui/main_menus.h"
#include "app/gui/print_to_pdf.h"
#include "document/print_commands.h"
#include "form_main_rig.h"
#include "modal_dialog.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_protocol_field.h"

namespace kestrum {
namespace {

using test::FormRig;
using test::ScratchFolder;
using test::WhenModal;
using test::WriteFileBytes;

constexpr double kPointsPerMm = 72.0 / 25.4;

bool HavePdfToText() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

std::string RunCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

struct PdfLine {
    double Left, Top, Bottom;
    std::string Text;
};
struct PdfPage {
    double Width = 0, Height = 0;
    std::vector<PdfLine> Lines;
};

// The pages of a PDF with their lines (words of one baseline, in order),
// in points from the page's top left corner.
std::vector<PdfPage> ReadPdf(const std::string& path) {
    const std::string html = RunCommand("pdftotext -bbox '" + path + "' - 2>/dev/null");
    std::vector<PdfPage> pages;
    const std::regex page("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">");
    const std::regex word(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">([^<]*)</word>");
    std::istringstream in(html);
    for (std::string row; std::getline(in, row);) {
        std::smatch m;
        if (std::regex_search(row, m, page)) {
            pages.push_back({std::stod(m[1]), std::stod(m[2]), {}});
        } else if (std::regex_search(row, m, word) && !pages.empty()) {
            auto& lines = pages.back().Lines;
            const double top = std::stod(m[2]);
            if (lines.empty() || std::abs(lines.back().Top - top) > 0.5)
                lines.push_back({std::stod(m[1]), top, std::stod(m[3]), m[4]});
            else
                lines.back().Text += " " + m[4].str();
        }
    }
    return pages;
}

std::string LineText(int n) { return "Line " + std::to_string(1000 + n) + " of the protocol"; }

struct Margins {
    int Left, Right, Top, Bottom;
};

// Every line of `expected` once, in order; on every page within the
// margins; every page but the last as full as the bottom margin allows.
void ExpectLinesOnPages(const std::vector<PdfPage>& pages, const std::vector<std::string>& expected, Margins margins,
                        const char* name) {
    ASSERT_FALSE(pages.empty()) << name;
    std::vector<std::string> printed;
    double step = 0;
    for (const PdfPage& page : pages)
        for (std::size_t i = 1; i < page.Lines.size() && step == 0; ++i)
            step = page.Lines[i].Top - page.Lines[i - 1].Top;
    ASSERT_GT(step, 0) << name;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const PdfPage& page = pages[p];
        ASSERT_FALSE(page.Lines.empty()) << name << " page " << p + 1;
        const double bottomEdge = page.Height - margins.Bottom * kPointsPerMm;
        for (const PdfLine& line : page.Lines) {
            printed.push_back(line.Text);
            EXPECT_NEAR(line.Left, margins.Left * kPointsPerMm, 0.5) << name << ": " << line.Text;
            EXPECT_GE(line.Top, margins.Top * kPointsPerMm - 0.5) << name << ": " << line.Text;
            EXPECT_LE(line.Bottom, bottomEdge + 0.5) << name << ": " << line.Text;
        }
        EXPECT_NEAR(page.Lines.front().Top, margins.Top * kPointsPerMm, step / 2) << name << " page " << p + 1;
        if (p + 1 < pages.size()) {  // the next line would not have fitted
            EXPECT_GT(page.Lines.back().Bottom + step, bottomEdge) << name << " page " << p + 1;
        }
    }
    EXPECT_EQ(printed, expected) << name;
}

TEST(Printing, EveryLineWithinTheMarginsOnTheRightNumberOfPages) {
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const struct {
        const char* Name;
        int Orientation;
        Margins Margin;
        int Lines;
    } cases[] = {
        {"defaults, portrait", kPortrait, {15, 10, 10, 10}, 150},
        {"wide margins, landscape", kLandscape, {25, 10, 20, 30}, 150},
        {"one page", kPortrait, {15, 10, 10, 10}, 3},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        QPlainTextEdit edit;
        QtProtocolField field(edit);
        std::vector<std::string> lines;
        for (int n = 0; n < c.Lines; ++n) {
            TextAttributes attributes;
            attributes.Color = n % 2 ? 0x0000FF : 0xFF0000;
            attributes.Style = n % 3 == 0 ? 1 : 0;
            field.SetAppendAttributes(attributes);
            field.AppendLine(LineText(n));
            lines.push_back(LineText(n));
        }
        field.Flush();
        const std::string pdf = folder / (std::string(c.Name) + ".pdf");
        QtPrinter printer(nullptr, [&edit] { return edit.document(); });
        printer.UsePdfFile(QString::fromStdString(pdf));
        Options options;
        options.PrinterOrientation = c.Orientation;
        options.MarginLeft = c.Margin.Left;
        options.MarginRight = c.Margin.Right;
        options.MarginTop = c.Margin.Top;
        options.MarginBottom = c.Margin.Bottom;
        PrintProtocolWithMargins(printer, options, "Test.RTF", 1);

        const std::vector<PdfPage> pages = ReadPdf(pdf);
        ExpectLinesOnPages(pages, lines, c.Margin, c.Name);
        for (const PdfPage& page : pages) EXPECT_EQ(page.Width > page.Height, c.Orientation == kLandscape) << c.Name;
        EXPECT_NE(RunCommand("pdfinfo '" + pdf + "'").find("Test.RTF"), std::string::npos) << c.Name;
    }
}

TEST(Printing, APdfFileCountsAsAPrinter) {
    QPlainTextEdit edit;
    QtPrinter printer(nullptr, [&edit] { return edit.document(); });
    // Whether or not the system has a printer, ours answers.
    EXPECT_TRUE(TestPrinterPresence(printer));
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        EXPECT_EQ(printer.Device().outputFormat(), QPrinter::PdfFormat);
    }
}

TEST(Printing, FilePrintThroughTheWindow) {
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    FormRig rig;
    TFormMain& form = rig.Open();
    const std::string pdf = rig.Folder / "window.pdf";
    form.Printer().UsePdfFile(QString::fromStdString(pdf));
    QAction* print = form.Menus().Action("MainMenuFilePrint");
    emit form.Menus().Menu("MainMenuFile")->aboutToShow();
    EXPECT_FALSE(print->isEnabled());  // nothing to print yet
    for (int n = 0; n < 5; ++n) form.Field().AppendLine(LineText(n));
    emit form.Menus().Menu("MainMenuFile")->aboutToShow();
    ASSERT_TRUE(print->isEnabled());

    // Cancelled: nothing printed.
    WhenModal<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    print->trigger();
    EXPECT_FALSE(std::filesystem::exists(pdf));

    bool pageRange = true, selection = true;
    ActivityMarker during = ActivityMarker::Idle;
    WhenModal<QPrintDialog>([&](QPrintDialog& dialog) {
        pageRange = dialog.testOption(QAbstractPrintDialog::PrintPageRange);
        selection = dialog.testOption(QAbstractPrintDialog::PrintSelection);
        during = form.Capture().Recording.ActivityMarker;
        dialog.accept();
    });
    print->trigger();
    EXPECT_FALSE(pageRange);
    EXPECT_FALSE(selection);
    EXPECT_EQ(during, ActivityMarker::Printing);
    EXPECT_EQ(form.Capture().Recording.ActivityMarker, ActivityMarker::Idle);
    std::vector<std::string> lines;
    for (int n = 0; n < 5; ++n) lines.push_back(LineText(n));
    ExpectLinesOnPages(ReadPdf(pdf), lines, {15, 10, 10, 10}, "window");
    EXPECT_NE(RunCommand("pdfinfo '" + pdf + "'").find("Test.RTF"), std::string::npos);
}

TEST(Printing, PrinterSettingsInMillimetresWhateverTheLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // an imperial locale
    FormRig rig;
    TFormMain& form = rig.Open();
    emit form.Menus().Menu("MainMenuSettings")->aboutToShow();
    QAction* settings = form.Menus().Action("MainMenuSettingsPrinter");
    ASSERT_TRUE(settings->isEnabled());

    double shownLeft = 0;
    QString unit;
    WhenModal<QPageSetupDialog>([&](QPageSetupDialog& dialog) {
        auto* left = dialog.findChild<QDoubleSpinBox*>("leftMargin");
        auto* top = dialog.findChild<QDoubleSpinBox*>("topMargin");
        ASSERT_NE(left, nullptr);
        ASSERT_NE(top, nullptr);
        shownLeft = left->value();
        unit = left->suffix();
        left->setValue(12.7);
        top->setValue(21.0);
        dialog.accept();
    });
    settings->trigger();
    QLocale::setDefault(before);
    EXPECT_DOUBLE_EQ(shownLeft, 15.0);
    EXPECT_EQ(unit.trimmed(), "mm");
    EXPECT_EQ(form.Settings().MarginLeft, 12);
    EXPECT_EQ(form.Settings().MarginTop, 21);
    EXPECT_EQ(form.Settings().MarginRight, 10);
    EXPECT_EQ(form.Settings().MarginBottom, 10);
    // The printer's own margins stay its unprintable strips.
    const QPageLayout layout = form.Printer().Device().pageLayout();
    EXPECT_EQ(layout.margins(), layout.minimumMargins());

    WhenModal<QPageSetupDialog>([](QPageSetupDialog& dialog) {
        dialog.findChild<QDoubleSpinBox*>("leftMargin")->setValue(40);
        dialog.reject();
    });
    settings->trigger();
    EXPECT_EQ(form.Settings().MarginLeft, 12);
}

TEST(Printing, ProtocolFilesFromTheCommandLine) {
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ScratchFolder folder;
    Options options;
    ChannelTable channels;
    WriteFileBytes(folder / "log.rtf",
                   "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
                   "\\f0\\fs20 first \\cf1 red\\par second line\\par}");
    WriteFileBytes(folder / "log.txt", "one\r\ntwo\nthree");
    PrintProtocolFileToPdf(folder / "rtf.pdf", folder / "log.rtf", options, channels);
    ExpectLinesOnPages(ReadPdf(folder / "rtf.pdf"), {"first red", "second line"}, {15, 10, 10, 10}, "rtf");
    PrintProtocolFileToPdf(folder / "txt.pdf", folder / "log.txt", options, channels);
    ExpectLinesOnPages(ReadPdf(folder / "txt.pdf"), {"one", "two", "three"}, {15, 10, 10, 10}, "txt");

    WriteFileBytes(folder / "bad.rtf", "plain words");
    WriteFileBytes(folder / "empty.txt", "");
    const struct {
        const char* Name;
        std::string Output, Input, Says;
    } errors[] = {
        {"missing file", folder / "x.pdf", folder / "missing.txt", "no such file"},
        {"not Rich Text", folder / "x.pdf", folder / "bad.rtf", "bad.rtf: "},
        {"nothing to print", folder / "x.pdf", folder / "empty.txt", "nothing to print"},
        {"output folder missing", folder / "no/such/folder/x.pdf", folder / "log.txt", "could not be started"},
    };
    for (const auto& e : errors) {
        try {
            PrintProtocolFileToPdf(e.Output, e.Input, options, channels);
            ADD_FAILURE() << e.Name << ": no error";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(e.Says), std::string::npos) << e.Name << ": " << error.what();
        }
    }
    options.MarginLeft = 300;
    EXPECT_THROW(PrintProtocolFileToPdf(folder / "y.pdf", folder / "log.txt", options, channels), std::runtime_error);
}

}  // namespace
}  // namespace kestrum
