#include "platform/gui/DateTimePicker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {
const QDateTime Epoch(QDate(1899, 12, 30), QTime(0, 0));

QDateTime ToQt(TDateTime V) {
    const double Days = std::floor(V);
    const int64_t Ms = std::llround((V - Days) * 86400000.0);
    return QDateTime(Epoch.date().addDays(int64_t(Days)), QTime(0, 0)).addMSecs(Ms);
}

TDateTime FromQt(const QDateTime& D) {
    const double Days = double(Epoch.date().daysTo(D.date()));
    return Days + D.time().msecsSinceStartOfDay() / 86400000.0;
}
} // namespace

QString PickerFormatFromDateFormat(const QString& Fmt) {
    QString R = Fmt;
    R.replace(QLatin1Char('m'), QLatin1Char('M'));
    R.replace(QLatin1Char('D'), QLatin1Char('d'));
    R.replace(QLatin1Char('Y'), QLatin1Char('y'));
    return R;
}

QString PickerFormatFromTimeFormat(const QString& Fmt) {
    QString R;
    for (QChar C : Fmt) {
        if (C == QLatin1Char('h') || C == QLatin1Char('H'))
            R += QLatin1Char('H');
        else if (C == QLatin1Char('n') || C == QLatin1Char('N'))
            R += QLatin1Char('m');
        else
            R += C;
    }
    return R;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), FEdit(new QDateTimeEdit()) {
    SetNativeWidget(FEdit);
    SetTabStop(true);
    SetColor(clWindow);
    FEdit->setCalendarPopup(true);
    ApplyRange();
    FEdit->setDateTime(ToQt(Now()));
    QObject::connect(FEdit, &QDateTimeEdit::dateTimeChanged, FEdit, [this](const QDateTime&) {
        if (FSetting) return;
        TControl::Guard(this, [this] { DateTimeChanged(false); });
    });
    ApplyFormat();
    SetBounds(0, 0, 186, 21);
}

TDateTimePicker::~TDateTimePicker() = default;

void TDateTimePicker::SetKind(TDateTimeKind Value) {
    FKind = Value;
    FEdit->setCalendarPopup(Value == dtkDate && FDateMode == dmComboBox);
    ApplyFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
    FDateMode = Value;
    FEdit->setCalendarPopup(FKind == dtkDate && Value == dmComboBox);
}

TDateTime TDateTimePicker::DateTime() const { return FromQt(FEdit->dateTime()); }

void TDateTimePicker::SetDateTime(TDateTime Value) {
    const QDateTime V = ToQt(Value);
    if (V == FEdit->dateTime()) return;
    FSetting = true;
    FEdit->setDateTime(V);
    FSetting = false;
}

TDateTime TDateTimePicker::Date() const { return std::floor(DateTime()); }

void TDateTimePicker::SetDate(TDateTime Value) {
    const TDateTime D = DateTime();
    SetDateTime(std::floor(Value) + (D - std::floor(D)));
}

TDateTime TDateTimePicker::Time() const {
    const TDateTime D = DateTime();
    return D - std::floor(D);
}

void TDateTimePicker::SetTime(TDateTime Value) { SetDateTime(Date() + (Value - std::floor(Value))); }

void TDateTimePicker::SetFormat(const QString& Value) {
    FFormat = Value;
    ApplyFormat();
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
    FMinDate = Value;
    ApplyRange();
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
    FMaxDate = Value;
    ApplyRange();
}

void TDateTimePicker::ApplyRange() {
    const QDateTime Lowest(QDate(100, 1, 1), QTime(0, 0));
    const QDateTime Highest(QDate(9999, 12, 31), QTime(23, 59, 59));
    const QDateTime Min = FMinDate != 0 ? std::max(ToQt(FMinDate), Lowest) : Lowest;
    const QDateTime Max = FMaxDate != 0 ? std::min(ToQt(FMaxDate), Highest) : Highest;
    // A value moved into the range by the field is no change of the user's.
    FSetting = true;
    FEdit->setDateTimeRange(Min, std::max(Min, Max));
    FSetting = false;
}

void TDateTimePicker::ApplyFormat() {
    QString F = FFormat;
    if (F.isEmpty())
        F = FKind == dtkDate ? PickerFormatFromDateFormat(FormatSettings.ShortDateFormat)
                             : PickerFormatFromTimeFormat(FormatSettings.LongTimeFormat);
    F.replace(QStringLiteral("tt"), QStringLiteral("AP"));
    FEdit->setDisplayFormat(F);
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
    FShowCheckbox = Value;
    if (Value && !FCheck) {
        FCheck = new QCheckBox(this);
        FCheck->setChecked(true);
        QObject::connect(FCheck, &QCheckBox::toggled, FCheck, [this](bool On) {
            FEdit->setEnabled(On);
            TControl::Guard(this, [this, On] { DateTimeChanged(!On); });
        });
    }
    if (FCheck) FCheck->setVisible(Value);
    Place();
}

