#pragma once
// Step 5: the SDO requests the gateway sends as an SDO client, a read table and a write table
// ("SDO_Client_CANopen.xml").
#include "gateway/URuleTableForm.h"

class TFSet_SDO_Client_Access : public TRuleTableForm {
public:
    explicit TFSet_SDO_Client_Access(TComponent* AOwner);
    TExtColumnGrid* sga() const { return Grids[0]; }
    TExtColumnGrid* sgb() const { return Grids[1]; }
    TTabSheet* TS_SDO_Read() const { return Tabs[0]; }
    TTabSheet* TS_SDO_Write() const { return Tabs[1]; }
};

extern TFSet_SDO_Client_Access* FSet_SDO_Client_Access;
