// The SDO server window against the XML layer, in one run: showing a full table file (500 read and
// 500 write rows) into the window's grids takes at most 3x the XML document's own load of the
// same file, and OK (check, then the file written whole from the grids) at most 3x the document's
// own save of it.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "bench/support/TimesReporter.h"
#include "gateway/GatewayTables.h"
#include "gateway/USet_SDO_Server_Access.h"
#include "platform/xml/XMLDoc.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <utility>

namespace {

QString Project;

double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

// Every row a valid object of its own: (Index, SubIndex) pairs are never repeated.
void Write_Full_File() {
    TTableFileData Data;
    for (int t = 0; t < 2; ++t) {
        TTable Table;
        for (int r = 0; r < SDO_Server_Rows; ++r) {
            const int k = t * SDO_Server_Rows + r;
            Table.Rows << QStringList{"$" + QString::number(0x2000 + k / 256, 16),
                                      IntToStr(k % 256),
                                      "4",
                                      IntToStr(k % 1500),
                                      IntToStr((k + 1) % 1500),
                                      IntToStr((k + 2) % 1500),
                                      IntToStr((k + 3) % 1500),
                                      "Object number " + IntToStr(k)};
        }
        Data.Tables << Table;
    }
    Write_Table_File(SDO_Server_CANopen_File_Desc(), Data, File_SDO_Server_CANopen);
}

void BM_XmlLoad(benchmark::State& State) {
    for (auto _ : State) {
        TXMLDocument Doc;
        const double T0 = ThreadSeconds();
        Doc.SetActive(true);
        Doc.LoadFromFile(File_SDO_Server_CANopen);
        State.SetIterationTime(ThreadSeconds() - T0);
    }
}

void BM_XmlSave(benchmark::State& State) {
    TXMLDocument Doc;
    Doc.SetActive(true);
    Doc.LoadFromFile(File_SDO_Server_CANopen);
    const QString Out = Project + "/copy.xml";
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        Doc.SaveToFile(Out);
        State.SetIterationTime(ThreadSeconds() - T0);
    }
}

std::unique_ptr<TFSet_SDO_Server_Access> Form;

void BM_WindowLoad(benchmark::State& State) {
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        Form->FormShow(Form.get());
        State.SetIterationTime(ThreadSeconds() - T0);
    }
    if (Form->sgb()->Cells(1, SDO_Server_Rows).isEmpty()) State.SkipWithError("the table was not loaded");
}

void BM_WindowSave(benchmark::State& State) {
    Form->FormShow(Form.get());
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        Form->Btn_OK_Click(Form.get());
        State.SetIterationTime(ThreadSeconds() - T0);
        if (Form->ModalResult() != mrOk) State.SkipWithError("the check refused the table");
        Form->SetModalResult(mrNone);
    }
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir Dir;
    Project = Dir.path();
    Load_English_Strings();
    Project_Dir = Project;
    Set_Files();
    Write_Full_File();
    Form.reset(Create<TFSet_SDO_Server_Access>(nullptr));

    using TBench = void (*)(benchmark::State&);
    const std::pair<const char*, TBench> Benches[] = {
        {"XmlLoad", BM_XmlLoad}, {"WindowLoad", BM_WindowLoad}, {"XmlSave", BM_XmlSave}, {"WindowSave", BM_WindowSave}};
    for (auto [Name, Fn] : Benches)
        benchmark::RegisterBenchmark(Name, Fn)
            ->Iterations(3)
            ->Repetitions(5)
            ->DisplayAggregatesOnly(true)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    Form.reset();
    const double XL = Reporter.Time("XmlLoad"), WL = Reporter.Time("WindowLoad");
    const double XS = Reporter.Time("XmlSave"), WS = Reporter.Time("WindowSave");
    std::printf("\nSDO server window, %d read + %d write rows\n", SDO_Server_Rows, SDO_Server_Rows);
    if (XL > 0 && WL > 0)
        std::printf("  load into the grids %8.2f ms vs XML load %8.2f ms   ratio %.2f (goal <= 3)\n", WL, XL, WL / XL);
    if (XS > 0 && WS > 0)
        std::printf("  save from the grids %8.2f ms vs XML save %8.2f ms   ratio %.2f (goal <= 3)\n", WS, XS, WS / XS);
    return 0;
}
