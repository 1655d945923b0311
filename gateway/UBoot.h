#pragma once
// The file half of the update dialog: the updater's command text and its parameter file
// "Ethernet_Update.xml" beside the executable. The dialog (TFBoot) reads its controls into
// TBootParams and calls these.

#include "platform/rtl/SysUtils.h"
#include <QString>

// Update options of the dialog's list.
enum { Update_Firmware_And_Configuration = 0, Update_Firmware = 1, Update_Configuration = 2 };

// The prefix followed by the four 3-character codes of the option (firmware write, firmware
// read-back, configuration write, configuration read-back); any other option leaves the prefix.
QString Update_Options(const QString& Prefix, int Option, bool ReadBack);

struct TBootParams {
    QString IP_Address;    // the four octet texts joined by "."
    int Option = 0;        // Update_Option_Index
    bool ReadBack = true;  // the read-back box
    QString Master_Dir;    // the firmware image is Master_Dir + "/SimQ4180.sim"
    QString Project_Dir;   // the images are Project_Dir + "/bin/bank1.bin" and "bank2.bin"
    // The address typed in the dialog with the shared options and folders (app/UComon.h).
    static TBootParams From_Globals(const QString& IP_Address);
};

// The parameter file's text (no XML declaration), as written.
QString Ethernet_Update_XML(const TBootParams& P);

// Writes App_Dir() + "Ethernet_Update.xml" whole, replacing an earlier one. When it cannot be
// written it raises EInOutError with the reason and removes an earlier file, so the updater is
// never started on an old parameter file.
void Compile_XML_Parameter_New_Boot(const TBootParams& P);
