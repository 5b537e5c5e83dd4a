#include "preferencias.h"

TformaPreferencias *formaPreferencias = nullptr;

TformaPreferencias::TformaPreferencias() : TDialogForm(QStringLiteral("Preferencias")) {}
