// Section "Main" of the settings file: the window's placement, the width of
// the info columns, and the values below, each read at the first showing
// and written when the close is allowed. One table names every key with its
// default and where its value lives.
#include "mainwindow/Main.h"
#include "mainwindow/Texts.h"
#include "settings/FormStore.h"

#include <QDir>

namespace xantu {

namespace {

// One key of section "Main". A flag is stored as 0 or 1; its default is
// "1" or "0".
struct TMainKey {
    const char* Key;
    QString Default;
    bool Flag;
    QString (*Get)(TMain& main);
    void (*Set)(TMain& main, const QString& value);
};

QString FlagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

bool FlagOf(const QString& value) {
    return value != QStringLiteral("0");
}

// A box setting: a text field of TBoxSettings, its default the struct's own.
template <QString TBoxSettings::*Field>
TMainKey BoxText(const char* key, QString def = TBoxSettings{}.*Field) {
    return {key, def, false, [](TMain& m) { return m.BoxSettings().*Field; },
            [](TMain& m, const QString& v) {
                TBoxSettings s = m.BoxSettings();
                s.*Field = v;
                m.SetBoxSettings(s);
            }};
}

// A view filter flag of the document.
template <bool TListDocument::*Field> TMainKey FilterFlag(const char* key, bool def) {
    return {key, FlagText(def), true, [](TMain& m) { return FlagText(m.Doc().*Field); },
            [](TMain& m, const QString& v) { m.Doc().*Field = FlagOf(v); }};
}

const std::vector<TMainKey>& MainKeys() {
    static const std::vector<TMainKey> keys = {
        // The box's address as it comes from its maker.
        BoxText<&TBoxSettings::BoxIP>("BoxIP", QStringLiteral("192.168.0.100")),
        BoxText<&TBoxSettings::BoxUser>("BoxUser"),
        BoxText<&TBoxSettings::BoxPass>("BoxPass"),
        BoxText<&TBoxSettings::BoxBouqDir>("BoxBouqDir"),
        FilterFlag<&TListDocument::ShowTV>("ShowTV", true),
        FilterFlag<&TListDocument::ShowRadio>("ShowRadio", false),
        FilterFlag<&TListDocument::ShowSpezial>("ShowSpezial", false),
        {"LocalPath", QString(), false, [](TMain& m) { return m.LocalPath(); },
         [](TMain& m, const QString& v) { m.SetLocalPath(v); }},
        {"Info_ChannelWithoutService", FlagText(TBoxSettings{}.Info_ChannelWithoutService), true,
         [](TMain& m) { return FlagText(m.BoxSettings().Info_ChannelWithoutService); },
         [](TMain& m, const QString& v) {
             TBoxSettings s = m.BoxSettings();
             s.Info_ChannelWithoutService = FlagOf(v);
             m.SetBoxSettings(s);
         }},
    };
    return keys;
}

} // namespace

void TMain::BuildSettingsStore(const TMainOptions& options) {
    fstore_ = new TFormStore(this, QStringLiteral("Main"));
    // Both info columns share one width; each page keeps its own key.
    for (const char* key : {"BouquetRPanel.Width", "ServicesRPanel.Width"})
        fstore_->AddStoredInt(
            QString::fromLatin1(key), [this] { return InfoColumnWidth(); },
            [this](int w) { SetInfoColumnWidth(w); });
    fstore_->OnWriteFailed = [this](const QString& path) { SettingsWriteFailed(path); };
    fstore_->OnRestorePlacement = [this] { FStoreRestorePlacement(); };
    fstore_->OnSavePlacement = [this] { FStoreSavePlacement(); };
    fstore_->SetIniFileName(options.IniFileName.isEmpty() ? TFormStore::DefaultIniFileName()
                                                          : options.IniFileName);
}

void TMain::SetBoxSettings(const TBoxSettings& settings) {
    boxSettings_ = settings;
    doc_.Info_ChannelWithoutService = settings.Info_ChannelWithoutService;
}

void TMain::FStoreRestorePlacement() {
    for (const TMainKey& k : MainKeys()) {
        const QString key = QString::fromLatin1(k.Key);
        // A flag is whatever number the file holds, not zero meaning on.
        k.Set(*this, k.Flag ? FlagText(fstore_->ReadInt(key, k.Default.toInt()) != 0)
                            : fstore_->ReadString(key, k.Default));
    }
}

void TMain::FStoreSavePlacement() {
    for (const TMainKey& k : MainKeys()) {
        const QString key = QString::fromLatin1(k.Key);
        if (k.Flag)
            fstore_->WriteInt(key, k.Get(*this).toInt());
        else
            fstore_->WriteString(key, k.Get(*this));
    }
}

void TMain::SettingsWriteFailed(const QString& path) {
    dialogs_.Message(this, TMsgKind::Error,
                     QString::fromUtf8(mainwindow_texts::kSettingsNotWritten) +
                         QDir::toNativeSeparators(path));
}

} // namespace xantu
