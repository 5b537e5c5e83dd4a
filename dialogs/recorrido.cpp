#include "recorrido.h"

#include "medview.h"
#include "mvutil.h"

#include <QListWidget>
#include <QPushButton>

TformaRecorrido *formaRecorrido = nullptr;

TformaRecorrido::TformaRecorrido()
    : TChoiceListForm(QStringLiteral("Recorrido"), QRect(192, 107, 364, 228),
                      {QPoint(8, 16), "Recorrido:", QRect(8, 32, 249, 177), QRect(272, 40, 81, 25),
                       QRect(272, 80, 81, 25)}) {
    SetTabOrder({Button1, Button2, ListBox1});
}

// Line i stands for history entry i + 1; the newest is selected.
void TformaRecorrido::FormActivate() {
    QStringList topics;
    for (int entry = 1; entry <= HistoryCount; ++entry)
        topics << ansi::toQt(History[entry].Topic);
    ShowLines(topics, HistoryCount - 1);
}

// With nothing chosen nothing happens: a skip set here would swallow the next
// real visit.
void TformaRecorrido::Button1Click() {
    const int line = SelectedLine();
    if (line < 0)
        return;
    HistorySkip = true;
    const THistoriaRec &entry = History[line + 1];
    TitleView().GoToTopicPosition(entry.VA, entry.Scroll);
    close();
}
