// While a load from the box or a send to it runs, the window keeps serving
// its events (the transfer waits inside them), but the lists must stand
// still: a send has already taken their texts, and a load is about to
// replace them. Every command and field that changes them is disabled, and
// their handlers refuse as well, for the keys that reach them directly.
#include "editui/PanelCopyMove.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"

#include <QAction>

namespace xantu {

void TMain::SetListsLocked(bool locked) {
    listsLocked_ = locked;
    for (QAction* a : {MenuNewBouquet, MenuNewBouquet2, BttnNewBouquet, MenuDeleteSelection,
                       MenuDeleteSelection2, BttnDeleteSelection, MenuCopyMove})
        a->setEnabled(!locked);
    PanelCopyMove->setEnabled(!locked);
    VTB->setDragEnabled(!locked);
    VTB->setAcceptDrops(!locked);
    BouquetRPanel->SetEditable(!locked);
    editing_.HistoryChanged(); // undo and redo follow the lock
    if (!locked)
        ShowBouquetSelection(true); // the channel name field: not for "andere"
}

} // namespace xantu
