// The text validators the editors run on addresses, ports, KNX addresses and SNMP texts.
#include "app/UComon.h"

#include <gtest/gtest.h>

namespace {

struct TSplitCase {
    const char* Text;
    bool Result;
    const char* A;
    const char* B;
    const char* C;
    const char* D;
};

TEST(Split_IP_Address, AcceptsDottedQuadsAndRejectsTheRest) {
    const TSplitCase Cases[] = {
        {"192.168.1.10", true, "192", "168", "1", "10"},
        {"10 . 0 . 0 . 1", true, "10", "0", "0", "1"},
        {"  0.0.0.0\t", true, "0", "0", "0", "0"},
        {"255.255.255.255", true, "255", "255", "255", "255"},
        {"$C0.168.1.1", true, "$C0", "168", "1", "1"}, // the system's integer syntax
        {"1.2.3.256", false, "1", "2", "3", "256"},
        {"1.2.3.4.5", false, "1", "2", "3", "4.5"},
        {"1.2.3.", false, "1", "2", "3", ""},
        {"a.b.c.d", false, "a", "b", "c", "d"},
        {"1.-1.3.4", false, "1", "-1", "3", "4"},
    };
    for (const TSplitCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        QString A, B, C, D;
        EXPECT_EQ(Split_IP_Address(Case.Text, A, B, C, D), Case.Result);
        EXPECT_EQ(A, Case.A);
        EXPECT_EQ(B, Case.B);
        EXPECT_EQ(C, Case.C);
        EXPECT_EQ(D, Case.D);
    }
}

TEST(Split_IP_Address, MissingDotLeavesTheLaterOutputsUntouched) {
    QString A = "x", B = "x", C = "x", D = "x";
    EXPECT_FALSE(Split_IP_Address("1.2.3", A, B, C, D));
    EXPECT_EQ(A, "1");
    EXPECT_EQ(B, "2");
    EXPECT_EQ(C, "x");
    EXPECT_EQ(D, "x");
    EXPECT_FALSE(Split_IP_Address("", A, B, C, D));
}

struct TBytesCase {
    const char* Text;
    bool Error;
    uint8_t Bytes[4];
};

TEST(IP_To_Bytes, ReportsErrorsAndZeroesTheBadOctets) {
    const TBytesCase Cases[] = {
        {"192.168.1.10", false, {192, 168, 1, 10}},
        {"0.0.0.0", false, {0, 0, 0, 0}},
        {"192.168.1.300", true, {192, 168, 1, 0}},
        {"300.1.2.3", true, {0, 1, 2, 3}},
        {"1.2.3", true, {1, 2, 0, 3}}, // a missing part is no octet
        {"1.2.3.4.5", true, {1, 2, 3, 0}},
        {"1.x.3.4", true, {1, 0, 3, 4}},
        {" 1.2.3.4", false, {1, 2, 3, 4}}, // leading blanks belong to the integer syntax
        {"1.2.3.4 ", true, {1, 2, 3, 0}}, // trailing ones do not
    };
    for (const TBytesCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        uint8_t B[4] = {99, 99, 99, 99};
        EXPECT_EQ(IP_To_Bytes(Case.Text, B[0], B[1], B[2], B[3]), Case.Error);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(B[i], Case.Bytes[i]) << "byte " << i + 1;
    }
}

TEST(IP_To_Bytes, EmptyTextIsAnErrorAndTouchesNothing) {
    uint8_t B[4] = {7, 7, 7, 7};
    EXPECT_TRUE(IP_To_Bytes("", B[0], B[1], B[2], B[3]));
    for (uint8_t b : B) EXPECT_EQ(b, 7);
}

struct TPortCase {
    const char* Text;
    bool Valid;
    uint8_t Bytes[4];
    uint16_t Port;
};

TEST(IP_Port_To_Bytes, AllOrNothing) {
    const TPortCase Cases[] = {
        {"192.168.1.10:502", true, {192, 168, 1, 10}, 502},
        {" 10 . 0 . 0 . 1 : 47808 ", true, {10, 0, 0, 1}, 47808},
        {"0.0.0.0:0", true, {0, 0, 0, 0}, 0},
        {"255.255.255.255:65535", true, {255, 255, 255, 255}, 65535},
        {"192.168.1.10", false, {0, 0, 0, 0}, 0},
        {"192.168.1.10:65536", false, {0, 0, 0, 0}, 0},
        {"192.168.1.10:", false, {0, 0, 0, 0}, 0},
        {"192.168.1.256:80", false, {0, 0, 0, 0}, 0},
        {"192.168.1:80", false, {0, 0, 0, 0}, 0},
        {"192.168.1.2.3:80", false, {0, 0, 0, 0}, 0},
        {"", false, {0, 0, 0, 0}, 0},
    };
    for (const TPortCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        uint8_t B[4] = {99, 99, 99, 99};
        uint16_t Port = 99;
        EXPECT_EQ(IP_Port_To_Bytes(Case.Text, B[0], B[1], B[2], B[3], Port), Case.Valid);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(B[i], Case.Bytes[i]) << "byte " << i + 1;
        EXPECT_EQ(Port, Case.Port);
    }
}

TEST(Has_No_Dot, LooksForAnyDot) {
    EXPECT_TRUE(Has_No_Dot("1/2/3"));
    EXPECT_TRUE(Has_No_Dot(""));
    EXPECT_FALSE(Has_No_Dot("1.1.1"));
    EXPECT_FALSE(Has_No_Dot("."));
}

struct TKNXCase {
    const char* Text;
    bool Group;
    bool AllowZero;
    int Result;
};

TEST(Check_KNX_Address, IndividualAndGroupAddresses) {
    const TKNXCase Cases[] = {
        // individual: area.line.device
        {"1.1.1", false, false, 0},
        {"15.15.255", false, false, 0},
        {" 1 . 2 . 3 ", false, false, 0},
        {"0.0.0", false, true, 0},
        {"0.0.0", false, false, 1},
        {"16.1.1", false, true, 1},
        {"1.16.1", false, true, 1},
        {"1.1.256", false, true, 1},
        {"1.1.1.1", false, true, 1},
        {"1.1", false, true, 1}, // two parts are no individual address
        {"1.1.", false, true, 1},
        {"1/1/1", false, true, 1},
        {"1.1/1", false, true, 1},
        {"4660", false, true, 0},
        {"0", false, true, 1},
        {"65536", false, true, 1},
        {"", false, true, 1},
        // group: main/middle/sub or main/sub
        {"31/7/255", true, false, 0},
        {"0/0/1", true, false, 0},
        {"0/0/0", true, true, 1}, // never valid, whatever AllowZero says
        {"32/0/1", true, false, 1},
        {"1/8/1", true, false, 1},
        {"1/1/256", true, false, 1},
        {"1/1/1/1", true, false, 1},
        {"31/2047", true, false, 0},
        {" 2 / 3 ", true, false, 0},
        {"0/0", true, false, 1},
        {"32/0", true, false, 1},
        {"1/2048", true, false, 1},
        {"4660", true, false, 0},
        {"70000", true, false, 1},
        {"1.1.1", true, false, 1},
        {"1/1.1", true, false, 1},
        {"a/b", true, false, 1},
    };
    for (const TKNXCase& Case : Cases) {
        SCOPED_TRACE(::testing::Message() << Case.Text << " group=" << Case.Group << " zero=" << Case.AllowZero);
        EXPECT_EQ(Check_KNX_Address(Case.Text, Case.Group, Case.AllowZero), Case.Result);
    }
}

TEST(Check_OID_Text, FirstFailingRuleDecides) {
    const QString Digits62 = QString("1.").repeated(31); // 62 characters
    const struct {
        QString Text;
        TOIDCheck Result;
    } Cases[] = {
        {"1.3.6.1.4.1", oidValid},
        {"0", oidValid},
        {"1.3.6.1.4294967295", oidValid},
        {"1.3.6.1.00004294967295", oidValid}, // leading zeros do not make an arc bigger
        {"1.3.6.1.4294967296", oidArcTooBig},
        {"99999999999999999999999.1", oidArcTooBig},
        {".1.3", oidLeadingDot},
        {"1.3.", oidTrailingDot},
        {"1..3", oidDoubleDot},
        {"1.3a.6", oidBadChar},
        {"1.3 .6", oidBadChar},
        {"-1.3", oidBadChar},
        {".", oidLeadingDot},
        {"", oidBadChar}, // an empty identifier is never valid
        {Digits62, oidTooLong},
        {Digits62.left(61), oidValid},
        {QString(62, 'a'), oidTooLong}, // the length rule comes first
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Text.toStdString());
        EXPECT_EQ(Check_OID_Text(Case.Text), Case.Result);
    }
}

