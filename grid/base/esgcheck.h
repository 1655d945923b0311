#pragma once
// The base of the cell checkers (spell check, auto-correct) a grid can be given. It changes no
// text: plug-ins override the operations.
#include "platform/gui/Controls.h"

#include <QString>

class TExtStringGridCheck : public TComponent {
public:
    explicit TExtStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}

    bool GotoCell = false;
    bool AutoCorrect = false;
    bool AutoMarkError = false;
    bool UseCorrect = false;
    bool UseMarkError = false;

    virtual QString MarkError(int ACol, int ARow, const QString& s);
    virtual QString Correct(int ACol, int ARow, const QString& s);
    virtual void StartCheck();
    virtual void StopCheck();
};
