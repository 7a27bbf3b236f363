// Services into bouquets: rows of the service pool or channels of the
// services tree become entries of a bouquet, dropped at a place in the
// bouquet tree or added to the end of a chosen bouquet. Each addition is one
// undo step. A service that stood in "andere" leaves it: its entry there is
// the one that moves into the bouquet.
#pragma once

#include "edit/BouquetEditor.h"

#include <string>
#include <vector>

namespace xantu {

class TBouquetFill {
  public:
    TBouquetFill(TBouquetEditor& editor, TEditHost& host) : editor_(editor), host_(host) {}
    TBouquetFill(const TBouquetFill&) = delete;
    TBouquetFill& operator=(const TBouquetFill&) = delete;

    // The bouquet a drop on `target` fills: a bouquet, or the bouquet of an
    // entry; nullptr for the root, "andere" and its entries (services reach
    // "andere" only by leaving every bouquet).
    static PBNode TargetBouquet(PBNode target);

    // Entries for `services`, in their order: on a bouquet as its first
    // entries, above an entry before it, on or below an entry after it.
    // Returns the entries now standing for the services (empty: nothing
    // added, no step).
    std::vector<PBNode> Drop(const std::vector<TTrChannel*>& services, PBNode target, TDropPos pos);
    // The same at the end of `bouquet`.
    std::vector<PBNode> Append(const std::vector<TTrChannel*>& services, PBNode bouquet);

    // The bouquet services were last added to, while it is still there.
    PBNode LastBouquet() const;
    // The bouquets services can be added to, in list order.
    std::vector<PBNode> Bouquets() const;

  private:
    std::vector<PBNode> Add(const std::vector<TTrChannel*>& services, PBNode bouquet, PBNode anchor,
                            TAttachMode mode);
    std::unique_ptr<TBasicBNode> NewEntry(TTrChannel& service, TBouquet* bouquet) const;
    bool VisibleByFilter(const TTrChannel& service) const;

    TBouquetEditor& editor_;
    TEditHost& host_;
    // Remembered by address, name and payload, and only trusted while a
    // bouquet with all three is in the list: the node may be freed at any
    // time by a deletion, an undo or a load.
    PBNode last_ = nullptr;
    const TBouquet* lastPayload_ = nullptr;
    std::string lastName_;
};

} // namespace xantu
