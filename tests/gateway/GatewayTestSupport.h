#pragma once
// Shared helpers of the gateway tests: a scratch project folder and the English texts the check
// messages are made of.
#include "app/ULanguage.h"
#include "gateway/TableChecks.h"
#include "platform/rtl/Files.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline QString English(int N) {
    static const QMap<int, QString> Texts = {
        {1427, "Error row %d!! Position Must be Between 0 and %d"},
        {2750, "Error row "},
        {2751, "!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
        {2752, "!! [SDO in Read] SubIndex must be between 0x00 and 0xFF"},
        {2753, "!! [SDO in Read] N Byte must be 1 or 2 or 4"},
        {2754, "!! [SDO in Read] Address Byte1 must be between 0 and "},
        {2755, "!! [SDO in Read] Address Byte2 must be between 0 and "},
        {2756, "!! [SDO in Read] Address Byte3 must be between 0 and "},
        {2757, "!! [SDO in Read] Address Byte4 must be between 0 and "},
        {2758, "!! [SDO in Write] Index must be between 0x2000 and 0x5FFF"},
        {2761, "!! [SDO in Write] Address Byte1 must be between 0 and "},
        {2660, "Error row "},
        {2661, "!! [SDO Read] Device ID must be between 1 and 127"},
        {2662, "!! [SDO Read] Index must be between 0x1000 and 0xFFFF"},
        {2665, "!! [SDO Read] Poll Time must be between 1 and 100000000"},
        {2670, "!! [SDO Write] Device ID must be between 1 and 127"},
        {2674, "!! [SDO Write] Poll Time must be between 0 and 100000000"},
        {2676, "!! [SDO Write] Address Byte2 must be between 0 and "},
        {2568, "Error row "},
        {2569, "!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
        {2570, "!! [Receive PDO] Dimension must be between 1 and 8"},
        {2573, "!! [Receive PDO] Address Byte3 must be between 0 and "},
        {2579, "!! [Receive PDO] TimeOut must be between 0 and 65535"},
        {2580, "!! [Transmit PDO] COB-ID must be between 0x000 and 0x7FF"},
        {2581, "!! [Transmit PDO] Dimension must be between 1 and 8"},
        {2590, "!! [Transmit PDO] Send Time must be between 0 and 100000000"},
    };
    // The texts written out above are the ones the tests quote; the others come from the program's
    // own English table.
    return Texts.value(N, English_Table().value(N));
}

class TScratchDir {
public:
    TScratchDir() { EXPECT_TRUE(FDir.isValid()); }
    QString Path(const QString& Name = QString()) const {
        return Name.isEmpty() ? FDir.path() : FDir.path() + "/" + Name;
    }
    void Write(const QString& Name, const QByteArray& Bytes) const {
        QFile F(Path(Name));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(Bytes);
    }
    QByteArray Read(const QString& Name) const {
        QFile F(Path(Name));
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }

private:
    QTemporaryDir FDir;
};

// A folder whose files cannot be replaced, made so that it also holds for root (which ignores
// permission bits): the target name is taken by a non-empty folder.
inline void Block_File(const QString& FileName) { QDir().mkpath(FileName + "/keep"); }
