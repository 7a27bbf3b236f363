#include "core/ListDocument.h"

namespace xantu {

const char* MsgKindCaption(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Warning:
        return "Warnung";
    case TMsgKind::Error:
        return "Fehler";
    case TMsgKind::Information:
        return "Information";
    case TMsgKind::Confirmation:
        break;
    }
    return "Best\xC3\xA4tigung";
}

std::string UnlinkedEntryMessage(const TUnlinkedEntry& entry) {
    return "Der Channel :\"" + entry.Channel + "\"\rim Bouquet \"" + entry.Bouquet +
           "\" hat keinen g\xC3\xBCltigen Service!\"";
}

void TListHost::ReportChannelsWithoutService(const std::vector<TUnlinkedEntry>& entries) {
    for (const TUnlinkedEntry& e : entries)
        ShowMessage(TMsgKind::Information, UnlinkedEntryMessage(e));
}

TListDocument::TListDocument(TListHost* host) : host_(host ? host : &silent_) {}

TListDocument::~TListDocument() {
    Clear();
}

void TListDocument::SetHost(TListHost* host) {
    host_ = host ? host : &silent_;
}

void TListDocument::Clear() {
    VTB.Clear();
    VTS.Clear();
    CountAll = CountTV = CountRadio = 0;
}

void TListDocument::SetBoxType(uint8_t type) {
    BoxType = type;
    if (type == BoxSat)
        host_->SetSatBoxLabels();
    else if (type == BoxCable)
        host_->SetCableBoxLabels();
}

PSNode TListDocument::AddServiceNode(PSNode parent, std::unique_ptr<TBasicSNode> node) {
    return VTS.AddChild(parent, std::move(node));
}

PBNode TListDocument::AddBouquetNode(PBNode parent, std::unique_ptr<TBasicBNode> node) {
    return VTB.AddChild(parent, std::move(node));
}

PBNode TListDocument::ReservedBouquet() const {
    // The reserved bouquet is a child of the root; no need to walk entries.
    for (std::size_t t = 0; t < VTB.TopCount(); ++t) {
        PBNode top = VTB.Top(t);
        if (top->Data() && top->Data()->Kind == BKindBouquet && top->Data()->Reserved)
            return top;
        for (std::size_t i = 0; i < top->ChildCount(); ++i) {
            PBNode n = top->Child(i);
            if (n->Data() && n->Data()->Kind == BKindBouquet && n->Data()->Reserved)
                return n;
        }
    }
    return nullptr;
}

void TListDocument::ApplyViewFilter() {
    // Fold everything away but the root, so the bouquets show, and set each
    // linked entry's visibility by the class of its service.
    PBNode root = VTB.GetFirst();
    if (root) {
        VTB.ForEach([&](PBNode n) {
            n->Expanded = n == root;
            TBasicBNode* d = n->Data();
            if (n == root || !d || d->Kind != BKindChannel || !d->Channel || !d->Channel->Service)
                return;
            switch (ClassOfServiceType(d->Channel->Service->ServiceType)) {
            case ServiceClass::TV:
                n->Visible = ShowTV;
                break;
            case ServiceClass::Radio:
                n->Visible = ShowRadio;
                break;
            case ServiceClass::Special:
                n->Visible = ShowSpezial;
                break;
            }
        });
    }
    host_->ViewFilterApplied();
}

void TListDocument::DecideNameCharset() {
    bool utf8 = true;
    auto check = [&utf8](const std::string& s) {
        if (utf8 && !IsValidUtf8(s))
            utf8 = false;
    };
    VTS.ForEach([&](PSNode n) {
        if (const TBasicSNode* d = n->Data()) {
            check(d->Caption);
            if (d->Sat)
                check(d->Sat->Name);
            if (d->Channel)
                check(d->Channel->Name);
        }
    });
    VTB.ForEach([&](PBNode n) {
        if (const TBasicBNode* d = n->Data()) {
            check(d->Caption);
            if (d->Bouquet)
                check(d->Bouquet->Name);
            if (d->Channel)
                check(d->Channel->Name);
        }
    });
    NameCharset = utf8 ? TNameCharset::Utf8 : TNameCharset::Cp1252;
}

bool TListDocument::LoadListTexts(std::string_view servicesText, std::string_view bouquetsText) {
    loadFailed_ = true;
    try {
        LoadServices(servicesText);
        LoadBouquets(bouquetsText);
        DecideNameCharset(); // before the first message that names an entry
        FillAndere();
        LinkChannels();
        DefaultChannelNumbers();
        RefreshTsids();
        if (BoxType == BoxSat) {
            host_->SetSatPosListVisible(true);
            ApplySatPositions();
        }
        ApplyViewFilter();
        host_->SetModified(false);
        host_->SetStatus("XML Struktur geladen");
        loadFailed_ = false;
        return true;
    } catch (const std::bad_alloc&) {
        DecideNameCharset();
        host_->SetStatus("Formatfehler der XML-Dateien");
        host_->ShowMessage(TMsgKind::Error, "Nicht gen\xC3\xBCgend Arbeitsspeicher");
    } catch (const std::exception& e) {
        DecideNameCharset();
        host_->SetStatus("Formatfehler der XML-Dateien");
        host_->ShowMessage(TMsgKind::Error, e.what());
    }
    return false;
}

bool TListDocument::CheckListsPresent() {
    // A services list that named neither satellites nor cable networks has
    // no line format the box could read back; saving it is refused like an
    // empty list.
    // Trees that a failed load left half-built would be saved as if they were
    // the whole lists.
    if (loadFailed_) {
        host_->ShowMessage(TMsgKind::Error, "Die Listen wurden nicht vollst\xC3\xA4ndig geladen; Speichern "
                                            "w\xC3\xBCrde Daten verlieren.\rDie Aktion wird abgebrochen ...");
        return false;
    }
    if (VTB.TotalCount() > 0 && VTS.TotalCount() > 0 && BoxType != BoxNone)
        return true;
    host_->ShowMessage(TMsgKind::Error,
                       "Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ...");
    return false;
}

} // namespace xantu
