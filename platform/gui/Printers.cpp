#include "platform/gui/Printers.h"

#include "platform/gui/Forms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TPrinter::TPrinter() : FPrinter(new QPrinter(QPrinter::HighResolution)), FOwnsPrinter(true) {
    FPrinter->setPageSize(QPageSize(QPageSize::A4));
    FPrinter->setFullPage(true);
    FPrinter->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

TPrinter::TPrinter(QPrinter* External) : FPrinter(External), FOwnsPrinter(false) {}

TPrinter::~TPrinter() {
    if (FPrinting) Abort();
    if (FOwnsPrinter) delete FPrinter;
}

void TPrinter::SetOutputFileName(const QString& Value) {
    if (FPrinting) throw EPrinter(QStringLiteral("Printing in progress"));
    FOutputFileName = Value;
}

TPrinterOrientation TPrinter::Orientation() const {
    return FPrinter->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
    if (FPrinting) throw EPrinter(QStringLiteral("Printing in progress"));
    FPrinter->setPageOrientation(Value == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TPrinter::SetPaperSizeMM(double Width, double Height) {
    if (FPrinting) throw EPrinter(QStringLiteral("Printing in progress"));
    if (Width <= 0 || Height <= 0) throw EPrinter(QStringLiteral("Invalid paper size"));
    FPrinter->setPageSize(QPageSize(QSizeF(Width, Height), QPageSize::Millimeter));
}

void TPrinter::SetMarginsMM(double Left, double Top, double Right, double Bottom) {
    if (FPrinting) throw EPrinter(QStringLiteral("Printing in progress"));
    FPrinter->setFullPage(Left == 0 && Top == 0 && Right == 0 && Bottom == 0);
    FPrinter->setPageMargins(QMarginsF(Left, Top, Right, Bottom), QPageLayout::Millimeter);
}

void TPrinter::SetResolution(int Dpi) {
    if (FPrinting) throw EPrinter(QStringLiteral("Printing in progress"));
    if (Dpi > 0) FPrinter->setResolution(Dpi);
}

int TPrinter::PixelsPerInchX() const { return FPrinter->logicalDpiX(); }
int TPrinter::PixelsPerInchY() const { return FPrinter->logicalDpiY(); }
int TPrinter::PageWidth() const { return FPrinter->width(); }
int TPrinter::PageHeight() const { return FPrinter->height(); }

void TPrinter::BeginDoc() {
    if (FPrinting) throw EPrinter(QStringLiteral("Printing in progress"));
    FAborted = false;
    FPartFileName.clear();
    if (FOwnsPrinter) {
        if (!FOutputFileName.isEmpty()) {
            // The job writes beside its file and takes its name when it ends, so a reader never
            // finds half a document and a failed job keeps the old one.
            const QFileInfo Info(FOutputFileName);
            QTemporaryFile Part(Info.absolutePath() + QStringLiteral("/.") + Info.fileName() +
                                QStringLiteral(".XXXXXX"));
            Part.setAutoRemove(false);
            if (!Part.open())
                throw EPrinter(
                    QStringLiteral("Cannot create file \"%1\". %2").arg(FOutputFileName, Part.errorString()));
            FPartFileName = Part.fileName();
            Part.close();
            FPrinter->setOutputFormat(QPrinter::PdfFormat);
            FPrinter->setOutputFileName(FPartFileName);
        } else {
            if (QPrinterInfo::defaultPrinter().isNull())
                throw EPrinter(QStringLiteral("There is no default printer currently selected"));
            FPrinter->setOutputFormat(QPrinter::NativeFormat);
            FPrinter->setPrinterName(QPrinterInfo::defaultPrinter().printerName());
        }
    }
    FPrinter->setDocName(FTitle);
    FPainter = std::make_unique<QPainter>();
    if (!FPainter->begin(FPrinter)) {
        FPainter.reset();
        if (!FPartFileName.isEmpty()) QFile::remove(FPartFileName);
        FPartFileName.clear();
        throw EPrinter(QStringLiteral("Printing could not start"));
    }
    FCanvas.AttachPainter(FPainter.get());
    FCanvas.SetMapMode(MM_TEXT);
    FCanvas.SetViewportOrg(TPoint{0, 0});
    FPrinting = true;
    FPageNumber = 1;
}

void TPrinter::NewPage() {
    if (!FPrinting) throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // the canvas keeps its font, pen and brush over the page break, as a device context does
    if (!FPrinter->newPage()) throw EPrinter(QStringLiteral("Printing failed"));
    ++FPageNumber;
}

bool TPrinter::FinishPainter() {
    FCanvas.EndPaint();
    bool Ended = true;
    if (FPainter && FPainter->isActive()) Ended = FPainter->end();
    FPainter.reset();
    FPrinting = false;
    return Ended && FPrinter->printerState() != QPrinter::Error;
}

namespace {
// The PDF engine does not report a failed write, so the finished file is checked: it must be on
// disk and end with the document's end marker. A document cut short (a full disk, a size limit)
// fails here.
bool PdfWrittenWhole(const QString& FileName) {
    const QByteArray Name = QFile::encodeName(FileName);
    const int Fd = ::open(Name.constData(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) return false;
    bool Whole = ::fsync(Fd) == 0;
    struct stat St {};
    if (Whole) Whole = ::fstat(Fd, &St) == 0 && St.st_size > 16;
    if (Whole) {
        char Tail[32] = {};
        const off_t At = St.st_size - off_t(sizeof Tail);
        const ssize_t N = ::pread(Fd, Tail, sizeof Tail, At);
        Whole = N == ssize_t(sizeof Tail) && QByteArray(Tail, sizeof Tail).contains("%%EOF");
    }
    ::close(Fd);
    return Whole;
}

// The finished file keeps the permissions of the one it replaces; a new one gets the usual ones.
void TakeOverPermissions(const QString& Part, const QString& Target) {
    struct stat St {};
    mode_t Mode;
    if (::stat(QFile::encodeName(Target).constData(), &St) == 0) {
        Mode = St.st_mode & 07777;
    } else {
        const mode_t Mask = ::umask(0);
        ::umask(Mask);
        Mode = 0666 & ~Mask;
    }
    ::chmod(QFile::encodeName(Part).constData(), Mode);
}
} // namespace

void TPrinter::EndDoc() {
    if (!FPrinting) throw EPrinter(QStringLiteral("Printer is not currently printing"));
    const bool Ended = FinishPainter();
    if (FPartFileName.isEmpty()) {
        if (!Ended) throw EPrinter(QStringLiteral("Printing failed"));
        return;
    }
    const QString Part = FPartFileName;
    FPartFileName.clear();
    // later jobs of the printer's own dialogs write to the file the user named, not to the part
    FPrinter->setOutputFileName(FOutputFileName);
    if (!Ended || !PdfWrittenWhole(Part)) {
        QFile::remove(Part);
        throw EPrinter(QStringLiteral("Cannot write file \"%1\"").arg(FOutputFileName));
    }
    TakeOverPermissions(Part, FOutputFileName);
    // one step: a reader finds the old document or the new one, never none
    if (std::rename(QFile::encodeName(Part).constData(), QFile::encodeName(FOutputFileName).constData()) != 0) {
        const QString Reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(Part);
        throw EPrinter(QStringLiteral("Cannot create file \"%1\". %2").arg(FOutputFileName, Reason));
    }
}

void TPrinter::Abort() {
    if (!FPrinting) return;
    FPrinter->abort();
    FinishPainter();
    FAborted = true;
    if (!FPartFileName.isEmpty()) {
        QFile::remove(FPartFileName);
        FPrinter->setOutputFileName(FOutputFileName);
    }
    FPartFileName.clear();
}

namespace {
std::unique_ptr<TPrinter>& PrinterSlot() {
    static std::unique_ptr<TPrinter> P;
    return P;
}
std::shared_ptr<IPrintPreviewService>& PreviewSlot() {
    static std::shared_ptr<IPrintPreviewService> S;
    return S;
}
} // namespace

TPrinter* Printer() {
    auto& P = PrinterSlot();
    if (!P) P = std::make_unique<TPrinter>();
    return P.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> NewPrinter) {
    std::unique_ptr<TPrinter> Old = std::move(PrinterSlot());
    PrinterSlot() = std::move(NewPrinter);
    return Old;
}

IPrintPreviewService& PrintPreviewService() {
    auto& S = PreviewSlot();
    if (!S) S = std::make_shared<TQtPrintPreviewService>();
    return *S;
}

void SetPrintPreviewService(std::shared_ptr<IPrintPreviewService> Service) { PreviewSlot() = std::move(Service); }

void TQtPrintPreviewService::Preview(TPrinter& Printer, const std::function<void(TPrinter& Target)>& Render) {
    QPrintPreviewDialog Dialog(Printer.Handle());
    QObject::connect(&Dialog, &QPrintPreviewDialog::paintRequested, [&Render](QPrinter* Target) {
        TPrinter On(Target);
        try {
            Render(On);
        } catch (const Exception& E) {
            // Qt must not see the error: the window shows what was drawn and the error box tells why
            if (On.Printing()) On.Abort();
            Application->HandleException(nullptr, E);
        }
    });
    Dialog.exec();
}