TEST(Check_SNMPv3_Text, LengthThenCharacters) {
    const struct {
        const char* Text;
        bool UserName;
        TSNMPv3Check Result;
    } Cases[] = {
        {"abcd", true, snmpValid},
        {"abcd", false, snmpTooShort},
        {"abcdefgh", false, snmpValid},
        {"a", true, snmpValid},
        {"", true, snmpTooShort},
        {"", false, snmpTooShort},
        {"user_1", true, snmpBadChar},
        {"pass word", false, snmpBadChar},
        {"0123456789ABCDEF", true, snmpTooLong},
        {"0123456789ABCDE", true, snmpValid},
        {"_______________x", false, snmpTooLong},
        {" abc", true, snmpBadChar}, // not trimmed
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(::testing::Message() << '"' << Case.Text << "\" user=" << Case.UserName);
        EXPECT_EQ(Check_SNMPv3_Text(Case.Text, Case.UserName), Case.Result);
    }
    EXPECT_EQ(Check_SNMPv3_Text(QString::fromUtf8("caf\xc3\xa9"), true), snmpBadChar);
}

TEST(Get_Security_Level, TrimmedAndAnyCase) {
    const struct {
        const char* Text;
        TSecurityLevel Result;
    } Cases[] = {
        {"AUTH NOPRIV", slAuthNoPriv},
        {"auth nopriv", slAuthNoPriv},
        {"AUTH PRIV", slAuthPriv},
        {"  auth priv  ", slAuthPriv},
        {"", slEmpty},
        {"   ", slEmpty},
        {"NOAUTH NOPRIV", slNoAuth},
        {"NoAuth NoPriv", slNoAuth},
        {"AUTH  PRIV", slNoAuth},
        {"AUTHPRIV", slNoAuth},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        EXPECT_EQ(Get_Security_Level(Case.Text), Case.Result);
    }
}

} // namespace
