// Local open and save of the list pair, and the load sequence as the window
// runs it.
#include "core/FileIO.h"
#include "core/PairFiles.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainBox.h"
#include "mainwindow/PairPaths.h"
#include "mainwindow/SatPosList.h"
#include "mainwindow/Texts.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>

namespace xantu {

using namespace mainwindow_texts;

namespace {

QString T(const char* text) {
    return QString::fromUtf8(text);
}

std::string LocalFile(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Everything up to and including the last '/'.
QString FolderPart(const QString& file) {
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : file.left(slash + 1);
}

} // namespace

void TMain::BeginLoad() {
    loading_ = true;
    filterPending_ = false;
    // The trees were emptied: show that before the load's messages come up,
    // while painting stands still for the rebuild.
    VTB->viewport()->repaint();
    VTS->viewport()->repaint();
    VTB->setUpdatesEnabled(false);
    VTS->setUpdatesEnabled(false);
    vtbModel_.BeginBulk();
    vtsModel_.BeginBulk();
}

void TMain::EndLoad() {
    vtsModel_.SetCharset(doc_.NameCharset);
    vtbModel_.SetCharset(doc_.NameCharset);
    vtsModel_.EndBulk();
    vtbModel_.EndBulk();
    loading_ = false;
    // The services tree opens at its root; the bouquet tree as the filter
    // (or the reader, when the load stopped early) left it.
    if (PSNode root = doc_.VTS.GetFirst())
        VTS->setExpanded(vtsModel_.IndexOf(root), true);
    SyncBouquetView();
    VTS->setUpdatesEnabled(true);
    VTB->setUpdatesEnabled(true);
}

bool TMain::LoadListTexts(const std::string& servicesText, const std::string& bouquetsText) {
    BeginLoad();
    bool ok = false;
    try {
        ok = doc_.LoadListTexts(servicesText, bouquetsText);
    } catch (...) {
        EndLoad();
        throw;
    }
    EndLoad();
    return ok;
}

bool TMain::CheckListsPresent() {
    return doc_.CheckListsPresent();
}

bool TMain::ConfirmDiscardChanges() {
    return !modified_ || dialogs_.Confirm(this, T(kAskDiscard));
}

void TMain::MenuOpenClick() {
    if (box_->Transfer.Busy())
        return;
    if (!ConfirmDiscardChanges())
        return;
    MenuSatPosList->setVisible(false);
    TFileDialogSetup setup;
    setup.Title = T(kOpenTitle);
    setup.Filter = T(kXmlFilter);
    setup.Folder = localPath_;
    setup.FileName = QStringLiteral("bouquets");
    setup.DefaultSuffix = QStringLiteral("xml");
    setup.MustExist = true;
    const QString file = dialogs_.OpenFile(this, setup);
    if (file.isEmpty())
        return;
    const QString folder = FolderPart(file);
    const QString services = folder + QStringLiteral("services.xml");
    if (!QFileInfo::exists(services)) {
        dialogs_.Message(this, TMsgKind::Error, T(kNoServicesFile));
        ClearView();
        return;
    }
    localPath_ = folder;
    ClearView();
    SetStatus(kStatusOpening);
    std::string bouquetsText;
    std::string servicesText;
    std::string why;
    if (ReadListFile(LocalFile(file), bouquetsText, &why) != TReadFailure::None ||
        ReadListFile(LocalFile(services), servicesText, &why) != TReadFailure::None) {
        SetStatus(kStatusOpenFailed);
        dialogs_.Message(this, TMsgKind::Error, QString::fromUtf8(why));
        return;
    }
    SetStatus(kStatusRead);
    LoadListTexts(servicesText, bouquetsText);
}

void TMain::MenuSaveAsClick() {
    if (box_->Transfer.Busy())
        return;
    if (!CheckListsPresent())
        return;
    TFileDialogSetup setup;
    setup.Title = T(kSaveTitle);
    setup.Filter = T(kXmlFilter);
    setup.Folder = localPath_;
    setup.FileName = QStringLiteral("bouquets.xml");
    setup.DefaultSuffix = QStringLiteral("xml");
    QString file = dialogs_.SaveFile(this, setup);
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty() && !file.endsWith(QLatin1Char('.')))
        file += QStringLiteral(".xml");
    const QString folder = FolderPart(file);
    const QString services = folder + QStringLiteral("services.xml");
    // The services would overwrite the bouquets just written.
    if (NamesOneFile(file, services)) {
        dialogs_.Message(this, TMsgKind::Error, T(kBouquetsIsServices));
        return;
    }
    if ((QFileInfo::exists(file) || QFileInfo::exists(services)) && !dialogs_.Confirm(this, T(kAskOverwrite)))
        return;
    // The pair about to be replaced is kept first; a backup that fails does
    // not stop the save, it is only noted.
    const bool backedUp = box_->Backups.KeepExisting(TBackupStore::Local, {file, services});
    // The pair is read back before it is written and then written as one;
    // on any failure nothing changes and the lists stay marked as modified.
    try {
        SaveListPair(doc_, LocalFile(file), LocalFile(services));
    } catch (const std::exception& e) {
        dialogs_.Message(this, TMsgKind::Error, QString::fromUtf8(e.what()));
        return;
    }
    localPath_ = folder;
    SetModified(false);
    if (!backedUp)
        SetStatus(kStatusBackupFailed);
}

void TMain::MenuSatPosListClick() {
    TSatPosList dlg(doc_.SatPositions, this);
    dlg.exec();
}

} // namespace xantu
