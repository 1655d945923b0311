#pragma once
// The class library's date-time picker: a date field with a drop-down month calendar, or a time
// field, with an optional check box, a format string in the picker's own letters ("d", "M", "y",
// "H"/"h", "m", "s", "t"; empty: the locale's short date or long time) and change notifications.
#include "platform/gui/Controls.h"
#include "platform/rtl/SysUtils.h"

#include <QString>

class QDateTimeEdit;
class QCheckBox;

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

// The picker's own letters for a format of FormatDateTime ("dd/mm/yyyy", "hh:nn:ss").
QString PickerFormatFromDateFormat(const QString& Fmt);
QString PickerFormatFromTimeFormat(const QString& Fmt);

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind Value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode Value);
    // The value to the millisecond as the control holds it.
    virtual TDateTime DateTime() const;
    virtual void SetDateTime(TDateTime Value);
    TDateTime Date() const;
    void SetDate(TDateTime Value); // keeps the time of day
    TDateTime Time() const;
    void SetTime(TDateTime Value); // keeps the date
    QString Format() const { return FFormat; }
    void SetFormat(const QString& Value);
    // The earliest and latest value the field takes; 0 means no limit.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool Value);
    bool Checked() const;
    void SetChecked(bool Value);
    bool DroppedDown() const;
    void DropDown(); // opens the month calendar (date kind only)
    void CloseUp();
    // The text the field shows.
    QString DisplayText() const;
    QDateTimeEdit* Native() const { return FEdit; }
    // Left and Right move between the fields, as the classic picker does.
    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    // The control's value changed (typed, stepped, picked or checked); NoDate: the check box was
    // cleared. The default fires OnChange.
    virtual void DateTimeChanged(bool NoDate);
    virtual void Change();
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void resizeEvent(QResizeEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    void ApplyFormat();
    void ApplyRange();
    void Place();
    QDateTimeEdit* FEdit;
    QCheckBox* FCheck = nullptr;
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    QString FFormat;
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FShowCheckbox = false;
    bool FSetting = false;
    // While the calendar is open: the value it opened on, and whether a date was picked.
    QWidget* FPopup = nullptr;
    TDateTime FDropValue = 0;
    bool FPicked = false;
};
