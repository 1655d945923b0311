#include "grid/services/OfficeDocs.h"

#include "grid/services/ZipArchive.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SysUtils.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTime>

#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <freexl.h>
#include <map>
#include <mdbsql.h>
#include <xlsxwriter.h>

namespace office {

QString ColumnLetters(int N) {
    QString S;
    while (N > 0) {
        int R = (N - 1) % 26;
        S.prepend(QChar('A' + R));
        N = (N - 1) / 26;
    }
    return S;
}

int ColumnFromLetters(const QString& Letters) {
    if (Letters.isEmpty() || Letters.size() > 3) return -1;
    int N = 0;
    for (QChar C : Letters) {
        QChar U = C.toUpper();
        if (U < QLatin1Char('A') || U > QLatin1Char('Z')) return -1;
        N = N * 26 + (U.unicode() - 'A' + 1);
    }
    return N;
}

namespace {

constexpr int Max_Sheet_Rows = 1048576;
constexpr int Max_Sheet_Cols = 16384;
constexpr unsigned Parse_Flags = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration;

const char* const Ns_Sheet = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const Ns_Word = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char* const Rel_Worksheet = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
const char* const Type_Worksheet = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

QString LocalName(const pugi::xml_node& N) {
    QString Name = QString::fromUtf8(N.name());
    int Colon = Name.indexOf(QLatin1Char(':'));
    return Colon < 0 ? Name : Name.mid(Colon + 1);
}

// The element's prefix with its colon ("w:"), "" without one.
QString PrefixOf(const pugi::xml_node& N) {
    QString Name = QString::fromUtf8(N.name());
    int Colon = Name.indexOf(QLatin1Char(':'));
    return Colon < 0 ? QString() : Name.left(Colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& N, const char* Local) {
    for (pugi::xml_node C = N.first_child(); C; C = C.next_sibling())
        if (C.type() == pugi::node_element && LocalName(C) == QLatin1String(Local)) return C;
    return {};
}

// An attribute by its local name (documents differ in the prefix of "r:id").
pugi::xml_attribute AttrLocal(const pugi::xml_node& N, const char* Local) {
    for (pugi::xml_attribute A = N.first_attribute(); A; A = A.next_attribute()) {
        QString Name = QString::fromUtf8(A.name());
        int Colon = Name.indexOf(QLatin1Char(':'));
        if ((Colon < 0 ? Name : Name.mid(Colon + 1)) == QLatin1String(Local)) return A;
    }
    return {};
}

QString Attr(const pugi::xml_node& N, const char* Name) { return QString::fromUtf8(N.attribute(Name).value()); }

void LoadXml(pugi::xml_document& Doc, const QByteArray& Bytes, const QString& What) {
    pugi::xml_parse_result R = Doc.load_buffer(Bytes.constData(), static_cast<size_t>(Bytes.size()), Parse_Flags);
    if (!R) throw Exception(QStringLiteral("%1 is damaged: %2").arg(What, QString::fromUtf8(R.description())));
}

QByteArray SaveXml(const pugi::xml_document& Doc) {
    struct TWriter : pugi::xml_writer {
        QByteArray Out;
        void write(const void* Data, size_t Size) override {
            Out.append(static_cast<const char*>(Data), static_cast<qsizetype>(Size));
        }
    } W;
    Doc.save(W, "", pugi::format_raw, pugi::encoding_utf8);
    return W.Out;
}

// XML 1.0 has no place for most control characters; they would make the whole part unreadable.
QString XmlSafe(const QString& S) {
    QString Out;
    Out.reserve(S.size());
    for (QChar C : S)
        if (C.unicode() >= 0x20 || C == QLatin1Char('\t') || C == QLatin1Char('\n') || C == QLatin1Char('\r')) Out += C;
    return Out;
}

// "B3" -> column 2, row 3; false when Ref is no cell reference.
bool SplitRef(const QString& Ref, int& Row, int& Col) {
    int I = 0;
    while (I < Ref.size() && Ref[I].isLetter()) ++I;
    Col = ColumnFromLetters(Ref.left(I));
    bool Ok = false;
    Row = Ref.mid(I).toInt(&Ok);
    return Col > 0 && Ok && Row > 0 && Row <= Max_Sheet_Rows && Col <= Max_Sheet_Cols;
}

QString CellKeyText(int Row, int Col) { return ColumnLetters(Col) + QString::number(Row); }

qint64 CellKey(int Row, int Col) { return static_cast<qint64>(Row) * 65536 + Col; }

QString AddressOf(int R1, int C1, int R2, int C2) {
    QString A = QStringLiteral("$%1$%2").arg(ColumnLetters(C1)).arg(R1);
    if (R1 == R2 && C1 == C2) return A;
    return A + QStringLiteral(":$%1$%2").arg(ColumnLetters(C2)).arg(R2);
}

// A spreadsheet date serial as the user's date, time or date and time.
QString SerialToText(double Serial) {
    // The spreadsheet counts a 29 February 1900 that never was: serials before it are one day late
    // against the calendar the rest of the program counts in.
    TDateTime D = Serial < 61 && Serial >= 1 ? Serial + 1 : Serial;
    double Whole = std::floor(D);
    if (Whole == 0) return TimeToStr(D);
    if (D == Whole) return DateToStr(D);
    return DateTimeToStr(D);
}

// A number format (code) that shows a date or a time.
bool IsDateFormat(int Id, const QString& Code) {
    if ((Id >= 14 && Id <= 22) || (Id >= 27 && Id <= 36) || (Id >= 45 && Id <= 47) || (Id >= 50 && Id <= 58))
        return true;
    if (Id < 164) return false;
    QString Bare;
    bool InQuote = false;
    for (int I = 0; I < Code.size(); ++I) {
        QChar C = Code[I];
        if (C == QLatin1Char('"')) {
            InQuote = !InQuote;
            continue;
        }
        if (InQuote) continue;
        if (C == QLatin1Char('\\') || C == QLatin1Char('_') || C == QLatin1Char('*')) {
            ++I;
            continue;
        }
        if (C == QLatin1Char('[')) {
            int E = Code.indexOf(QLatin1Char(']'), I);
            if (E < 0) break;
            QString In = Code.mid(I + 1, E - I - 1).toLower();
            if (In == QLatin1String("h") || In == QLatin1String("m") || In == QLatin1String("s") ||
                In == QLatin1String("hh") || In == QLatin1String("mm") || In == QLatin1String("ss"))
                return true;
            I = E;
            continue;
        }
        Bare += C.toLower();
    }
    for (QChar C : Bare)
        if (C == QLatin1Char('d') || C == QLatin1Char('m') || C == QLatin1Char('y') || C == QLatin1Char('h') ||
            C == QLatin1Char('s'))
            return true;
    return false;
}

// The text of a string item: its own text runs, without phonetic readings.
QString ItemText(const pugi::xml_node& Si) {
    QString S;
    for (pugi::xml_node C = Si.first_child(); C; C = C.next_sibling()) {
        QString L = LocalName(C);
        if (L == QLatin1String("t"))
            S += QString::fromUtf8(C.text().get());
        else if (L == QLatin1String("r"))
            S += QString::fromUtf8(Child(C, "t").text().get());
    }
    return S;
}

// ---- .xlsx ---------------------------------------------------------------------------------------

class TXlsxBook : public TWorkbook {
public:
    explicit TXlsxBook(const QByteArray& Bytes) : FZip(Bytes) {
        pugi::xml_document Book;
        LoadXml(Book, FZip.Read(QStringLiteral("xl/workbook.xml")), QStringLiteral("The workbook"));
        QHash<QString, QString> Targets;
        if (FZip.Contains(QStringLiteral("xl/_rels/workbook.xml.rels"))) {
            pugi::xml_document Rels;
            LoadXml(Rels, FZip.Read(QStringLiteral("xl/_rels/workbook.xml.rels")), QStringLiteral("The workbook"));
            for (pugi::xml_node R : Rels.document_element().children())
                if (R.type() == pugi::node_element) Targets.insert(Attr(R, "Id"), PartPath(Attr(R, "Target")));
        }
        pugi::xml_node Root = Book.document_element();
        for (pugi::xml_node S : Child(Root, "sheets").children()) {
            if (S.type() != pugi::node_element || LocalName(S) != QLatin1String("sheet")) continue;
            TSheet Sheet;
            Sheet.Name = Attr(S, "name");
            Sheet.Part = Targets.value(QString::fromUtf8(AttrLocal(S, "id").value()));
            FSheets.push_back(Sheet);
        }
        if (FSheets.empty()) throw Exception(QStringLiteral("The workbook has no worksheet"));
        pugi::xml_node View = Child(Child(Root, "bookViews"), "workbookView");
        FActive = std::clamp(View.attribute("activeTab").as_int(0), 0, static_cast<int>(FSheets.size()) - 1);
        if (FZip.Contains(QStringLiteral("xl/sharedStrings.xml"))) {
            pugi::xml_document Sst;
            LoadXml(Sst, FZip.Read(QStringLiteral("xl/sharedStrings.xml")), QStringLiteral("The workbook's strings"));
            for (pugi::xml_node Si : Sst.document_element().children())
                if (Si.type() == pugi::node_element && LocalName(Si) == QLatin1String("si")) FStrings << ItemText(Si);
        }
        if (FZip.Contains(QStringLiteral("xl/styles.xml"))) LoadDateStyles();
    }

    QStringList SheetNames() const override {
        QStringList L;
        for (const TSheet& S : FSheets) L << S.Name;
        return L;
    }
    int ActiveSheet() const override { return FActive; }

    QString UsedRangeAddress(int Sheet) const override {
        const TSheet& S = Loaded(Sheet);
        if (S.R1 == INT_MAX) return QStringLiteral("$A$1");
        return AddressOf(S.R1, S.C1, S.R2, S.C2);
    }

    bool Value(int Sheet, int Row, int Col, QString& Text) const override {
        const TSheet& S = Loaded(Sheet);
        qint64 K = CellKey(Row, Col);
        if (S.Errors.contains(K)) return false;
        Text = S.Cells.value(K);
        return true;
    }

private:
    struct TSheet {
        QString Name, Part;
        bool IsLoaded = false;
        QHash<qint64, QString> Cells;
        QSet<qint64> Errors;
        int R1 = INT_MAX, C1 = INT_MAX, R2 = 0, C2 = 0;
    };

    static QString PartPath(QString Target) {
        if (Target.startsWith(QLatin1Char('/'))) return Target.mid(1);
        return QStringLiteral("xl/") + Target;
    }

    void LoadDateStyles() {
        pugi::xml_document St;
        LoadXml(St, FZip.Read(QStringLiteral("xl/styles.xml")), QStringLiteral("The workbook's styles"));
        QHash<int, QString> Codes;
        pugi::xml_node Root = St.document_element();
        for (pugi::xml_node F : Child(Root, "numFmts").children())
            if (F.type() == pugi::node_element) Codes.insert(F.attribute("numFmtId").as_int(), Attr(F, "formatCode"));
        for (pugi::xml_node X : Child(Root, "cellXfs").children()) {
            if (X.type() != pugi::node_element) continue;
            int Id = X.attribute("numFmtId").as_int();
            FDateStyles.push_back(IsDateFormat(Id, Codes.value(Id)));
        }
    }

    const TSheet& Loaded(int Index) const {
        if (Index < 0 || Index >= static_cast<int>(FSheets.size()))
            throw Exception(QStringLiteral("No such worksheet"));
        TSheet& S = FSheets[static_cast<size_t>(Index)];
        if (S.IsLoaded) return S;
        if (S.Part.isEmpty() || !FZip.Contains(S.Part))
            throw Exception(QStringLiteral("The worksheet %1 is missing from the workbook").arg(S.Name));
        pugi::xml_document Doc;
        LoadXml(Doc, FZip.Read(S.Part), QStringLiteral("The worksheet %1").arg(S.Name));
        int Row = 0;
        for (pugi::xml_node R : Child(Doc.document_element(), "sheetData").children()) {
            if (R.type() != pugi::node_element || LocalName(R) != QLatin1String("row")) continue;
            int Given = R.attribute("r").as_int(0);
            Row = Given > 0 && Given <= Max_Sheet_Rows ? Given : Row + 1;
            int Col = 0;
            for (pugi::xml_node C : R.children()) {
                if (C.type() != pugi::node_element || LocalName(C) != QLatin1String("c")) continue;
                int RefRow = 0, RefCol = 0;
                if (SplitRef(Attr(C, "r"), RefRow, RefCol))
                    Col = RefCol;
                else
                    ++Col;
                if (Row > Max_Sheet_Rows || Col > Max_Sheet_Cols) continue;
                S.R1 = std::min(S.R1, Row);
                S.R2 = std::max(S.R2, Row);
                S.C1 = std::min(S.C1, Col);
                S.C2 = std::max(S.C2, Col);
                ReadCell(S, C, Row, Col);
            }
        }
        S.IsLoaded = true;
        return S;
    }

    void ReadCell(TSheet& S, const pugi::xml_node& C, int Row, int Col) const {
        QString T = Attr(C, "t");
        QString V = QString::fromUtf8(Child(C, "v").text().get());
        qint64 K = CellKey(Row, Col);
        if (T == QLatin1String("e")) {
            S.Errors.insert(K);
            return;
        }
        QString Text;
        if (T == QLatin1String("s")) {
            bool Ok = false;
            int I = V.toInt(&Ok);
            if (Ok && I >= 0 && I < FStrings.size()) Text = FStrings[I];
        } else if (T == QLatin1String("inlineStr")) {
            Text = ItemText(Child(C, "is"));
        } else if (T == QLatin1String("str")) {
            Text = V;
        } else if (T == QLatin1String("b")) {
            if (!V.isEmpty())
                Text = V.trimmed() == QLatin1String("1") ? QStringLiteral("True") : QStringLiteral("False");
        } else if (!V.isEmpty()) {
            bool Ok = false;
            double N = V.toDouble(&Ok);
            if (!Ok)
                Text = V;
            else {
                int Style = C.attribute("s").as_int(0);
                bool IsDate = T == QLatin1String("d") ||
                    (Style >= 0 && Style < static_cast<int>(FDateStyles.size()) &&
                     FDateStyles[static_cast<size_t>(Style)]);
                Text = IsDate ? SerialToText(N) : FloatToStr(N);
            }
        }
        if (!Text.isEmpty()) S.Cells.insert(K, Text);
    }

    TZipReader FZip;
    mutable std::vector<TSheet> FSheets;
    int FActive = 0;
    QStringList FStrings;
    std::vector<bool> FDateStyles;
};

// ---- .xls ----------------------------------------------------------------------------------------

class TXlsBook : public TWorkbook {
public:
    explicit TXlsBook(const QString& FileName) {
        QByteArray Path = QFile::encodeName(FileName);
        if (freexl_open(Path.constData(), &FHandle) != FREEXL_OK) {
            if (FHandle) freexl_close(FHandle);
            FHandle = nullptr;
            throw Exception(QStringLiteral("Cannot read the workbook %1").arg(FileName));
        }
        unsigned Count = 0;
        freexl_get_info(FHandle, FREEXL_BIFF_SHEET_COUNT, &Count);
        for (unsigned I = 0; I < Count; ++I) {
            const char* Name = nullptr;
            if (freexl_get_worksheet_name(FHandle, static_cast<unsigned short>(I), &Name) == FREEXL_OK)
                FNames << QString::fromUtf8(Name ? Name : "");
        }
        if (FNames.isEmpty()) {
            freexl_close(FHandle);
            throw Exception(QStringLiteral("The workbook has no worksheet"));
        }
        FRanges.resize(static_cast<size_t>(FNames.size()));
    }
    ~TXlsBook() override {
        if (FHandle) freexl_close(FHandle);
    }

    QStringList SheetNames() const override { return FNames; }
    // The legacy file keeps no record of the tab last shown that this reader can get at.
    int ActiveSheet() const override { return 0; }

    QString UsedRangeAddress(int Sheet) const override {
        TRange& R = Range(Sheet);
        if (R.R1 == INT_MAX) return QStringLiteral("$A$1");
        return AddressOf(R.R1, R.C1, R.R2, R.C2);
    }

    bool Value(int Sheet, int Row, int Col, QString& Text) const override {
        Select(Sheet);
        Text.clear();
        FreeXL_CellValue V{};
        if (Row < 1 || Col < 1 ||
            freexl_get_cell_value(FHandle, static_cast<unsigned>(Row - 1), static_cast<unsigned short>(Col - 1), &V) !=
                FREEXL_OK)
            return true;
        switch (V.type) {
            case FREEXL_CELL_INT: Text = QString::number(V.value.int_value); break;
            case FREEXL_CELL_DOUBLE: Text = FloatToStr(V.value.double_value); break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT: Text = QString::fromUtf8(V.value.text_value); break;
            case FREEXL_CELL_DATE: {
                QDate D = QDate::fromString(QString::fromLatin1(V.value.text_value), QStringLiteral("yyyy-MM-dd"));
                Text = D.isValid() ? DateToStr(EncodeDate(D.year(), D.month(), D.day()))
                                   : QString::fromLatin1(V.value.text_value);
                break;
            }
            case FREEXL_CELL_DATETIME: {
                QDateTime D = QDateTime::fromString(QString::fromLatin1(V.value.text_value),
                                                    QStringLiteral("yyyy-MM-dd hh:mm:ss"));
                Text = D.isValid() ? DateTimeToStr(EncodeDate(D.date().year(), D.date().month(), D.date().day()) +
                                                   EncodeTime(D.time().hour(), D.time().minute(), D.time().second(), 0))
                                   : QString::fromLatin1(V.value.text_value);
                break;
            }
            case FREEXL_CELL_TIME: {
                QTime T = QTime::fromString(QString::fromLatin1(V.value.text_value), QStringLiteral("hh:mm:ss"));
                Text = T.isValid() ? TimeToStr(EncodeTime(T.hour(), T.minute(), T.second(), 0))
                                   : QString::fromLatin1(V.value.text_value);
                break;
            }
            default: break;
        }
        return true;
    }

private:
    struct TRange {
        bool Known = false;
        int R1 = INT_MAX, C1 = INT_MAX, R2 = 0, C2 = 0;
    };

    void Select(int Sheet) const {
        if (Sheet < 0 || Sheet >= FNames.size()) throw Exception(QStringLiteral("No such worksheet"));
        if (Sheet == FSelected) return;
        if (freexl_select_active_worksheet(FHandle, static_cast<unsigned short>(Sheet)) != FREEXL_OK)
            throw Exception(QStringLiteral("Incorrect XLS file"));
        FSelected = Sheet;
    }

    TRange& Range(int Sheet) const {
        Select(Sheet);
        TRange& R = FRanges[static_cast<size_t>(Sheet)];
        if (R.Known) return R;
        unsigned Rows = 0;
        unsigned short Cols = 0;
        freexl_worksheet_dimensions(FHandle, &Rows, &Cols);
        // The legacy format states only how far a sheet reaches; the used area starts at the
        // first cell that holds something.
        for (unsigned Rw = 0; Rw < Rows; ++Rw)
            for (unsigned short C = 0; C < Cols; ++C) {
                FreeXL_CellValue V{};
                if (freexl_get_cell_value(FHandle, Rw, C, &V) != FREEXL_OK || V.type == FREEXL_CELL_NULL) continue;
                R.R1 = std::min<int>(R.R1, static_cast<int>(Rw) + 1);
                R.R2 = std::max<int>(R.R2, static_cast<int>(Rw) + 1);
                R.C1 = std::min<int>(R.C1, C + 1);
                R.C2 = std::max<int>(R.C2, C + 1);
            }
        R.Known = true;
        return R;
    }

    const void* FHandle = nullptr;
    QStringList FNames;
    mutable int FSelected = -1;
    mutable std::vector<TRange> FRanges;
};

} // namespace

std::unique_ptr<TWorkbook> TWorkbook::Open(const QString& FileName) {
    if (!FileExists(FileName)) throw Exception(QStringLiteral("The workbook %1 does not exist").arg(FileName));
    bool Cut = false;
    QByteArray Start = ReadFileBytes(FileName, 8, &Cut);
    if (Start.startsWith("PK\x03\x04")) {
        try {
            return std::make_unique<TXlsxBook>(ReadFileBytes(FileName));
        } catch (const Exception& E) {
            throw Exception(QStringLiteral("Cannot read the workbook %1: %2").arg(FileName, E.Message()));
        }
    }
    if (Start.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"))) return std::make_unique<TXlsBook>(FileName);
    throw Exception(QStringLiteral("%1 is no spreadsheet workbook").arg(FileName));
}

// ---- writing workbooks ---------------------------------------------------------------------------

void WriteNewWorkbook(const QString& FileName, const TSheetBlock& Sheet) {
    if (Sheet.FirstRow < 1 || Sheet.FirstRow - 1 + static_cast<qint64>(Sheet.Rows.size()) > Max_Sheet_Rows)
        throw Exception(QStringLiteral("A worksheet holds at most %1 rows").arg(Max_Sheet_Rows));
    QTemporaryDir Dir;
    if (!Dir.isValid()) throw Exception(QStringLiteral("Cannot create a temporary folder for the workbook"));
    QByteArray Temp = QFile::encodeName(Dir.filePath(QStringLiteral("book.xlsx")));
    QByteArray TmpDir = QFile::encodeName(Dir.path());
    lxw_workbook_options Options{};
    Options.tmpdir = TmpDir.data();
    lxw_workbook* Book = workbook_new_opt(Temp.constData(), &Options);
    if (!Book) throw Exception(QStringLiteral("Cannot create the workbook %1").arg(FileName));
    QString Failure;
    QByteArray Name = Sheet.Name.toUtf8();
    if (!Sheet.Name.isEmpty() && workbook_validate_sheet_name(Book, Name.constData()) != LXW_NO_ERROR)
        Failure = QStringLiteral("%1 is no valid worksheet name").arg(Sheet.Name);
    lxw_worksheet* Ws =
        Failure.isEmpty() ? workbook_add_worksheet(Book, Sheet.Name.isEmpty() ? nullptr : Name.constData()) : nullptr;
    if (!Ws && Failure.isEmpty()) Failure = QStringLiteral("Cannot add the worksheet");
    for (size_t R = 0; Ws && R < Sheet.Rows.size() && Failure.isEmpty(); ++R) {
        const QStringList& Row = Sheet.Rows[R];
        if (Row.size() > Max_Sheet_Cols)
            Failure = QStringLiteral("A worksheet holds at most %1 columns").arg(Max_Sheet_Cols);
        for (int C = 0; C < Row.size() && Failure.isEmpty(); ++C) {
            if (Row[C].isEmpty()) continue;
            QByteArray Text = XmlSafe(Row[C]).toUtf8();
            lxw_error E = worksheet_write_string(Ws, static_cast<lxw_row_t>(Sheet.FirstRow - 1 + static_cast<int>(R)),
                                                 static_cast<lxw_col_t>(C), Text.constData(), nullptr);
            if (E != LXW_NO_ERROR)
                Failure = QStringLiteral("Cannot write cell %1: %2")
                              .arg(CellKeyText(Sheet.FirstRow + static_cast<int>(R), C + 1),
                                   QString::fromUtf8(lxw_strerror(E)));
        }
    }
    lxw_error Closed = workbook_close(Book);
    if (!Failure.isEmpty()) throw Exception(Failure);
    if (Closed != LXW_NO_ERROR)
        throw Exception(
            QStringLiteral("Cannot write the workbook %1: %2").arg(FileName, QString::fromUtf8(lxw_strerror(Closed))));
    WriteFileAtomic(FileName, ReadFileBytes(QFile::decodeName(Temp), LLONG_MAX));
}

namespace {

// The parts of a package to write back: the changed ones replace, the dropped ones go.
void Repack(const QString& FileName, const TZipReader& Zip, const QHash<QString, QByteArray>& Changed,
            const QSet<QString>& Dropped) {
    TZipWriter Out;
    QStringList Names = Zip.Names();
    // The content types part leads, as office applications write it.
    Names.removeAll(QStringLiteral("[Content_Types].xml"));
    Names.prepend(QStringLiteral("[Content_Types].xml"));
    QSet<QString> Written;
    for (const QString& N : Names) {
        if (Dropped.contains(N) || Written.contains(N)) continue;
        Written.insert(N);
        Out.Add(N, Changed.contains(N) ? Changed.value(N) : Zip.Read(N));
    }
    for (auto It = Changed.begin(); It != Changed.end(); ++It)
        if (!Written.contains(It.key())) Out.Add(It.key(), It.value());
    WriteFileAtomic(FileName, Out.Finish());
}

// Every row and cell of a sheet's data gets its explicit position, so that the block can be put
// in among them by number.
void NumberCells(pugi::xml_node SheetData) {
    int Row = 0;
    for (pugi::xml_node R : SheetData.children()) {
        if (R.type() != pugi::node_element || LocalName(R) != QLatin1String("row")) continue;
        int Given = R.attribute("r").as_int(0);
        Row = Given > Row ? Given : Row + 1;
        (R.attribute("r") ? R.attribute("r") : R.append_attribute("r")).set_value(Row);
        int Col = 0;
        for (pugi::xml_node C : R.children()) {
            if (C.type() != pugi::node_element || LocalName(C) != QLatin1String("c")) continue;
            int RR = 0, CC = 0;
            Col = SplitRef(Attr(C, "r"), RR, CC) && CC > Col ? CC : Col + 1;
            QByteArray Ref = CellKeyText(Row, Col).toUtf8();
            (C.attribute("r") ? C.attribute("r") : C.append_attribute("r")).set_value(Ref.constData());
        }
    }
}

int RowNumber(const pugi::xml_node& R) { return R.attribute("r").as_int(0); }
int CellColumn(const pugi::xml_node& C) {
    int R = 0, Col = 0;
    return SplitRef(Attr(C, "r"), R, Col) ? Col : 0;
}

void PatchSheet(pugi::xml_document& Doc, const TSheetBlock& Block) {
    pugi::xml_node Root = Doc.document_element();
    pugi::xml_node Data = Child(Root, "sheetData");
    if (!Data) throw Exception(QStringLiteral("The worksheet %1 has no cell data").arg(Block.Name));
    QByteArray P = PrefixOf(Data).toUtf8();
    NumberCells(Data);
    QSet<QString> BrokenShared;
    for (size_t I = 0; I < Block.Rows.size(); ++I) {
        int RowNo = Block.FirstRow + static_cast<int>(I);
        pugi::xml_node Row;
        pugi::xml_node After;
        for (pugi::xml_node R : Data.children()) {
            if (R.type() != pugi::node_element || LocalName(R) != QLatin1String("row")) continue;
            if (RowNumber(R) == RowNo) Row = R;
            if (RowNumber(R) < RowNo) After = R;
        }
        if (!Row) {
            Row = After ? Data.insert_child_after((P + "row").constData(), After)
                        : Data.prepend_child((P + "row").constData());
            Row.append_attribute("r").set_value(RowNo);
        }
        const QStringList& Texts = Block.Rows[I];
        for (int C = 0; C < Texts.size(); ++C) {
            int ColNo = C + 1;
            pugi::xml_node Cell, Before;
            for (pugi::xml_node X : Row.children()) {
                if (X.type() != pugi::node_element || LocalName(X) != QLatin1String("c")) continue;
                if (CellColumn(X) == ColNo) Cell = X;
                if (CellColumn(X) < ColNo) Before = X;
            }
            if (!Cell) {
                Cell = Before ? Row.insert_child_after((P + "c").constData(), Before)
                              : Row.prepend_child((P + "c").constData());
                Cell.append_attribute("r").set_value(CellKeyText(RowNo, ColNo).toUtf8().constData());
            }
            // A shared formula written over takes its followers' source with it.
            pugi::xml_node F = Child(Cell, "f");
            if (F && F.attribute("ref") && F.attribute("si")) BrokenShared.insert(Attr(F, "si"));
            while (Cell.first_child()) Cell.remove_child(Cell.first_child());
            Cell.remove_attribute("t");
            if (Texts[C].isEmpty()) continue;
            Cell.append_attribute("t").set_value("inlineStr");
            pugi::xml_node T = Cell.append_child((P + "is").constData()).append_child((P + "t").constData());
            T.append_attribute("xml:space").set_value("preserve");
            T.text().set(XmlSafe(Texts[C]).toUtf8().constData());
        }
    }
    // Cells that followed a written-over shared formula keep their last value.
    if (!BrokenShared.isEmpty())
        for (pugi::xml_node R : Data.children())
            for (pugi::xml_node C : R.children()) {
                pugi::xml_node F = Child(C, "f");
                if (F && Attr(F, "t") == QLatin1String("shared") && BrokenShared.contains(Attr(F, "si")))
                    C.remove_child(F);
            }
    // The stated extent covers the new block too.
    int R1 = INT_MAX, C1 = INT_MAX, R2 = 0, C2 = 0;
    for (pugi::xml_node R : Data.children())
        for (pugi::xml_node C : R.children()) {
            if (C.type() != pugi::node_element || LocalName(C) != QLatin1String("c")) continue;
            int Rr = RowNumber(R), Cc = CellColumn(C);
            R1 = std::min(R1, Rr), R2 = std::max(R2, Rr), C1 = std::min(C1, Cc), C2 = std::max(C2, Cc);
        }
    if (pugi::xml_node Dim = Child(Root, "dimension"); Dim && R2 > 0) {
        QString Ref = CellKeyText(R1, C1);
        if (R1 != R2 || C1 != C2) Ref += QLatin1Char(':') + CellKeyText(R2, C2);
        (Dim.attribute("ref") ? Dim.attribute("ref") : Dim.append_attribute("ref")).set_value(Ref.toUtf8().constData());
    }
}

} // namespace

namespace {

// Sheet names are at most 31 characters, hold none of []:*?/\, neither start nor end with an
// apostrophe and differ from the other sheets' names also in letter case.
void CheckNewSheetName(const QString& Name, const QStringList& Taken) {
    static const QString Forbidden = QStringLiteral("[]:*?/\\");
    bool Bad =
        Name.isEmpty() || Name.size() > 31 || Name.startsWith(QLatin1Char('\'')) || Name.endsWith(QLatin1Char('\''));
    for (QChar C : Name)
        if (Forbidden.contains(C) || C.unicode() < 0x20) Bad = true;
    if (Bad) throw Exception(QStringLiteral("%1 is no valid worksheet name").arg(Name));
    if (Taken.contains(Name, Qt::CaseInsensitive))
        throw Exception(QStringLiteral("The workbook already has a worksheet named like %1").arg(Name));
}

} // namespace

void WriteIntoWorkbook(const QString& FileName, const TSheetBlock& Block) {
    QByteArray Bytes = ReadFileBytes(FileName);
    if (!Bytes.startsWith("PK\x03\x04"))
        throw Exception(
            QStringLiteral("%1 is no .xlsx workbook: the grid writes only into .xlsx workbooks").arg(FileName));
    try {
        TZipReader Zip(Bytes);
        QHash<QString, QByteArray> Changed;
        QSet<QString> Dropped;
        pugi::xml_document Book, Rels, Types;
        LoadXml(Book, Zip.Read(QStringLiteral("xl/workbook.xml")), QStringLiteral("The workbook"));
        LoadXml(Rels, Zip.Read(QStringLiteral("xl/_rels/workbook.xml.rels")), QStringLiteral("The workbook"));
        LoadXml(Types, Zip.Read(QStringLiteral("[Content_Types].xml")), QStringLiteral("The workbook"));
        QHash<QString, QString> Targets;
        QSet<QString> Ids;
        pugi::xml_node RelRoot = Rels.document_element();
        for (pugi::xml_node R = RelRoot.first_child(); R;) {
            pugi::xml_node Next = R.next_sibling();
            if (R.type() == pugi::node_element) {
                // The calculation chain lists formula cells; the spreadsheet rebuilds it when missing.
                if (Attr(R, "Type").endsWith(QLatin1String("/calcChain"))) {
                    Dropped.insert(QStringLiteral("xl/") + Attr(R, "Target"));
                    RelRoot.remove_child(R);
                } else {
                    Ids.insert(Attr(R, "Id"));
                    QString T = Attr(R, "Target");
                    Targets.insert(Attr(R, "Id"),
                                   T.startsWith(QLatin1Char('/')) ? T.mid(1) : QStringLiteral("xl/") + T);
                }
            }
            R = Next;
        }
        Dropped.insert(QStringLiteral("xl/calcChain.xml"));
        pugi::xml_node Sheets = Child(Book.document_element(), "sheets");
        QString Part;
        QStringList Names;
        int MaxSheetId = 0;
        QString IdAttr = QStringLiteral("r:id");
        for (pugi::xml_node S : Sheets.children()) {
            if (S.type() != pugi::node_element) continue;
            MaxSheetId = std::max(MaxSheetId, S.attribute("sheetId").as_int());
            pugi::xml_attribute Id = AttrLocal(S, "id");
            if (Id) IdAttr = QString::fromUtf8(Id.name());
            QString Name = Attr(S, "name");
            if (Name == Block.Name) {
                Part = Targets.value(QString::fromUtf8(Id.value()));
                if (Part.isEmpty())
                    throw Exception(QStringLiteral("The worksheet %1 is missing from the workbook").arg(Name));
            }
            Names << Name;
        }
        pugi::xml_document Sheet;
        if (Part.isEmpty()) {
            // A spreadsheet refuses the whole workbook over one sheet name it does not accept.
            CheckNewSheetName(Block.Name, Names);
            int N = 1;
            while (Zip.Contains(QStringLiteral("xl/worksheets/sheet%1.xml").arg(N))) ++N;
            Part = QStringLiteral("xl/worksheets/sheet%1.xml").arg(N);
            int R = 1;
            while (Ids.contains(QStringLiteral("rId%1").arg(R))) ++R;
            QByteArray RelId = QStringLiteral("rId%1").arg(R).toUtf8();
            pugi::xml_node S = Sheets.append_child((PrefixOf(Sheets) + QStringLiteral("sheet")).toUtf8().constData());
            S.append_attribute("name").set_value(Block.Name.toUtf8().constData());
            S.append_attribute("sheetId").set_value(MaxSheetId + 1);
            S.append_attribute(IdAttr.toUtf8().constData()).set_value(RelId.constData());
            pugi::xml_node Rel =
                RelRoot.append_child((PrefixOf(RelRoot) + QStringLiteral("Relationship")).toUtf8().constData());
            Rel.append_attribute("Id").set_value(RelId.constData());
            Rel.append_attribute("Type").set_value(Rel_Worksheet);
            Rel.append_attribute("Target").set_value(
                QStringLiteral("worksheets/sheet%1.xml").arg(N).toUtf8().constData());
            pugi::xml_node TypesRoot = Types.document_element();
            pugi::xml_node O =
                TypesRoot.append_child((PrefixOf(TypesRoot) + QStringLiteral("Override")).toUtf8().constData());
            O.append_attribute("PartName").set_value(("/" + Part).toUtf8().constData());
            O.append_attribute("ContentType").set_value(Type_Worksheet);
            pugi::xml_node W = Sheet.append_child("worksheet");
            W.append_attribute("xmlns").set_value(Ns_Sheet);
            W.append_child("sheetData");
            Changed.insert(QStringLiteral("xl/workbook.xml"), SaveXml(Book));
        } else {
            LoadXml(Sheet, Zip.Read(Part), QStringLiteral("The worksheet %1").arg(Block.Name));
        }
        pugi::xml_node TypesRoot = Types.document_element();
        for (pugi::xml_node O = TypesRoot.first_child(); O;) {
            pugi::xml_node Next = O.next_sibling();
            if (O.type() == pugi::node_element && Attr(O, "PartName") == QLatin1String("/xl/calcChain.xml"))
                TypesRoot.remove_child(O);
            O = Next;
        }
        PatchSheet(Sheet, Block);
        Changed.insert(Part, SaveXml(Sheet));
        Changed.insert(QStringLiteral("xl/_rels/workbook.xml.rels"), SaveXml(Rels));
        Changed.insert(QStringLiteral("[Content_Types].xml"), SaveXml(Types));
        Repack(FileName, Zip, Changed, Dropped);
    } catch (const EInOutError&) {
        throw;
    } catch (const Exception& E) {
        throw Exception(QStringLiteral("Cannot write into the workbook %1: %2").arg(FileName, E.Message()));
    }
}

// ---- word-processor documents --------------------------------------------------------------------

namespace {

// Text as runs: line breaks and tabs become the document's own break and tab marks.
void AppendRuns(pugi::xml_node Para, const QByteArray& P, const QString& Text) {
    QString Clean = XmlSafe(Text);
    Clean.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Clean.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (Clean.isEmpty()) return;
    pugi::xml_node Run = Para.append_child((P + "r").constData());
    QStringList Lines = Clean.split(QLatin1Char('\n'));
    for (int L = 0; L < Lines.size(); ++L) {
        if (L > 0) Run.append_child((P + "br").constData());
        QStringList Parts = Lines[L].split(QLatin1Char('\t'));
        for (int I = 0; I < Parts.size(); ++I) {
            if (I > 0) Run.append_child((P + "tab").constData());
            if (Parts[I].isEmpty()) continue;
            pugi::xml_node T = Run.append_child((P + "t").constData());
            T.append_attribute("xml:space").set_value("preserve");
            T.text().set(Parts[I].toUtf8().constData());
        }
    }
}

pugi::xml_node MakeParagraph(pugi::xml_node Body, pugi::xml_node After, const QByteArray& P, const QString& Text) {
    pugi::xml_node Para =
        After ? Body.insert_child_after((P + "p").constData(), After) : Body.prepend_child((P + "p").constData());
    AppendRuns(Para, P, Text);
    return Para;
}

pugi::xml_node MakeTable(pugi::xml_node Body, pugi::xml_node After, const QByteArray& P, const TDocTable& Table) {
    pugi::xml_node Tbl =
        After ? Body.insert_child_after((P + "tbl").constData(), After) : Body.prepend_child((P + "tbl").constData());
    pugi::xml_node Pr = Tbl.append_child((P + "tblPr").constData());
    pugi::xml_node W = Pr.append_child((P + "tblW").constData());
    W.append_attribute((P + "w").constData()).set_value(0);
    W.append_attribute((P + "type").constData()).set_value("auto");
    // A new table shows its grid lines, as a word processor's plain inserted table does.
    pugi::xml_node Borders = Pr.append_child((P + "tblBorders").constData());
    for (const char* Side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
        pugi::xml_node B = Borders.append_child((P + Side).constData());
        B.append_attribute((P + "val").constData()).set_value("single");
        B.append_attribute((P + "sz").constData()).set_value(4);
        B.append_attribute((P + "space").constData()).set_value(0);
        B.append_attribute((P + "color").constData()).set_value("auto");
    }
    int Cols = 0;
    for (const QStringList& R : Table.Rows) Cols = std::max<int>(Cols, R.size());
    pugi::xml_node Grid = Tbl.append_child((P + "tblGrid").constData());
    for (int C = 0; C < Cols; ++C) Grid.append_child((P + "gridCol").constData());
    for (size_t R = 0; R < Table.Rows.size(); ++R) {
        pugi::xml_node Tr = Tbl.append_child((P + "tr").constData());
        for (int C = 0; C < Cols; ++C) {
            pugi::xml_node Tc = Tr.append_child((P + "tc").constData());
            pugi::xml_node TcW = Tc.append_child((P + "tcPr").constData()).append_child((P + "tcW").constData());
            TcW.append_attribute((P + "w").constData()).set_value(0);
            TcW.append_attribute((P + "type").constData()).set_value("auto");
            pugi::xml_node Para = Tc.append_child((P + "p").constData());
            TDocTable::TAlign A = R < Table.Align.size() && C < static_cast<int>(Table.Align[R].size())
                ? Table.Align[R][static_cast<size_t>(C)]
                : TDocTable::taLeft;
            if (A != TDocTable::taLeft) {
                pugi::xml_node Jc = Para.append_child((P + "pPr").constData()).append_child((P + "jc").constData());
                Jc.append_attribute((P + "val").constData()).set_value(A == TDocTable::taRight ? "right" : "center");
            }
            if (C < Table.Rows[R].size()) AppendRuns(Para, P, Table.Rows[R][C]);
        }
    }
    return Tbl;
}

QString RunsText(const pugi::xml_node& N) {
    QString S;
    for (pugi::xml_node X = N.first_child(); X; X = X.next_sibling()) {
        if (X.type() != pugi::node_element) continue;
        QString L = LocalName(X);
        if (L == QLatin1String("t"))
            S += QString::fromUtf8(X.text().get());
        else if (L == QLatin1String("br"))
            S += QLatin1Char('\n');
        else if (L == QLatin1String("tab"))
            S += QLatin1Char('\t');
        else
            S += RunsText(X);
    }
    return S;
}

pugi::xml_node BodyOf(pugi::xml_document& Doc, const QString& FileName) {
    pugi::xml_node Root = Doc.document_element();
    pugi::xml_node Body = Child(Root, "body");
    if (LocalName(Root) != QLatin1String("document") || !Body)
        throw Exception(QStringLiteral("%1 is no word-processor document").arg(FileName));
    return Body;
}

} // namespace

void WriteNewDocument(const QString& FileName, const QString& Text, const TDocTable& Table) {
    pugi::xml_document Doc;
    pugi::xml_node Decl = Doc.append_child(pugi::node_declaration);
    Decl.append_attribute("version").set_value("1.0");
    Decl.append_attribute("encoding").set_value("UTF-8");
    Decl.append_attribute("standalone").set_value("yes");
    pugi::xml_node Root = Doc.append_child("w:document");
    Root.append_attribute("xmlns:w").set_value(Ns_Word);
    pugi::xml_node Body = Root.append_child("w:body");
    // The text goes in at the start and the table at the document's start before it, followed
    // by the empty paragraph a document ends with.
    pugi::xml_node Tbl = MakeTable(Body, {}, "w:", Table);
    pugi::xml_node Para = MakeParagraph(Body, Tbl, "w:", Text);
    MakeParagraph(Body, Para, "w:", QString());
    TZipWriter Zip;
    Zip.Add(QStringLiteral("[Content_Types].xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
            "<Override PartName=\"/word/document.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
            "</Types>");
    Zip.Add(QStringLiteral("_rels/.rels"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
            "Target=\"word/document.xml\"/></Relationships>");
    Zip.Add(QStringLiteral("word/document.xml"), SaveXml(Doc));
    WriteFileAtomic(FileName, Zip.Finish());
}

void AppendToDocument(const QString& FileName, const QString& Text, const TDocTable& Table, const QString& Bookmark) {
    QByteArray Bytes = ReadFileBytes(FileName);
    try {
        TZipReader Zip(Bytes);
        pugi::xml_document Doc;
        LoadXml(Doc, Zip.Read(QStringLiteral("word/document.xml")), QStringLiteral("The document"));
        pugi::xml_node Body = BodyOf(Doc, FileName);
        QByteArray P = PrefixOf(Body).toUtf8();
        // The typed text lands where a freshly opened document has its cursor: at the start.
        MakeParagraph(Body, {}, P, Text);
        pugi::xml_node Place;
        if (!Bookmark.isEmpty()) {
            pugi::xml_node Mark = Body.find_node([&](pugi::xml_node N) {
                return N.type() == pugi::node_element && LocalName(N) == QLatin1String("bookmarkStart") &&
                    QString::fromUtf8(AttrLocal(N, "name").value()) == Bookmark;
            });
            // A table cannot stand inside a paragraph: it follows the body element holding the mark.
            for (pugi::xml_node N = Mark; N && N != Body; N = N.parent())
                if (N.parent() == Body) Place = N;
        }
        if (Place) {
            MakeTable(Body, Place, P, Table);
        } else {
            pugi::xml_node Last;
            for (pugi::xml_node N : Body.children())
                if (N.type() == pugi::node_element && LocalName(N) != QLatin1String("sectPr")) Last = N;
            pugi::xml_node Tbl = MakeTable(Body, Last, P, Table);
            MakeParagraph(Body, Tbl, P, QString());
        }
        QHash<QString, QByteArray> Changed;
        Changed.insert(QStringLiteral("word/document.xml"), SaveXml(Doc));
        Repack(FileName, Zip, Changed, {});
    } catch (const EInOutError&) {
        throw;
    } catch (const Exception& E) {
        throw Exception(QStringLiteral("Cannot append to the document %1: %2").arg(FileName, E.Message()));
    }
}

QStringList DocumentTexts(const QString& FileName) {
    TZipReader Zip(ReadFileBytes(FileName));
    pugi::xml_document Doc;
    LoadXml(Doc, Zip.Read(QStringLiteral("word/document.xml")), QStringLiteral("The document"));
    QStringList Out;
    for (pugi::xml_node N : BodyOf(Doc, FileName).children()) {
        if (N.type() != pugi::node_element) continue;
        QString L = LocalName(N);
        if (L == QLatin1String("p"))
            Out << RunsText(N);
        else if (L == QLatin1String("tbl"))
            for (pugi::xml_node Tr : N.children())
                for (pugi::xml_node Tc : Tr.children())
                    if (Tc.type() == pugi::node_element && LocalName(Tc) == QLatin1String("tc")) {
                        QStringList Paras;
                        for (pugi::xml_node Para : Tc.children())
                            if (LocalName(Para) == QLatin1String("p")) Paras << RunsText(Para);
                        Out << QStringLiteral("[cell]") + Paras.join(QLatin1Char('\n'));
                    }
    }
    return Out;
}

// ---- Access database queries ---------------------------------------------------------------------

namespace {

class TMdbRecords : public TRecordSource {
public:
    TMdbRecords(const QString& FileName, const QString& Query) {
        if (!QFileInfo(FileName).isFile())
            throw Exception(QStringLiteral("The database %1 does not exist").arg(FileName));
        FSql = mdb_sql_init();
        QByteArray Path = QFile::encodeName(FileName);
        if (!mdb_sql_open(FSql, Path.data())) {
            mdb_sql_exit(FSql);
            FSql = nullptr;
            throw Exception(QStringLiteral("Cannot open the database %1").arg(FileName));
        }
        QByteArray Q = Query.toUtf8();
        mdb_sql_run_query(FSql, Q.constData());
        if (mdb_sql_has_error(FSql) || !FSql->cur_table) {
            QString Why = QString::fromUtf8(mdb_sql_last_error(FSql));
            mdb_sql_exit(FSql);
            FSql = nullptr;
            throw Exception(QStringLiteral("The query failed: %1").arg(Why.isEmpty() ? Query : Why));
        }
        Fetch();
    }
    ~TMdbRecords() override {
        if (FSql) {
            mdb_sql_reset(FSql);
            mdb_sql_exit(FSql);
        }
    }
    int FieldCount() const override { return static_cast<int>(FSql->num_columns); }
    QString FieldName(int I) const override {
        auto* C = static_cast<MdbSQLColumn*>(g_ptr_array_index(FSql->columns, static_cast<guint>(I)));
        return QString::fromUtf8(C && C->name ? C->name : "");
    }
    // The engine counts the records only while they are read.
    int RecordCount() const override { return -1; }
    bool Eof() const override { return FEof; }
    QString FieldValue(int I, int& ActualSize) const override {
        const char* V = I >= 0 && static_cast<guint>(I) < FSql->bound_values->len
            ? static_cast<const char*>(g_ptr_array_index(FSql->bound_values, static_cast<guint>(I)))
            : nullptr;
        ActualSize = V ? static_cast<int>(qstrlen(V)) : 0;
        return QString::fromUtf8(V ? V : "");
    }
    void MoveNext() override { Fetch(); }

private:
    void Fetch() { FEof = !mdb_sql_fetch_row(FSql, FSql->cur_table); }
    MdbSQL* FSql = nullptr;
    bool FEof = true;
};

} // namespace

std::unique_ptr<TRecordSource> OpenAccessQuery(const QString& FileName, const QString& SQL) {
    return std::make_unique<TMdbRecords>(FileName, SQL);
}

} // namespace office

namespace office {

namespace {
int RowOrNone(const QString& S) {
    bool Ok = false;
    int N = S.toInt(&Ok);
    return Ok ? N : -1;
}
} // namespace

void ParseUsedRange(const QString& Address, int& FirstRow, int& LastRow, int& FirstCol, int& LastCol) {
    int Colon = Address.indexOf(QLatin1Char(':'));
    auto DropDollar = [](QString S) { return S.startsWith(QLatin1Char('$')) ? S.mid(1) : S; };
    auto Split = [](const QString& Part, int& Row, int& Col) {
        int D = Part.indexOf(QLatin1Char('$'));
        Col = ColumnFromLetters(Part.left(D));
        Row = RowOrNone(Part.mid(D + 1));
    };
    if (Colon >= 0) {
        QString A = DropDollar(Address.left(Colon));
        QString B = DropDollar(Address.mid(Colon + 1));
        if (!A.contains(QLatin1Char('$'))) {
            FirstRow = RowOrNone(A);
            LastRow = RowOrNone(B);
            FirstCol = 1;
            LastCol = 256;
            return;
        }
        Split(A, FirstRow, FirstCol);
        Split(B, LastRow, LastCol);
        return;
    }
    if (!Address.contains(QLatin1Char('$'))) {
        FirstRow = LastRow = FirstCol = LastCol = 1;
        return;
    }
    Split(DropDollar(Address), FirstRow, FirstCol);
    LastRow = FirstRow;
    LastCol = FirstCol;
}

} // namespace office
