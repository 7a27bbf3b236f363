// Ordering without the mouse: the selected entries (or bouquets) one place
// up or down, or to the top or end of their bouquet (or of the bouquet
// list), and the entries of bouquets sorted by a key. Each command is one
// undo step. Entries of "andere" keep their order; "andere" itself moves
// like any bouquet but is never sorted.
#pragma once

#include "edit/BouquetEditor.h"

#include <vector>

namespace xantu {

enum class TMoveStep { Up, Down, ToTop, ToEnd };
enum class TSortKey { Name, ServiceId, Reverse };

class TBouquetOrder {
  public:
    TBouquetOrder(TBouquetEditor& editor, TEditHost& host) : editor_(editor), host_(host) {}
    TBouquetOrder(const TBouquetOrder&) = delete;
    TBouquetOrder& operator=(const TBouquetOrder&) = delete;

    // The selection in tree order when it can move at all (siblings below
    // the root, not entries of "andere"); empty otherwise.
    static std::vector<PBNode> Movable(const std::vector<PBNode>& selection);
    // Whether `step` would change anything for the selection.
    static bool CanMove(const std::vector<PBNode>& selection, TMoveStep step);
    // Moves the selection; the nodes stay the same objects, so a view keeps
    // them selected. True when something moved.
    bool Move(const std::vector<PBNode>& selection, TMoveStep step);

    // The bouquets a sort of the selection concerns: selected bouquets, or
    // the bouquet of selected entries; never "andere".
    static std::vector<PBNode> SortableBouquets(const std::vector<PBNode>& selection);
    // Sorts the entries of those bouquets; equal keys keep their order.
    // Returns the number of bouquets whose order changed.
    std::size_t Sort(const std::vector<PBNode>& selection, TSortKey key);

  private:
    void Done();

    TBouquetEditor& editor_;
    TEditHost& host_;
};

} // namespace xantu
