// "Sicherung öffnen ...": puts a kept copy of the list pair back into the
// editor. The pair opens like a local open, but counts as changed: it is
// not what the box or the user's folder holds now until it is saved or sent.
#include "core/FileIO.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainBox.h"
#include "mainwindow/Texts.h"

#include <QAction>
#include <QFile>

namespace xantu {

using namespace mainwindow_texts;

namespace {

QString T(const char* text) {
    return QString::fromUtf8(text);
}

QString KindText(const QString& kind) {
    if (kind == QLatin1String(TBackupStore::Local))
        return T(kBackupLocal);
    if (kind == QLatin1String(TBackupStore::Fetched))
        return T(kBackupFetched);
    if (kind == QLatin1String(TBackupStore::Sent))
        return T(kBackupSent);
    if (kind == QLatin1String(TBackupStore::Box))
        return T(kBackupBox);
    return kind;
}

QString CountText(int n) {
    return n < 0 ? QStringLiteral("-") : QString::number(n);
}

} // namespace

void TMain::MenuOpenBackupClick() {
    if (box_->Transfer.Busy())
        return;
    if (!ConfirmDiscardChanges())
        return;
    const std::vector<TBackupStore::TInfo> backups = box_->Backups.List();
    if (backups.empty()) {
        dialogs_.Message(this, TMsgKind::Information, T(kNoBackups));
        return;
    }
    QList<TBackupRow> rows;
    for (const TBackupStore::TInfo& b : backups)
        rows.append({b.When.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), KindText(b.Kind),
                     CountText(b.Bouquets), CountText(b.Services)});
    const int chosen = dialogs_.ChooseBackup(this, rows);
    if (chosen < 0 || chosen >= int(backups.size()))
        return;
    const TBackupStore::TInfo& backup = backups[std::size_t(chosen)];
    if (!backup.Complete()) {
        dialogs_.Message(this, TMsgKind::Error, T(kBackupIncomplete));
        return;
    }
    MenuSatPosList->setVisible(false);
    ClearView();
    SetStatus(kStatusOpening);
    std::string bouquetsText;
    std::string servicesText;
    std::string why;
    if (ReadListFile(QFile::encodeName(backup.BouquetsFile).toStdString(), bouquetsText, &why) !=
            TReadFailure::None ||
        ReadListFile(QFile::encodeName(backup.ServicesFile).toStdString(), servicesText, &why) !=
            TReadFailure::None) {
        SetStatus(kStatusOpenFailed);
        dialogs_.Message(this, TMsgKind::Error, QString::fromUtf8(why));
        return;
    }
    SetStatus(kStatusRead);
    // Neither the box nor the user's folder holds this pair now: closing,
    // another open or a load asks before it is lost.
    if (LoadListTexts(servicesText, bouquetsText))
        SetModified(true);
}

} // namespace xantu
