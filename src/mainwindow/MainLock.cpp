// While a load from the box or a send to it runs, the window keeps serving
// its events (the transfer waits inside them), but the lists must stand
// still: a send has already taken their texts, and a load is about to
// replace them. Every command and field that changes them is disabled, and
// their handlers refuse as well, for the keys that reach them directly.
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainArrange.h"
#include "mainwindow/MainEditing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace xantu {

void TMain::SetListsLocked(bool locked) {
    listsLocked_ = locked;
    for (QAction* a : {MenuNewBouquet, MenuNewBouquet2, BttnNewBouquet, MenuDeleteSelection,
                       MenuDeleteSelection2, BttnDeleteSelection, MenuCopyMove})
        a->setEnabled(!locked);
    // The panel's purple text is set for every state; disabled it greys
    // like the rest.
    QPalette pal = PanelCopyMove->palette();
    pal.setColor(QPalette::Disabled, QPalette::WindowText,
                 QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    PanelCopyMove->setPalette(pal);
    PanelCopyMove->setEnabled(!locked);
    VTB->setDragEnabled(!locked);
    VTB->setAcceptDrops(!locked);
    TBouquetInfo* p = BouquetRPanel;
    p->EBBouquetName->setEnabled(!locked);
    p->EBBouquetHidden->setEnabled(!locked);
    p->EBBouquetLocked->setEnabled(!locked);
    p->EBChannelName->setEnabled(!locked);
    if (TMainEditing* e = EditingOf(*this))
        e->HistoryChanged(); // undo and redo follow the lock
    if (TMainArrange* arrange = ArrangeOf(*this))
        arrange->SetLocked(locked);
    if (!locked)
        ShowBouquetSelection(true); // the channel name field: not for "andere"
}

} // namespace xantu
