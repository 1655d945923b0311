// The SDO server window against the XML layer under it, in one run: showing a full table file
// (500 read and 500 write rows) into the window's empty grids takes at most 3x the table-file
// layer's own load of the same file (parse and every cell's text), and OK (check, then the file
// written whole from the grids) at most 3x that layer's own save of it. The bare XML document's
// parse and print of the file are measured beside them.
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
#include <malloc.h>
#include <memory>
#include <utility>

namespace {

QString Project;
// Untimed runs before a save is timed: the first saves of a run pay for growing the heap.
constexpr int Warm_Up = 5;

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

void BM_TableFileLoad(benchmark::State& State) {
    for (auto _ : State) {
        TTableFileData Data;
        const double T0 = ThreadSeconds();
        Read_Table_File(SDO_Server_CANopen_File_Desc(), File_SDO_Server_CANopen, Data);
        State.SetIterationTime(ThreadSeconds() - T0);
    }
}

void BM_TableFileSave(benchmark::State& State) {
    TTableFileData Data;
    Read_Table_File(SDO_Server_CANopen_File_Desc(), File_SDO_Server_CANopen, Data);
    const QString Out = Project + "/copy.xml";
    for (int i = 0; i < Warm_Up; ++i) Write_Table_File(SDO_Server_CANopen_File_Desc(), Data, Out);
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        Write_Table_File(SDO_Server_CANopen_File_Desc(), Data, Out);
        State.SetIterationTime(ThreadSeconds() - T0);
    }
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
    for (int i = 0; i < Warm_Up; ++i) Doc.SaveToFile(Out);
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        Doc.SaveToFile(Out);
        State.SetIterationTime(ThreadSeconds() - T0);
    }
}

std::unique_ptr<TFSet_SDO_Server_Access> Form;

void BM_WindowLoad(benchmark::State& State) {
    const QString File = File_SDO_Server_CANopen;
    for (auto _ : State) {
        // Each showing starts from empty grids, as the first showing of a project does.
        File_SDO_Server_CANopen = Project + "/none.xml";
        Form->FormShow(Form.get());
        File_SDO_Server_CANopen = File;
        const double T0 = ThreadSeconds();
        Form->FormShow(Form.get());
        State.SetIterationTime(ThreadSeconds() - T0);
    }
    if (Form->sgb()->Cells(1, SDO_Server_Rows).isEmpty()) State.SkipWithError("the table was not loaded");
}

void BM_WindowSave(benchmark::State& State) {
    Form->FormShow(Form.get());
    for (int i = 0; i < Warm_Up; ++i) Form->Btn_OK_Click(Form.get());
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
    // Each save builds and frees a few hundred kilobytes: left to its defaults, the C library
    // hands that memory back to the system after every run and takes it again, page by page, on
    // the next, which would time the kernel's page faults instead of the code, on either side.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir Dir;
    Project = Dir.path();
    Load_English_Strings();
    Project_Dir = Project;
    Set_Files();
    Write_Full_File();
    Form.reset(Create<TFSet_SDO_Server_Access>(nullptr));

    RegisterManualTimed({{"XmlLoad", BM_XmlLoad},
                         {"TableFileLoad", BM_TableFileLoad},
                         {"WindowLoad", BM_WindowLoad},
                         {"XmlSave", BM_XmlSave},
                         {"TableFileSave", BM_TableFileSave},
                         {"WindowSave", BM_WindowSave}},
                        10, 5);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    Form.reset();
    const double XL = Reporter.Time("XmlLoad"), TL = Reporter.Time("TableFileLoad"), WL = Reporter.Time("WindowLoad");
    const double XS = Reporter.Time("XmlSave"), TS = Reporter.Time("TableFileSave"), WS = Reporter.Time("WindowSave");
    std::printf("\nSDO server window, %d read + %d write rows\n", SDO_Server_Rows, SDO_Server_Rows);
    if (TL > 0 && WL > 0)
        std::printf("  load into the grids %8.2f ms vs table-file load %8.2f ms   ratio %.2f (goal <= 3)\n", WL, TL,
                    WL / TL);
    if (TS > 0 && WS > 0)
        std::printf("  save from the grids %8.2f ms vs table-file save %8.2f ms   ratio %.2f (goal <= 3)\n", WS, TS,
                    WS / TS);
    if (XL > 0 && XS > 0 && WL > 0 && WS > 0)
        std::printf("  (bare XML document: parse %.2f ms, print and write %.2f ms; ratios %.2f and %.2f)\n", XL, XS,
                    WL / XL, WS / XS);
    return 0;
}
