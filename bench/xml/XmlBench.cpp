// Load and save of a 2,000-row table file through TXMLDocument against pugixml used directly on
// the same file. Both sides do the same work a table window does: the loader walks every row by
// position and reads every attribute into a QString; the saver builds the document from QString
// cells and serialises it. Prints wrapper / raw ratios at the end (goal: under 1.3, the file
// system's flush aside).
#include "bench/support/TimesReporter.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Rows = 2000;
const char* const Names[] = {"Device_ID",  "Index",      "SubIndex",   "NByte",      "Poll_Time",
                             "Address_B1", "Address_B2", "Address_B3", "Address_B4", "Mnemonic"};
constexpr int Cols = 10;
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi |
    pugi::parse_declaration | pugi::parse_doctype | pugi::parse_ws_pcdata_single;

struct TFixture {
    QTemporaryDir Dir;
    QString File;
    std::string FileUtf8;
    std::vector<std::vector<QString>> Cells;
    QStringList NameList;

    TFixture() {
        for (const char* N : Names) NameList.append(QString::fromLatin1(N));
        for (int r = 0; r < Rows; ++r) {
            std::vector<QString> Row;
            Row.push_back(QString::number(1 + r % 127));
            Row.push_back(QStringLiteral("$%1").arg(0x2000 + r, 4, 16, QChar('0')).toUpper());
            Row.push_back(QString::number(r % 256));
            Row.push_back(QString::number(1 + r % 4));
            Row.push_back(QString::number(100 + r));
            for (int b = 0; b < 4; ++b) Row.push_back(QString::number((r * 4 + b) % 1500));
            Row.push_back(QStringLiteral("Variable %1 \u00E9 <&>").arg(r));
            Cells.push_back(Row);
        }
        File = Dir.filePath("SDO_Client_CANopen.xml");
        FileUtf8 = File.toStdString();
        TXMLDocument Doc;
        Build(Doc);
        Doc.SaveToFile(File);
    }

    void Build(TXMLDocument& Doc) const {
        Doc.SetActive(true);
        Doc.ChildNodes().Clear();
        IXMLNode Root = Doc.AddChild("SDO_Client_CANopen");
        Doc.ChildNodes().Add(Doc.CreateNode("SW_VERSION = 1.000", ntComment));
        IXMLNode Section = Root.AddChild("SDO_Read");
        for (const auto& Row : Cells) {
            IXMLNode E = Section.AddChild("row");
            for (int c = 0; c < Cols; ++c) E.SetAttribute(NameList[c], Row[size_t(c)]);
        }
        Root.AddChild("SDO_Write");
    }

    void BuildRaw(pugi::xml_document& Doc) const {
        Doc.reset();
        pugi::xml_node Root = Doc.append_child("SDO_Client_CANopen");
        Doc.append_child(pugi::node_comment).set_value("SW_VERSION = 1.000");
        pugi::xml_node Section = Root.append_child("SDO_Read");
        for (const auto& Row : Cells) {
            pugi::xml_node E = Section.append_child("row");
            for (int c = 0; c < Cols; ++c) E.append_attribute(Names[c]).set_value(Row[size_t(c)].toUtf8().constData());
        }
        Root.append_child("SDO_Write");
    }
};

TFixture& Fixture() {
    static TFixture F;
    return F;
}

// The file into a document, nothing read from it.
void BM_Parse_Raw(benchmark::State& State) {
    TFixture& F = Fixture();
    for (auto _ : State) {
        pugi::xml_document Doc;
        if (!Doc.load_file(F.FileUtf8.c_str(), ParseOptions)) State.SkipWithError("load failed");
        benchmark::DoNotOptimize(Doc.first_child().internal_object());
    }
}

void BM_Parse_Wrapper(benchmark::State& State) {
    TFixture& F = Fixture();
    for (auto _ : State) {
        TXMLDocument Doc;
        Doc.LoadFromFile(F.File);
        benchmark::DoNotOptimize(Doc.DocumentElement());
    }
}

// The file into a document and every attribute of every row into a QString, as a reader does.
void BM_Load_Raw(benchmark::State& State) {
    TFixture& F = Fixture();
    for (auto _ : State) {
        pugi::xml_document Doc;
        if (!Doc.load_file(F.FileUtf8.c_str(), ParseOptions)) State.SkipWithError("load failed");
        pugi::xml_node Section = Doc.first_child().child("SDO_Read");
        qsizetype Total = 0;
        for (pugi::xml_node Row = Section.first_child(); Row; Row = Row.next_sibling())
            for (const char* N : Names) Total += QString::fromUtf8(Row.attribute(N).value()).size();
        benchmark::DoNotOptimize(Total);
    }
}

