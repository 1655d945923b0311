#pragma once
// What the fuzz targets share: a property check that stops the run with the input saved, a
// scratch folder of the process, and inputs that hold several files.
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// The start-up of a target that needs widgets: a headless application for the whole run.
#define FUZZ_HEADLESS_APPLICATION()                                                                                    \
    extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {                                                     \
        setenv("QT_QPA_PLATFORM", "offscreen", 1);                                                                     \
        new QApplication(*Argc, *Argv);                                                                                \
        return 0;                                                                                                      \
    }

// A broken property: prints what and where, then aborts so that libFuzzer keeps the input.
[[noreturn]] void Fuzz_Fail(const char* What, const char* File, int Line, const QString& Detail = QString());
#define FUZZ_CHECK(Cond, ...)                                                                                          \
    do {                                                                                                               \
        if (!(Cond)) Fuzz_Fail(#Cond, __FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__);                                  \
    } while (0)

// A folder of this process (in memory where the system has /dev/shm, so that the atomic writer's
// flushes cost nothing), emptied by Fuzz_Clear_Dir.
QString Fuzz_Dir();
void Fuzz_Clear_Dir();
// Writes Bytes as Fuzz_Dir()/Name (plain write: the input as it is) and returns the path.
QString Fuzz_Write(const QString& Name, const QByteArray& Bytes);

// The files of an input that stands for several: parts separated by a line "@@" ("\n@@\n").
// Always Count parts; missing ones are empty.
QList<QByteArray> Fuzz_Split(const QByteArray& Data, int Count);

inline QByteArray Fuzz_Bytes(const uint8_t* Data, size_t Size) {
    return QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size));
}

// A text that UTF-8 and UTF-16 both hold: no lone surrogate.
bool Fuzz_Well_Formed(const QString& Text);

// The value as a readable C-like literal, for the messages of failed checks.
QString Fuzz_Show(const QString& Text);
