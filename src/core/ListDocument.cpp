#include "core/ListDocument.h"

#include "core/FileIO.h"
#include "core/Texts.h"
#include "listfiles/BouquetsFile.h"
#include "listfiles/ServicesFile.h"
#include "text/VisibleText.h"

namespace xantu {

const char* MsgKindCaption(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Warning:
        return core_texts::CaptionWarning;
    case TMsgKind::Error:
        return core_texts::CaptionError;
    case TMsgKind::Information:
        return core_texts::CaptionInformation;
    case TMsgKind::Confirmation:
        break;
    }
    return core_texts::CaptionConfirmation;
}

std::string UnlinkedEntryMessage(const TUnlinkedEntry& entry) {
    return core_texts::UnlinkedBefore + entry.Channel + core_texts::UnlinkedMiddle + entry.Bouquet +
           core_texts::UnlinkedAfter;
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
    index_.Clear();
    indexValid_ = false;
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

TServiceIndex& TListDocument::Index() const {
    if (!indexValid_ || indexedNodes_ != VTS.TotalCount()) {
        index_.Build(VTS);
        indexValid_ = true;
        indexedNodes_ = VTS.TotalCount();
    }
    return index_;
}

PSNode TListDocument::FindService(const TChannel& entry) const {
    PSNode hit = Index().Find(entry);
    // A service whose identifiers were changed after it was indexed no
    // longer answers for its old key: the index is built anew.
    if (hit && !Matches(entry, *hit->Data()->Channel)) {
        indexValid_ = false;
        hit = Index().Find(entry);
    }
    return hit;
}

PSNode TListDocument::AddServiceNode(PSNode parent, std::unique_ptr<TBasicSNode> node) {
    indexValid_ = false;
    return VTS.AddChild(parent, std::move(node));
}

PBNode TListDocument::AddBouquetNode(PBNode parent, std::unique_ptr<TBasicBNode> node) {
    return VTB.AddChild(parent, std::move(node));
}

PBNode TListDocument::ReservedBouquet() const {
    return xantu::ReservedBouquet(VTB);
}

void TListDocument::LoadServices(std::string_view text) {
    BoxType = BoxNone;
    CountAll = CountTV = CountRadio = 0;
    indexValid_ = false;
    TServicesRead read;
    // What was read before a failure stays: the kind of box and the counts
    // describe the part of the tree that was built.
    auto take = [&] {
        SetBoxType(read.BoxType);
        CountAll = read.CountAll;
        CountTV = read.CountTV;
        CountRadio = read.CountRadio;
    };
    try {
        ReadServices(text, VTS, read, &index_);
    } catch (...) {
        take();
        throw;
    }
    take();
    indexValid_ = true;
    indexedNodes_ = VTS.TotalCount();
    servicesUtf8_ = read.NamesUtf8;
    host_->ShowCounters(CountAll, CountTV, CountRadio);
    host_->FillServicePool();
}

std::string TListDocument::SaveServices() const {
    return WriteServices(VTS, BoxType);
}

void TListDocument::DefaultChannelNumbers() {
    xantu::DefaultChannelNumbers(VTS);
}

void TListDocument::LoadBouquets(std::string_view text) {
    TBouquetsRead read;
    ReadBouquets(text, VTB, read);
    bouquetsUtf8_ = read.NamesUtf8;
}

void TListDocument::FillAndere() {
    xantu::FillAndere(VTB, VTS, Index());
}

void TListDocument::ReportUnlinked(const std::vector<PBNode>& entries) {
    if (!Info_ChannelWithoutService || entries.empty())
        return;
    std::vector<TUnlinkedEntry> shown;
    shown.reserve(entries.size());
    for (PBNode n : entries) {
        PBNode parent = n->Parent();
        const std::string_view bouquet =
            parent && parent->Data() ? parent->Data()->Caption.View() : std::string_view();
        shown.push_back({Display(bouquet), Display(n->Data()->Channel->Name)});
    }
    host_->ReportChannelsWithoutService(shown);
}

void TListDocument::LinkChannels() {
    ReportUnlinked(xantu::LinkChannels(VTB, Index()));
}

void TListDocument::RefreshTsids() {
    xantu::RefreshTsids(VTB);
}

std::string TListDocument::SaveBouquets() const {
    return WriteBouquets(VTB, BoxType);
}

void TListDocument::LoadSatPositions(const std::string& path) {
    SatPositions.clear();
    std::string text;
    std::string why;
    switch (ReadListFile(path, text, &why)) {
    case TReadFailure::None:
        break;
    case TReadFailure::Missing:
    case TReadFailure::Folder:
        // A folder where the list should be is as good as no list.
        if (path == ProgramFolder() + "satpositionen.xml")
            host_->ShowMessage(TMsgKind::Error, core_texts::PositionListMissing);
        else
            host_->ShowMessage(TMsgKind::Error, core_texts::OtherPositionListMissingBefore +
                                                    BytesAsUtf8(VisibleText(path)) +
                                                    core_texts::OtherPositionListMissingAfter);
        return;
    default:
        // Not a file that can be read (a FIFO, a device, too large): said
        // as such, and the program runs on without positions.
        host_->ShowMessage(TMsgKind::Error, BytesAsUtf8(why));
        return;
    }
    ParseSatPositions(text);
}

void TListDocument::ParseSatPositions(std::string_view text) {
    ReadSatPositions(text, SatPositions);
}

namespace {

void FillPositions(TServiceTree& services, const std::vector<std::string>& lines, TListHost& host) {
    FillSatPositions(services, lines, [&host](const TSat& sat, const std::string* found) {
        const std::string shown = DisplayText(sat.Name);
        if (found)
            host.ShowMessage(TMsgKind::Information, core_texts::PositionFoundBefore + shown +
                                                        core_texts::PositionFoundMiddle +
                                                        DisplayText(*found) + core_texts::PositionFoundAfter);
        else
            host.ShowMessage(TMsgKind::Information,
                             core_texts::PositionNotFoundBefore + shown + core_texts::PositionNotFoundAfter);
    });
}

} // namespace

void TListDocument::ApplySatPositions() {
    if (BoxType != BoxSat)
        return;
    FillPositions(VTS, SatPositions, *host_);
    CopySatPositions(VTB);
}

void TListDocument::ApplyViewFilter() {
    ApplyViewFilterAndPositions(false);
}

// Folds everything away but the root, so the bouquets show, and sets each
// linked entry's visibility by the class of its service; with
// `copyPositions` each linked entry also takes its satellite's position,
// in the same walk.
void TListDocument::ApplyViewFilterAndPositions(bool copyPositions) {
    PBNode root = VTB.GetFirst();
    if (root) {
        // The linked entries are gathered first: their services lie anywhere
        // in memory, and knowing the next ones lets them be fetched ahead.
        std::vector<TChannel*> linked;
        std::vector<PBNode> nodes;
        VTB.ForEach([&](PBNode n) {
            n->Expanded = n == root;
            TBasicBNode* d = n->Data();
            if (n == root || !d || d->Kind != BKindChannel || !d->Channel || !d->Channel->Service)
                return;
            linked.push_back(d->Channel.get());
            nodes.push_back(n);
        });
        constexpr std::size_t kAhead = 8;
        for (std::size_t i = 0; i < linked.size(); ++i) {
            if (i + kAhead < linked.size())
                __builtin_prefetch(linked[i + kAhead]->Service);
            TChannel& entry = *linked[i];
            const TTrChannel& service = *entry.Service;
            if (copyPositions && service.Transponder && service.Transponder->Sat)
                entry.SatPosition = service.Transponder->Sat->Position;
            switch (ClassOfServiceType(service.ServiceType)) {
            case ServiceClass::TV:
                nodes[i]->Visible = ShowTV;
                break;
            case ServiceClass::Radio:
                nodes[i]->Visible = ShowRadio;
                break;
            case ServiceClass::Special:
                nodes[i]->Visible = ShowSpezial;
                break;
            }
        }
    }
    host_->ViewFilterApplied();
}

void TListDocument::DecideNameCharset() {
    bool utf8 = true;
    auto check = [&utf8](std::string_view s) {
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

namespace {
void Drop(std::string* text) {
    if (text) {
        text->clear();
        text->shrink_to_fit();
    }
}
} // namespace

bool TListDocument::LoadListTexts(std::string_view servicesText, std::string_view bouquetsText) {
    return LoadSequence(servicesText, bouquetsText, nullptr, nullptr);
}

bool TListDocument::LoadOwnedListTexts(std::string&& servicesText, std::string&& bouquetsText) {
    return LoadSequence(servicesText, bouquetsText, &servicesText, &bouquetsText);
}

bool TListDocument::LoadSequence(std::string_view servicesText, std::string_view bouquetsText,
                                 std::string* dropServices, std::string* dropBouquets) {
    loadFailed_ = true;
    try {
        LoadServices(servicesText);
        Drop(dropServices);
        LoadBouquets(bouquetsText);
        Drop(dropBouquets);
        // The readers saw every name; the entries "andere" gets repeat
        // service names. Decided before the first message that names one.
        NameCharset = servicesUtf8_ && bouquetsUtf8_ ? TNameCharset::Utf8 : TNameCharset::Cp1252;
        // Filling "andere", tying the entries, default channel numbers and
        // tsids in two walks instead of four.
        ReportUnlinked(LinkLoadedLists(VTB, VTS, Index()));
        const bool sat = BoxType == BoxSat;
        if (sat) {
            host_->SetSatPosListVisible(true);
            FillPositions(VTS, SatPositions, *host_);
        }
        ApplyViewFilterAndPositions(sat);
        host_->SetModified(false);
        host_->SetStatus(core_texts::StatusLoaded);
        loadFailed_ = false;
        return true;
    } catch (const std::bad_alloc&) {
        DecideNameCharset();
        host_->SetStatus(core_texts::StatusFormatError);
        host_->ShowMessage(TMsgKind::Error, core_texts::OutOfMemory);
    } catch (const std::exception& e) {
        DecideNameCharset();
        host_->SetStatus(core_texts::StatusFormatError);
        host_->ShowMessage(TMsgKind::Error, e.what());
    }
    return false;
}

bool TListDocument::CheckListsPresent() {
    // Trees that a failed load left half-built would be saved as if they were
    // the whole lists.
    if (loadFailed_) {
        host_->ShowMessage(TMsgKind::Error, core_texts::ListsIncomplete);
        return false;
    }
    // A services list that named neither satellites nor cable networks has
    // no line format the box could read back; saving it is refused like an
    // empty list.
    if (VTB.TotalCount() > 0 && VTS.TotalCount() > 0 && BoxType != BoxNone)
        return true;
    host_->ShowMessage(TMsgKind::Error, core_texts::NoListsToSave);
    return false;
}

} // namespace xantu
