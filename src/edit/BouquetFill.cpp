#include "edit/BouquetFill.h"

#include "edit/Texts.h"

#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace xantu {

namespace {

uint64_t KeyOf(int32_t serviceId, int32_t onid) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(serviceId)) << 32) | static_cast<uint32_t>(onid);
}

uint64_t KeyOf(const TTrChannel& service) {
    return KeyOf(service.ServiceId, service.Transponder->Onid);
}

bool IsBouquet(PBNode node) {
    return node && node->Data() && node->Data()->Kind == BKindBouquet && node->Data()->Bouquet;
}

} // namespace

PBNode TBouquetFill::TargetBouquet(PBNode target) {
    if (!target || !target->Data())
        return nullptr;
    PBNode bouquet = target->Data()->Kind == BKindChannel ? target->Parent() : target;
    if (!IsBouquet(bouquet) || bouquet->Data()->Reserved)
        return nullptr;
    return bouquet;
}

std::vector<PBNode> TBouquetFill::Bouquets() const {
    std::vector<PBNode> out;
    PBNode root = editor_.Doc().VTB.GetFirst();
    for (std::size_t i = 0; root && i < root->ChildCount(); ++i)
        if (TargetBouquet(root->Child(i)))
            out.push_back(root->Child(i));
    return out;
}

PBNode TBouquetFill::LastBouquet() const {
    if (!last_)
        return nullptr;
    // Compared by address only, never followed, until found in the list.
    for (PBNode b : Bouquets())
        if (b == last_ && b->Data()->Bouquet.get() == lastPayload_ && b->Data()->Bouquet->Name == lastName_)
            return b;
    return nullptr;
}

std::vector<PBNode> TBouquetFill::Drop(const std::vector<TTrChannel*>& services, PBNode target,
                                       TDropPos pos) {
    PBNode bouquet = TargetBouquet(target);
    if (!bouquet)
        return {};
    if (target == bouquet)
        return Add(services, bouquet, bouquet, TAttachMode::FirstChild);
    return Add(services, bouquet, target, pos == TDropPos::Above ? TAttachMode::Before : TAttachMode::After);
}

std::vector<PBNode> TBouquetFill::Append(const std::vector<TTrChannel*>& services, PBNode bouquet) {
    if (!bouquet || TargetBouquet(bouquet) != bouquet)
        return {};
    return Add(services, bouquet, bouquet, TAttachMode::LastChild);
}

bool TBouquetFill::VisibleByFilter(const TTrChannel& service) const {
    const TListDocument& doc = editor_.Doc();
    switch (ClassOfServiceType(service.ServiceType)) {
    case ServiceClass::TV:
        return doc.ShowTV;
    case ServiceClass::Radio:
        return doc.ShowRadio;
    case ServiceClass::Special:
        break;
    }
    return doc.ShowSpezial;
}

std::unique_ptr<TBasicBNode> TBouquetFill::NewEntry(TTrChannel& service, TBouquet* bouquet) const {
    const TTransponder& tp = *service.Transponder;
    auto entry = std::make_unique<TBasicBNode>(service.Name, ImageOfServiceType(service.ServiceType));
    entry->SetChannel(bouquet, service.Name, service.ServiceId, tp.Id, tp.Onid);
    entry->ImageIndex = ImageOfServiceType(service.ServiceType);
    entry->Channel->Service = &service;
    if (editor_.Doc().BoxType == BoxSat && tp.Sat)
        entry->Channel->SatPosition = tp.Sat->Position;
    return entry;
}

