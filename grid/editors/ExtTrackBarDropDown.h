#pragma once
// A drop-down edit whose value is a whole number picked with a track bar in the popup; the edit
// shows the number. With typing switched off the arrow keys step the value and dragging the mouse
// across the edit moves it.
#include "grid/editors/ExtDropDown.h"
#include "platform/gui/ComCtrls.h"

class TExtTrackBarDropDown : public TExtCustomDropDown {
public:
    explicit TExtTrackBarDropDown(TComponent* AOwner);
    ~TExtTrackBarDropDown() override;

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    TTrackBar* TrackBar() const { return FTrackBar; }
    static constexpr int TrackBarHeight = 40;

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void PlaceControl() override;
    void SizeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void AfterDropUp() override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;

    TNotifyEvent OnTrackChange;

protected:
    void Change() override;
    void WMKeyDown(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void TrackChanged(TObject* Sender);
    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FPageSize = 2;
    int FFrequency = 1;
    TTrackBar* FTrackBar = nullptr;
    bool FMouseDraging = false;
    int FMouseX = 0;
};
