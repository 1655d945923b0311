#pragma once
// The configurator's own settings file "Tessaro.xml" beside the executable: the last project,
// the last device address, the language and the four option flags.
//
//   <Conf_Settings>
//     <lastproj><projectname>...</projectname></lastproj>
//     <lastipadd><ipaddress>...</ipaddress></lastipadd>
//     <lastlang><language>...</language></lastlang>
//     <lastinternet><enable_internet>1|0</enable_internet><enable_update/>
//       <enable_jump_field_tables/><Double_Click_Auto_Size/></lastinternet>
//   </Conf_Settings>

#include <QString>

class TXMLDocument;

inline const QString Settings_File_Name = QStringLiteral("Tessaro.xml");

// App_Dir() + "Tessaro.xml".
QString Settings_File();

// Puts Project_Name, Last_IP_Address, Lang_Name and the four option flags at their
// missing-file defaults, and empties Project_Dir.
void Default_Settings();

// Takes the settings from the file into the globals. Without the file every value gets its
// default (Project_Dir emptied too). With it, the file is loaded into XML and each value is
// read from under the document's first node on its own, so a missing or unreadable element
// gives only its own default; texts are taken untrimmed and a flag is on exactly for "1".
// A file that cannot be parsed raises EXMLDocError (EInOutError when it cannot be read) with
// every value at its default, so the caller can report it and carry on.
void Load_Settings(TXMLDocument& XML);

// Writes the globals to the file whole, replacing it: XML is emptied first (whatever it held
// is discarded) and saved without an XML declaration. Raises EInOutError when the file cannot
// be written; the old file is then left as it was.
void Save_Settings(TXMLDocument& XML);
