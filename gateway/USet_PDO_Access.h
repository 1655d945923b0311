#pragma once
// Step 6: the CANopen process data objects, a receive table and a transmit table mapping each
// frame's data bytes onto the data arrays ("PDO_CANopen.xml").
#include "gateway/URuleTableForm.h"

class TFSet_PDO_Access : public TRuleTableForm {
public:
    explicit TFSet_PDO_Access(TComponent* AOwner);
    TExtColumnGrid* sga() const { return Grids[0]; }
    TExtColumnGrid* sgb() const { return Grids[1]; }
    TTabSheet* TS_Receive_PDO() const { return Tabs[0]; }
    TTabSheet* TS_Transmit_PDO() const { return Tabs[1]; }
};

extern TFSet_PDO_Access* FSet_PDO_Access;
