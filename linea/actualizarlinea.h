#pragma once

// LectorLinea's updates dialog, opened by "Ver actualizaciones": its text and
// address come from lines 9 to 16 of the title's line file, and a chosen
// title opens with its plain-caption tree (".arb").

#include "actualizar.h"
#include "lineas.h"

class TformaActualizacionLinea : public TformaActualizacion {
    Q_OBJECT

public:
    void FormCreate() override;
    void Button3Click() override;

protected:
    AnsiString UpdatesValue(int number) override;
    void OpenChosenTitle(const AnsiString &fileName) override;

private:
    TLineSettings settings_;
};