bool TDateTimePicker::Checked() const { return !FCheck || !FShowCheckbox || FCheck->isChecked(); }

void TDateTimePicker::SetChecked(bool Value) {
    if (!FCheck) SetShowCheckbox(FShowCheckbox);
    if (FCheck) {
        FSetting = true;
        FCheck->setChecked(Value);
        FEdit->setEnabled(Value || !FShowCheckbox);
        FSetting = false;
    }
}

bool TDateTimePicker::DroppedDown() const {
    return FEdit->calendarPopup() && FEdit->calendarWidget() && FEdit->calendarWidget()->isVisible();
}

void TDateTimePicker::DropDown() {
    if (!FEdit->calendarPopup() || DroppedDown()) return;
    if (OnDropDown) OnDropDown(this);
    // The field's own calendar popup, shown below the field (above it when the screen ends).
    QCalendarWidget* Cal = FEdit->calendarWidget();
    Cal->setSelectedDate(FEdit->date());
    QWidget* Popup = Cal->window();
    if (FPopup != Popup) {
        FPopup = Popup;
        Popup->installEventFilter(this);
        QObject::connect(Cal, &QCalendarWidget::activated, this, [this](QDate) { FPicked = true; });
        QObject::connect(Cal, &QCalendarWidget::clicked, this, [this](QDate) { FPicked = true; });
    }
    FDropValue = DateTime();
    FPicked = false;
    Popup->adjustSize();
    QPoint At = mapToGlobal(QPoint(0, height()));
    if (QScreen* Sc = screen()) {
        const QRect Avail = Sc->availableGeometry();
        if (At.y() + Popup->height() > Avail.bottom()) At.setY(mapToGlobal(QPoint(0, 0)).y() - Popup->height());
        At.setX(std::clamp(At.x(), Avail.left(), std::max(Avail.left(), Avail.right() - Popup->width())));
    }
    Popup->move(At);
    Popup->show();
}

bool TDateTimePicker::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == FPopup && E->type() == QEvent::Hide) {
        // Closed without a pick (Escape, a click outside): the value it opened on comes back,
        // whatever browsing the calendar did to the field meanwhile. A pick is reported after the
        // popup hides, so the check waits for the event loop.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!FPicked && DateTime() != FDropValue) FEdit->setDateTime(ToQt(FDropValue));
                FPicked = false;
                TControl::Guard(this, [this] {
                    if (OnCloseUp) OnCloseUp(this);
                });
            },
            Qt::QueuedConnection);
        return false;
    }
    return TWinControl::eventFilter(Watched, E);
}

void TDateTimePicker::CloseUp() {
    if (!DroppedDown()) return;
    FEdit->calendarWidget()->window()->hide();
}

QString TDateTimePicker::DisplayText() const { return FEdit->text(); }

void TDateTimePicker::DateTimeChanged(bool) { Change(); }

void TDateTimePicker::Change() {
    if (OnChange) OnChange(this);
}

void TDateTimePicker::Place() {
    const int Box = FCheck && FShowCheckbox ? 18 : 0;
    if (FCheck) FCheck->setGeometry(2, (height() - 16) / 2, 16, 16);
    FEdit->setGeometry(Box, 0, std::max(0, width() - Box), height());
}

void TDateTimePicker::resizeEvent(QResizeEvent* E) {
    TWinControl::resizeEvent(E);
    Place();
}

void TDateTimePicker::WndProc(TMessage& M) {
    if (M.Msg == WM_KEYDOWN || M.Msg == WM_SYSKEYDOWN) {
        // Alt+Down and F4 open the calendar, as they do on the classic picker.
        const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
        const Word K = Word(M.WParam);
        if (FEdit->calendarPopup() && ((K == VK_DOWN && Shift.Contains(ssAlt)) || (K == VK_F4 && Shift.Empty()))) {
            Word Key = K;
            KeyDown(Key, Shift);
            if (Key != 0) DropDown();
            return;
        }
    }
    if (M.Msg == WM_KEYDOWN && (Word(M.WParam) == VK_RIGHT || Word(M.WParam) == VK_LEFT)) {
        Word Key = Word(M.WParam);
        KeyDown(Key, TShiftState::FromBits(uint32_t(M.LParam)));
        if (Key == 0) return;
        const int N = FEdit->sectionCount();
        const int I = FEdit->currentSectionIndex() + (Key == VK_RIGHT ? 1 : -1);
        if (N > 0 && I >= 0 && I < N) FEdit->setCurrentSectionIndex(I);
        return;
    }
    TWinControl::WndProc(M);
}
