// What the bouquet editing needs from the window that shows the bouquet tree:
// its boxes, its selection and its panels. The window implements it with its
// dialog interface and its tree view; tests implement it with a recorder.
#pragma once

#include "core/ListDocument.h"

#include <string>

namespace xantu {

class TEditHost {
  public:
    virtual ~TEditHost() = default;

    // A confirmation box with Yes and No; true only for Yes. `text` is UTF-8,
    // "\r" marks a line break.
    virtual bool Ask(const std::string& text) = 0;
    // A message box of the kind given, with its OK button.
    virtual void ShowMessage(TMsgKind kind, const std::string& text) = 0;
    virtual void SetModified(bool modified) = 0;

    // Makes "&Bouquets" the active page.
    virtual void ShowBouquetsPage() {}
    virtual void ClearSelection() {}
    // Clears the selection, selects `node` and gives it the focus.
    virtual void SelectOnly(PBNode /*node*/) {}
    // `node` and its ancestors had their Visible/Expanded flags set; the view
    // follows them and scrolls the node into sight.
    virtual void RevealNode(PBNode /*node*/) {}
    // Caption or picture of `node` changed.
    virtual void RepaintNode(PBNode /*node*/) {}
    // The info panels should show the first selected node again.
    virtual void RefreshInfo() {}
    virtual void CopyModeChanged(bool /*copyMode*/) {}
    // Undo or redo became possible or impossible.
    virtual void HistoryChanged() {}
    // A command is about to change many rows in one go, and is done with
    // them; no box is shown in between. A view may gather its updates.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};

} // namespace xantu