std::vector<PBNode> TBouquetFill::Add(const std::vector<TTrChannel*>& services, PBNode bouquet, PBNode anchor,
                                      TAttachMode mode) {
    std::vector<TTrChannel*> wanted;
    wanted.reserve(services.size());
    for (TTrChannel* s : services)
        if (s && s->Transponder)
            wanted.push_back(s);
    if (wanted.empty())
        return {};

    std::unordered_set<uint64_t> present;
    present.reserve(bouquet->ChildCount());
    for (std::size_t i = 0; i < bouquet->ChildCount(); ++i)
        if (const TChannel* c = bouquet->Child(i)->Data()->Channel.get())
            present.insert(KeyOf(c->ServiceId, c->Onid));
    int already = 0;
    for (TTrChannel* s : wanted)
        already += present.count(KeyOf(*s)) ? 1 : 0;
    if (already > 0) {
        char question[160];
        std::snprintf(question, sizeof question, edit_texts::kAlreadyInBouquet, already);
        if (!host_.Ask(question)) {
            std::erase_if(wanted, [&](TTrChannel* s) { return present.count(KeyOf(*s)) != 0; });
            if (wanted.empty())
                return {};
        }
    }

    // The entries "andere" holds for these services; each leaves it once.
    // `fromAndere[k]`: wanted[k] takes its entry from there.
    std::vector<bool> fromAndere(wanted.size());
    std::vector<uint32_t> leaving; // rows in "andere", in the order of `wanted`
    PBNode andere = editor_.Doc().ReservedBouquet();
    if (andere && andere != bouquet && andere->ChildCount() > 0) {
        std::unordered_map<uint64_t, std::size_t> firstWanted;
        firstWanted.reserve(wanted.size());
        for (std::size_t k = 0; k < wanted.size(); ++k)
            firstWanted.emplace(KeyOf(*wanted[k]), k);
        std::vector<int64_t> rowOf(wanted.size(), -1);
        for (std::size_t i = 0; i < andere->ChildCount(); ++i) {
            const TChannel* c = andere->Child(i)->Data()->Channel.get();
            if (!c)
                continue;
            auto it = firstWanted.find(KeyOf(c->ServiceId, c->Onid));
            if (it != firstWanted.end() && rowOf[it->second] < 0)
                rowOf[it->second] = static_cast<int64_t>(i);
        }
        for (std::size_t k = 0; k < wanted.size(); ++k)
            if (rowOf[k] >= 0) {
                fromAndere[k] = true;
                leaving.push_back(static_cast<uint32_t>(rowOf[k]));
            }
    }

    TEditHistory& history = editor_.History();
    TBouquet* payload = bouquet->Data()->Bouquet.get();
    host_.BeginBatch();
    history.Begin();
    history.SetSelectAfterUndo(bouquet);
    std::vector<PBNode> added;
    added.reserve(wanted.size());
    if (!leaving.empty()) {
        // The leaving entries go to the end of "andere" first, the first one
        // wanted last: each then leaves from the end, where taking a row out
        // shifts nothing, however long "andere" is.
        std::vector<bool> leaves(andere->ChildCount());
        for (uint32_t row : leaving)
            leaves[row] = true;
        std::vector<uint32_t> order;
        order.reserve(andere->ChildCount());
        for (uint32_t i = 0; i < andere->ChildCount(); ++i)
            if (!leaves[i])
                order.push_back(i);
        order.insert(order.end(), leaving.rbegin(), leaving.rend());
        history.Permute(andere, order);
    }
    PBNode place = anchor;
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        PBNode node = nullptr;
        if (fromAndere[k]) {
            node = andere->LastChild();
            history.Move(node, place, mode);
            TNodeFields f = FieldsOf(*node->Data());
            f.Reserved = false;
            history.SetFields(node, f);
            node->Data()->Channel->Bouquet = payload;
        } else {
            node = history.Insert(NewEntry(*wanted[k], payload), place, mode);
            node->Visible = VisibleByFilter(*wanted[k]);
        }
        added.push_back(node);
        // The next one follows this one.
        place = node;
        mode = TAttachMode::After;
    }
    history.SetSelectAfterRedo(added.front());
    history.Commit();
    host_.EndBatch();

    last_ = bouquet;
    lastPayload_ = payload;
    lastName_ = payload->Name;
    host_.RepaintNode(bouquet);
    host_.RefreshInfo();
    host_.SetModified(!editor_.AtSavedState());
    host_.HistoryChanged();
    return added;
}

} // namespace xantu
