#include "app/USettings.h"

#include "app/UComon.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

#include <functional>

namespace {

// One value read on its own: whatever goes wrong with its element leaves only it at its default.
void Guarded(const std::function<void()>& Read) {
    try {
        Read();
    } catch (const Exception&) {}
}

// The text of Group/Item under Root; raises when either element is missing.
QString Item_Text(const IXMLNode& Root, const QString& Group, const QString& Item) {
    const IXMLNode G = Root.FindNode(Group);
    if (G.IsNull()) throw EXMLDocError(QStringLiteral("Element \"%1\" missing").arg(Group));
    const IXMLNode I = G.FindNode(Item);
    if (I.IsNull()) throw EXMLDocError(QStringLiteral("Element \"%1\" missing").arg(Item));
    return I.Text();
}

QString Flag_Text(bool Value) { return Value ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace

QString Settings_File() { return App_Dir() + Settings_File_Name; }

void Default_Settings() {
    Project_Name.clear();
    Project_Dir.clear();
    Last_IP_Address = Default_IP_Address;
    Lang_Name = Default_Lang_Name;
    Opt_Enable_Internet = false;
    Opt_Enable_Update = false;
    Opt_Enable_Jump_Field_Tables = false;
    Opt_Double_Click_Auto_Size = false;
}

void Load_Settings(TXMLDocument& XML) {
    Default_Settings();
    const QString FileName = Settings_File();
    if (!FileExists(FileName)) return;
    XML.LoadFromFile(FileName);

    // The first node is taken as the root whatever its name; a file that opens with a
    // declaration or a comment therefore has none of the elements below it.
    const IXMLNode Root = XML.DocumentElement();
    if (Root.IsNull() || Root.NodeType() != ntElement) return;

    Guarded([&] { Project_Name = Item_Text(Root, "lastproj", "projectname"); });
    Guarded([&] { Last_IP_Address = Item_Text(Root, "lastipadd", "ipaddress"); });
    Guarded([&] { Lang_Name = Item_Text(Root, "lastlang", "language"); });
    const IXMLNode Flags = Root.FindNode("lastinternet");
    if (Flags.IsNull()) return;
    const auto Flag = [&](const QString& Item, bool& Value) {
        Guarded([&] {
            const IXMLNode Node = Flags.FindNode(Item);
            Value = !Node.IsNull() && Node.Text() == QLatin1String("1");
        });
    };
    Flag("enable_internet", Opt_Enable_Internet);
    Flag("enable_update", Opt_Enable_Update);
    Flag("enable_jump_field_tables", Opt_Enable_Jump_Field_Tables);
    Flag("Double_Click_Auto_Size", Opt_Double_Click_Auto_Size);
}

void Save_Settings(TXMLDocument& XML) {
    // The document is also lent out as scratch to the file generators: nothing they left in
    // it, the declaration switch included, belongs in this file.
    XML.Clear();
    XML.SetWriteDeclaration(false);
    IXMLNode Root = XML.AddChild("Conf_Settings");
    Root.AddChild("lastproj").AddChild("projectname").SetText(Project_Name);
    Root.AddChild("lastipadd").AddChild("ipaddress").SetText(Last_IP_Address);
    Root.AddChild("lastlang").AddChild("language").SetText(Lang_Name);
    IXMLNode Flags = Root.AddChild("lastinternet");
    Flags.AddChild("enable_internet").SetText(Flag_Text(Opt_Enable_Internet));
    Flags.AddChild("enable_update").SetText(Flag_Text(Opt_Enable_Update));
    Flags.AddChild("enable_jump_field_tables").SetText(Flag_Text(Opt_Enable_Jump_Field_Tables));
    Flags.AddChild("Double_Click_Auto_Size").SetText(Flag_Text(Opt_Double_Click_Auto_Size));
    XML.SaveToFile(Settings_File());
}
