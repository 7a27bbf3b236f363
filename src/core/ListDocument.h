// The pair of lists as the editor holds it: the services tree, the bouquet
// tree and what the load and save steps keep beside them. Everything here is
// free of widgets; the window and the command-line tool both drive it.
#pragma once

#ifdef XANTU_LISTFILES_LIBRARY
#error "The list files build on the model and the trees alone; pass them what they need from the document."
#endif

#include "core/ListHost.h"
#include "listfiles/ListTrees.h"
#include "listfiles/SatPositions.h"
#include "listfiles/ServiceIndex.h"
#include "text/ListText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xantu {

class TListDocument {
  public:
    explicit TListDocument(TListHost* host = nullptr);
    TListDocument(const TListDocument&) = delete;
    TListDocument& operator=(const TListDocument&) = delete;
    ~TListDocument();

    void SetHost(TListHost* host);
    TListHost& Host() const { return *host_; }

    TServiceTree VTS;
    TBouquetTree VTB;
    uint8_t BoxType = BoxNone;
    // Character set of the names of the loaded pair, decided once per load
    // (UTF-8 unless some name of either tree is not valid UTF-8).
    TNameCharset NameCharset = TNameCharset::Utf8;
    int CountAll = 0;
    int CountTV = 0;
    int CountRadio = 0;

    bool Info_ChannelWithoutService = true;
    bool ShowTV = true;
    bool ShowRadio = false;
    bool ShowSpezial = false;

    // "name; Position=position" per known satellite, in file order.
    std::vector<std::string> SatPositions;

    // Empties both trees (bouquets first: their entries point into the
    // services) and resets the counters.
    void Clear();

    // services.xml
    void LoadServices(std::string_view text);
    std::string SaveServices() const;
    void DefaultChannelNumbers();

    // bouquets.xml and the channel check
    void LoadBouquets(std::string_view text);
    void FillAndere();
    void LinkChannels();
    void RefreshTsids();
    std::string SaveBouquets() const;

    // satpositionen.xml. `path` is where the list is read from; messages
    // name it unless it is the list beside the program.
    void LoadSatPositions(const std::string& path);
    void ParseSatPositions(std::string_view text);
    void ApplySatPositions();

    void ApplyViewFilter();
    // Decides NameCharset from the names both trees hold now.
    void DecideNameCharset();
    // A name of these lists as a person reads it.
    std::string Display(std::string_view bytes) const { return NameForDisplay(bytes, NameCharset); }

    // Runs the whole load sequence. Never throws: a failure is shown through
    // the host and answered with false; the trees keep what was built.
    bool LoadListTexts(std::string_view servicesText, std::string_view bouquetsText);
    // The same, emptying each text (and giving back its memory) as soon as
    // it is read: a big pair then never holds both file texts beside both
    // trees.
    bool LoadOwnedListTexts(std::string&& servicesText, std::string&& bouquetsText);
    // True when both trees hold nodes and the services say which kind of box
    // they are for; otherwise the guard's error message and false.
    bool CheckListsPresent();

    PBNode ReservedBouquet() const;
    // The service node the entry matches (the first in tree order), or
    // nullptr.
    PSNode FindService(const TChannel& entry) const;
    PSNode AddServiceNode(PSNode parent, std::unique_ptr<TBasicSNode> node);
    PBNode AddBouquetNode(PBNode parent, std::unique_ptr<TBasicBNode> node);

  private:
    void SetBoxType(uint8_t type);
    bool LoadSequence(std::string_view servicesText, std::string_view bouquetsText, std::string* dropServices,
                      std::string* dropBouquets);
    void ReportUnlinked(const std::vector<PBNode>& entries);
    void ApplyViewFilterAndPositions(bool copyPositions);
    // The index of the services, built by the load and again whenever the
    // services tree was changed around it.
    TServiceIndex& Index() const;
    mutable TServiceIndex index_;
    mutable bool indexValid_ = false;
    // Nodes of VTS when the index was built: a tree changed behind the
    // document's back is indexed anew rather than answered from freed nodes.
    mutable std::size_t indexedNodes_ = 0;
    // Whether every name the last reads met was valid UTF-8.
    bool servicesUtf8_ = true;
    bool bouquetsUtf8_ = true;
    // The last load stopped half-way: the trees hold part of the lists only.
    bool loadFailed_ = false;
    TListHost* host_;
    TSilentHost silent_;
};

} // namespace xantu
