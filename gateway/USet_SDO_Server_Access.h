#pragma once
// Step 4: the objects the gateway offers as a CANopen SDO server, a read table and a write table
// mapping each object's value bytes onto the data arrays ("SDO_Server_CANopen.xml").
#include "gateway/URuleTableForm.h"

class TFSet_SDO_Server_Access : public TRuleTableForm {
public:
    explicit TFSet_SDO_Server_Access(TComponent* AOwner);
    TExtColumnGrid* sga() const { return Grids[0]; }
    TExtColumnGrid* sgb() const { return Grids[1]; }
    TTabSheet* TS_SDO_Read() const { return Tabs[0]; }
    TTabSheet* TS_SDO_Write() const { return Tabs[1]; }
};

extern TFSet_SDO_Server_Access* FSet_SDO_Server_Access;
