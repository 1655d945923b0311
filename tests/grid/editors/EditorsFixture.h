#pragma once
// A form shown headless with somewhere else for the focus to go, the format settings pinned and
// a clock that stands still until the test moves it.
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

class TEditorsHost : public TForm {
public:
    explicit TEditorsHost(TComponent* AOwner) : TForm(AOwner) {}
    void CreateComponents() override {
        SetBounds(40, 40, 360, 200);
        Other = Create<TEdit>(this, this);
        Other->SetBounds(10, 150, 80, 21);
    }
    TEdit* Other = nullptr;
};

class EditorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSaved = FormatSettings;
        UseSeparators('.', ',');
        FormatSettings.DateSeparator = '/';
        FormatSettings.TimeSeparator = ':';
        FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        FormatSettings.LongTimeFormat = "hh:nn:ss";
        FClock = std::make_shared<TFakeClock>(QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
        SetClock(FClock);
        Host.reset(Create<TEditorsHost>(nullptr));
    }
    void TearDown() override {
        Host.reset();
        SetClock(nullptr);
        FormatSettings = FSaved;
    }
    void ShowHost() {
        Host->Show();
        QApplication::processEvents();
    }
    static void UseSeparators(char Decimal, char Thousand) {
        FormatSettings.DecimalSeparator = QChar(Decimal);
        FormatSettings.ThousandSeparator = QChar(Thousand);
    }
    // Typing through a control's own key path.
    static void Type(TControl* C, const QString& Text) {
        for (QChar Ch : Text) {
            Word VK = Ch.isLetterOrNumber() ? Word(Ch.toUpper().unicode()) : Word(0);
            C->SimulateKey(VK, Ch.isUpper() ? TShiftState{ssShift} : TShiftState{}, Ch);
        }
    }
    static void Press(TControl* C, int X, int Y) { C->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y)); }
    static void Release(TControl* C, int X, int Y) { C->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y)); }
    static void Click(TControl* C, int X, int Y) {
        Press(C, X, Y);
        Release(C, X, Y);
    }

    std::unique_ptr<TEditorsHost> Host;
    std::shared_ptr<TFakeClock> FClock;

private:
    TFormatSettings FSaved;
};
