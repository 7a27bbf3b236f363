// Tidying bouquets after a new scan or many additions: entries whose
// service is gone, and entries that repeat a service earlier in the same
// bouquet. Each command is one undo step and reports how many entries went.
// "andere" is left alone: its entries are the box's own, refilled at every
// load.
#pragma once

#include "edit/BouquetEditor.h"

#include <vector>

namespace xantu {

class TBouquetCleanup {
  public:
    TBouquetCleanup(TBouquetEditor& editor, TEditHost& host) : editor_(editor), host_(host) {}
    TBouquetCleanup(const TBouquetCleanup&) = delete;
    TBouquetCleanup& operator=(const TBouquetCleanup&) = delete;

    // The entries each command would remove, in tree order.
    std::vector<PBNode> WithoutService() const;
    std::vector<PBNode> Duplicates() const;

    // After one question naming the count, removes every entry without a
    // service. Returns how many went.
    std::size_t RemoveWithoutService();
    // Removes, inside each bouquet, every entry whose service stands
    // earlier in it. Returns how many went.
    std::size_t RemoveDuplicates();

  private:
    void Remove(const std::vector<PBNode>& entries);
    void Report(const char* format, std::size_t count);

    TBouquetEditor& editor_;
    TEditHost& host_;
};

} // namespace xantu