void BM_Load_Wrapper(benchmark::State& State) {
    TFixture& F = Fixture();
    for (auto _ : State) {
        TXMLDocument Doc;
        Doc.LoadFromFile(F.File);
        IXMLNode Section = Doc.DocumentElement().FindNode("SDO_Read");
        qsizetype Total = 0;
        for (int j = 0; j < Section.ChildNodes().Count(); ++j) {
            IXMLNode Row = Section.ChildNodes().Nodes(j);
            for (int c = 0; c < Cols; ++c) Total += Row.AttributeText(F.NameList[c]).size();
        }
        benchmark::DoNotOptimize(Total);
    }
}

// Building and serialising, without the file system.
void BM_Save_Raw(benchmark::State& State) {
    TFixture& F = Fixture();
    pugi::xml_document Doc;
    for (auto _ : State) {
        F.BuildRaw(Doc);
        struct W : pugi::xml_writer {
            std::string Out;
            void write(const void* D, size_t S) override { Out.append(static_cast<const char*>(D), S); }
        } Writer;
        Doc.save(Writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        benchmark::DoNotOptimize(Writer.Out.data());
    }
}

void BM_Save_Wrapper(benchmark::State& State) {
    TFixture& F = Fixture();
    TXMLDocument Doc;
    for (auto _ : State) {
        F.Build(Doc);
        QByteArray Out = Doc.SaveToBytes();
        benchmark::DoNotOptimize(Out.data());
    }
}

// The whole save to disk: pugixml's plain file write against the wrapper's whole-or-nothing
// write (temporary file, fsync, rename).
void BM_SaveFile_Raw(benchmark::State& State) {
    TFixture& F = Fixture();
    pugi::xml_document Doc;
    const std::string Out = F.Dir.filePath("raw_out.xml").toStdString();
    for (auto _ : State) {
        F.BuildRaw(Doc);
        if (!Doc.save_file(Out.c_str(), "", pugi::format_raw | pugi::format_no_declaration))
            State.SkipWithError("save failed");
    }
}

void BM_SaveFile_Wrapper(benchmark::State& State) {
    TFixture& F = Fixture();
    TXMLDocument Doc;
    const QString Out = F.Dir.filePath("wrapper_out.xml");
    for (auto _ : State) {
        F.Build(Doc);
        Doc.SaveToFile(Out);
    }
}

// Each figure is the median of a few repetitions: the machine's load varies.
constexpr int Repetitions = 5;
#define TABLE_BENCH(F)                                                                                                 \
    BENCHMARK(F)->Unit(benchmark::kMicrosecond)->Repetitions(Repetitions)->DisplayAggregatesOnly(true)
TABLE_BENCH(BM_Parse_Raw);
TABLE_BENCH(BM_Parse_Wrapper);
TABLE_BENCH(BM_Load_Raw);
TABLE_BENCH(BM_Load_Wrapper);
TABLE_BENCH(BM_Save_Raw);
TABLE_BENCH(BM_Save_Wrapper);
TABLE_BENCH(BM_SaveFile_Raw);
TABLE_BENCH(BM_SaveFile_Wrapper);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    auto T = [&](const std::string& Name) { return Reporter.Times.count(Name) ? Reporter.Times[Name] : 0.0; };
    std::printf("\nTXMLDocument / pugixml used directly, %d-row table file (medians of %d runs)\n", Rows, Repetitions);
    auto Line = [&](const char* Label, double Wrap, double Raw, const char* Note) {
        if (Wrap > 0 && Raw > 0)
            std::printf("  %-34s %9.1f us vs %9.1f us  ratio %.2f%s\n", Label, Wrap, Raw, Wrap / Raw, Note);
    };
    Line("parse only", T("BM_Parse_Wrapper"), T("BM_Parse_Raw"), "");
    Line("load (every attribute read)", T("BM_Load_Wrapper"), T("BM_Load_Raw"), "  (goal: under 1.30)");
    Line("save (build + serialise, no flush)", T("BM_Save_Wrapper"), T("BM_Save_Raw"), "  (goal: under 1.30)");
    Line("load + save, excluding the flush", T("BM_Load_Wrapper") + T("BM_Save_Wrapper"),
         T("BM_Load_Raw") + T("BM_Save_Raw"), "  (goal: under 1.30)");
    Line("save to the file", T("BM_SaveFile_Wrapper"), T("BM_SaveFile_Raw"), "");
    std::printf("  The file save beyond the serialising is the wrapper's whole-or-nothing write (temporary\n"
                "  file, fsync, rename) against pugixml's plain write, which a crash can leave half-written.\n");
    benchmark::Shutdown();
    return 0;
}
