// The bouquet editing inside the main window: the editor with its undo
// history, the window's side of it (boxes, selection, panel), and the
// undo/redo items of "&Bearbeiten". A member of the window, tied to its
// controls by Attach once they are built.
#pragma once

#include "edit/BouquetEditor.h"

#include <QObject>
#include <functional>

class QAction;

namespace xantu {

class TMain;
class TSuchenDlg;

class TMainEditing : public QObject, public TEditHost {
    Q_OBJECT
  public:
    explicit TMainEditing(TMain& main);

    // Adds the undo items, the copy/move panel's click, the name fields'
    // undo rules and the drag checks to the window's controls.
    void Attach();

    TBouquetEditor Editor;
    QAction* MenuUndo = nullptr;
    QAction* MenuRedo = nullptr;
    // Shows the search dialog modally; tests answer it without showing.
    std::function<int(TSuchenDlg&)> ExecSearchDialog;

    bool Ask(const std::string& text) override;
    void ShowMessage(TMsgKind kind, const std::string& text) override;
    void SetModified(bool modified) override;
    void ShowBouquetsPage() override;
    void ClearSelection() override;
    void SelectOnly(PBNode node) override;
    void RevealNode(PBNode node) override;
    void RepaintNode(PBNode node) override;
    void RefreshInfo() override;
    void CopyModeChanged(bool copyMode) override;
    void HistoryChanged() override;
    void BeginBatch() override;
    void EndBatch() override;

    std::vector<PBNode> Selection() const;

  private:
    void AttachNameFields();
    TMain& main_;
};

} // namespace xantu
