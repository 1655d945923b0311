#pragma once
// The about box: product name, software code, version and manual code, and the maker's web
// site. Its texts are fixed English: the language switch leaves it alone.

#include "app/LbButton.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

// The manual's code and the address the box shows for the maker's web site.
inline const QString Const_Doc_Code = QStringLiteral("DOC4180");
inline const QString Maker_Web_Address = QStringLiteral("www.velmora.com");

// The maker's home page, opened from the logo and the address: "HOME/default.asp?frompg=" and
// the software code below the maker's site.
QString Home_Page_URL();

class TFAbout : public TForm {
public:
    explicit TFAbout(TComponent* AOwner);

    void CreateComponents() override;

    TImage* Image2 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label4 = nullptr;
    TLbButton* LbButton1 = nullptr;

    void FormShow(TObject* Sender);
    void Label4Click(TObject* Sender);
};

extern TFAbout* FAbout;
