#include "settings/FormStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>

namespace xantu {

TFormStore::TFormStore(QWidget* form, QString section)
    : QObject(form), form_(form), section_(std::move(section)) {}

TFormStore::~TFormStore() = default;

namespace {

QString BesideProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Settings.ini");
}

QString InConfigFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/XantuEditor/Settings.ini");
}

// Loads `path`, or when it does not exist yet the file it starts from.
void LoadWithFallback(TIniFile& ini, const QString& path) {
    if (QFileInfo::exists(path)) {
        ini.Load(path); // an unreadable file gives the defaults
        return;
    }
    const QString source = TFormStore::FallbackSourceFor(path);
    if (source.isEmpty() || !ini.Load(source))
        ini = TIniFile();
}

} // namespace

void TFormStore::SetIniFileName(const QString& path) {
    path_ = path;
    hasFile_ = !path_.isEmpty();
    ini_ = TIniFile();
    if (hasFile_)
        LoadWithFallback(ini_, path_); // a missing file gives the defaults
}

QString TFormStore::FallbackSourceFor(const QString& path) {
    const QString beside = BesideProgram();
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(InConfigFolder()).absoluteFilePath() &&
        QFileInfo(beside).absoluteFilePath() != QFileInfo(path).absoluteFilePath() &&
        QFileInfo::exists(beside))
        return beside;
    return {};
}

void TFormStore::AddStoredInt(const QString& key, std::function<int()> get, std::function<void(int)> set) {
    stored_.append({key, std::move(get), std::move(set)});
}

int TFormStore::ReadInt(const QString& key, int def) const {
    if (!hasFile_ || !ini_.Has(section_, key))
        return def;
    bool ok = false;
    const int v = ini_.Value(section_, key).trimmed().toInt(&ok);
    return ok ? v : def;
}

QString TFormStore::ReadString(const QString& key, const QString& def) const {
    if (!hasFile_ || !ini_.Has(section_, key))
        return def;
    return ini_.Value(section_, key);
}

void TFormStore::WriteInt(const QString& key, int value) {
    if (hasFile_)
        ini_.SetValue(section_, key, QString::number(value));
}

void TFormStore::WriteString(const QString& key, const QString& value) {
    if (hasFile_)
        ini_.SetValue(section_, key, value);
}

void TFormStore::RestoreOnFirstShow() {
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (!Active || !form_)
        return;
    if (hasFile_) {
        const QString pos = ReadString(QStringLiteral("NormPos"), QString());
        const QStringList parts = pos.split(QLatin1Char(','));
        if (parts.size() == 4) {
            bool ok[4];
            int v[4];
            for (int i = 0; i < 4; ++i)
                v[i] = parts[i].trimmed().toInt(&ok[i]);
            QRect r(QPoint(v[0], v[1]), QPoint(v[2] - 1, v[3] - 1));
            // Only a placement that is still on one of the screens is taken.
            bool onScreen = false;
            for (QScreen* s : QGuiApplication::screens())
                onScreen = onScreen || s->availableGeometry().intersects(r);
            if (ok[0] && ok[1] && ok[2] && ok[3] && r.width() > 0 && r.height() > 0 &&
                (onScreen || QGuiApplication::screens().isEmpty()))
                form_->setGeometry(r);
        }
        if (ReadInt(QStringLiteral("ShowCmd"), 1) == 3)
            form_->setWindowState(form_->windowState() | Qt::WindowMaximized);
        for (const Stored& s : stored_) {
            int v = ReadInt(s.key, INT_MIN);
            if (v != INT_MIN)
                s.set(v);
        }
    }
    restored_ = true;
    if (OnRestorePlacement)
        OnRestorePlacement();
}

void TFormStore::SaveIfAllowed() {
    if (!Active || !restored_ || !hasFile_ || !form_)
        return;
    const QRect r = form_->normalGeometry().isValid() ? form_->normalGeometry() : form_->geometry();
    WriteInt(QStringLiteral("Flags"), 0);
    WriteInt(QStringLiteral("ShowCmd"), form_->isMaximized() ? 3 : 1);
    WriteInt(QStringLiteral("PixelsPerInch"), form_->logicalDpiX());
    WriteString(QStringLiteral("MinMaxPos"), QStringLiteral("-1,-1,-1,-1"));
    WriteString(QStringLiteral("NormPos"), QStringLiteral("%1,%2,%3,%4")
                                               .arg(r.left())
                                               .arg(r.top())
                                               .arg(r.left() + r.width())
                                               .arg(r.top() + r.height()));
    WriteInt(QStringLiteral("FormVersion"), 0);
    for (const Stored& s : stored_)
        WriteInt(s.key, s.get());
    if (OnSavePlacement)
        OnSavePlacement();
    Sync();
}

void TFormStore::Sync() {
    TIniFile onDisk;
    LoadWithFallback(onDisk, path_);
    if (const TIniFile::Section* mine = ini_.Find(section_))
        onDisk.ReplaceSection(*mine);
    // The configuration folder may not exist yet; no other folder is made.
    if (QFileInfo(path_).absoluteFilePath() == QFileInfo(InConfigFolder()).absoluteFilePath())
        QDir().mkpath(QFileInfo(path_).absolutePath());
    if (onDisk.Save(path_))
        return;
    // Said once per file, however many windows keep a section in it.
    static QSet<QString> reported;
    if (!reported.contains(path_)) {
        reported.insert(path_);
        if (OnWriteFailed)
            OnWriteFailed(path_);
    }
}

QString TFormStore::DefaultIniFileName() {
    const QString besideProgram = BesideProgram();
    QFileInfo dir(QCoreApplication::applicationDirPath());
    QFileInfo file(besideProgram);
    if (file.exists() ? file.isWritable() && dir.isWritable() : dir.isWritable())
        return besideProgram;
    return InConfigFolder();
}

} // namespace xantu
