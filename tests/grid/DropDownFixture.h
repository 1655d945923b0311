#pragma once
// A form with one drop-down edit on it, shown headless, with the format settings pinned and a
// clock that stands still until the test moves it.
#include "grid/editors/ExtDropDown.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class TDropDownHost : public TForm {
public:
    explicit TDropDownHost(TComponent* AOwner) : TForm(AOwner) {}
    void CreateComponents() override {
        SetBounds(40, 40, 320, 160);
        Other = Create<TEdit>(this, this);
        Other->SetBounds(10, 100, 80, 21);
    }
    TEdit* Other = nullptr; // somewhere else for the focus to go
};

class DropDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSaved = FormatSettings;
        UseSeparators('.', ',');
        FClock = std::make_shared<TFakeClock>(QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
        FClock->Advance(100000);
        SetClock(FClock);
        Host.reset(Create<TDropDownHost>(nullptr));
        D = Create<TExtCustomDropDown>(Host.get(), Host.get());
        D->SetBounds(60, 20, 200, 21);
        Host->Show();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (D) {
            D->OnBeforeDropUp = nullptr;
            D->OnDropUp = nullptr;
            if (D->DroppedDown()) D->HideDropDown(true);
        }
        Host.reset();
        SetClock(nullptr);
        FormatSettings = FSaved;
    }

    static void UseSeparators(char Decimal, char Thousand) {
        FormatSettings.DecimalSeparator = QChar(Decimal);
        FormatSettings.ThousandSeparator = QChar(Thousand);
    }

    // Typing through the control's own key path.
    void Type(const QString& Text) {
        for (QChar C : Text) {
            Word VK = C.isLetterOrNumber() ? Word(C.toUpper().unicode()) : Word(0);
            D->SimulateKey(VK, C.isUpper() ? TShiftState{ssShift} : TShiftState{}, C);
        }
    }
    void Key(Word K, TShiftState Shift = {}) { D->SimulateKey(K, Shift); }
    QString Raw() const { return D->Native()->text(); }
    void Focus() {
        D->SetFocus();
        QApplication::processEvents();
    }
    // A left click at (X, Y) of a control, through its messages.
    static void Click(TControl* C, int X, int Y) {
        C->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
        C->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    }

    std::unique_ptr<TDropDownHost> Host;
    TExtCustomDropDown* D = nullptr;
    std::shared_ptr<TFakeClock> FClock;

private:
    TFormatSettings FSaved;
};
