// The program: the application, every window of the configurator created once in a fixed order
// (the main window first, since its creation prepares what the others read), then the message
// loop until the main window closes.
#include "app/UAbout.h"
#include "app/UNew_Project.h"
#include "app/UOpenConf.h"
#include "app/UParGen.h"
#include "app/USoftOptions.h"
#include "app/UTessaroFirmWare.h"
#include "gateway/UBoot.h"
#include "gateway/UOPC_UA_Server_Access.h"
#include "gateway/USet_PDO_Access.h"
#include "gateway/USet_SDO_Client_Access.h"
#include "gateway/USet_SDO_Server_Access.h"
#include "grid/control/ExtGridUnit.h"
#include "platform/gui/Forms.h"

#include <exception>

int main(int argc, char** argv) {
    Application->Initialize(argc, argv);
    Application->SetMainFormOnTaskBar(true);
    GridUnitStartUp();
    ColumnGridUnitStartUp();
    // Every window is needed: one whose creation fails is reported and the program ends, rather
    // than running with a window missing behind one of its buttons.
    bool created = true;
    auto create = [&created](auto Create) {
        if (!created) return;
        try {
            Create();
        } catch (const std::exception& E) {
            Application->ShowException(E);
            created = false;
        }
    };
    create([] { Application->CreateForm(&FTessaroFirmWare); });
    create([] { Application->CreateForm(&FNew_Project); });
    create([] { Application->CreateForm(&FOpenConf); });
    create([] { Application->CreateForm(&FAbout); });
    create([] { Application->CreateForm(&FSoftOptions); });
    create([] { Application->CreateForm(&FParGen); });
    create([] { Application->CreateForm(&FOPC_UA_Server_Access); });
    create([] { Application->CreateForm(&FBoot); });
    // The other protocols' windows (access rules, frames, topics, network services) take their
    // places among these as they are built.
    create([] { Application->CreateForm(&FSet_PDO_Access); });
    create([] { Application->CreateForm(&FSet_SDO_Client_Access); });
    create([] { Application->CreateForm(&FSet_SDO_Server_Access); });
    if (!created) return 1;
    Application->Run();
    GridUnitShutdown();
    return 0;
}
