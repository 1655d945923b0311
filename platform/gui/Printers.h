#pragma once
// The system printer: one print job at a time drawn on the printer's canvas, page by page. A job
// goes to a PDF file when an output file is set, else to the system's default printer. The
// preview window goes through a replaceable service, so a test never blocks on it.
#include "platform/gui/Graphics.h"
#include "platform/rtl/SysUtils.h"

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QPainter;

enum TPrinterOrientation { poPortrait, poLandscape };

class EPrinter : public Exception {
public:
    using Exception::Exception;
};

class TPrinter : public TObject {
public:
    TPrinter();
    // Prints on a printer another part owns (the preview window's); it is never deleted here.
    explicit TPrinter(QPrinter* External);
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The PDF file a job writes (empty: the system's default printer). The file appears whole
    // when the job ends; an aborted or failed job leaves any earlier file as it was.
    QString OutputFileName() const { return FOutputFileName; }
    void SetOutputFileName(const QString& Value);
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation Value);
    // The paper, in millimetres (portrait sizes; the orientation turns them). A4 by default.
    void SetPaperSizeMM(double Width, double Height);
    // Margins of the printable area, in millimetres (none by default).
    void SetMarginsMM(double Left, double Top, double Right, double Bottom);
    // Dots per inch of the job's pages (the PDF's are 1200 unless set).
    void SetResolution(int Dpi);
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    // The printable area in device pixels.
    int PageWidth() const;
    int PageHeight() const;
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }

    // Raise EPrinter: a job already running, no printer or a file that cannot be written
    // (BeginDoc), or no job running (NewPage, EndDoc).
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Ends the job and drops its output; nothing happens without a job.
    void Abort();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }
    // The canvas of the running job (device pixels until the caller maps it).
    TCanvas* Canvas() { return &FCanvas; }
    // The driver's rotation for landscape pages: 90 or 270 degrees.
    int LandscapeRotation() const { return 90; }
    QPrinter* Handle() const { return FPrinter; }

private:
    bool FinishPainter(); // false: the device reported a failure
    QPrinter* FPrinter = nullptr;
    bool FOwnsPrinter = false;
    QString FOutputFileName;
    QString FPartFileName; // where a PDF job writes until it ends
    QString FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
    std::unique_ptr<QPainter> FPainter;
    TCanvas FCanvas;
};

// The application's printer (created on first use).
TPrinter* Printer();
// Replaces the application's printer, returning the old one (the caller owns it); nullptr gives
// a fresh printer on the next Printer().
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> NewPrinter);

// The preview window: it shows what Render prints on the printer it is given, and prints it
// again on Printer when the user asks for it.
class IPrintPreviewService {
public:
    virtual ~IPrintPreviewService() = default;
    virtual void Preview(TPrinter& Printer, const std::function<void(TPrinter& Target)>& Render) = 0;
};

IPrintPreviewService& PrintPreviewService();
void SetPrintPreviewService(std::shared_ptr<IPrintPreviewService> Service); // nullptr: the real window

// The real window, on Qt's print preview dialog.
class TQtPrintPreviewService : public IPrintPreviewService {
public:
    void Preview(TPrinter& Printer, const std::function<void(TPrinter& Target)>& Render) override;
};
