#pragma once

#include "dialogform.h"

#include <QRect>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

// A dialog that lists entries under a label and goes to the chosen one with
// "&Ir a"; "&Cerrar" closes it.
class TChoiceListForm : public TDialogForm {
    Q_OBJECT

public:
    struct Layout {
        QPoint label;
        const char *labelText;
        QRect list;
        QRect goTo;
        QRect close;
    };

    TChoiceListForm(const QString &caption, const QRect &bounds, const Layout &layout);

    QLabel *Label1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // "&Ir a"
    QPushButton *Button2 = nullptr; // "&Cerrar"

    virtual void Button1Click() = 0;
    void Button2Click();

protected:
    // Replaces the list's lines and selects line `selected` when there is one.
    void ShowLines(const QStringList &lines, int selected);
    // The selected line, -1 for none.
    int SelectedLine() const;
};
