// The pair of lists as the editor holds it: the services tree, the bouquet
// tree and what the load and save steps keep beside them. Everything here is
// free of widgets; the window and the command-line tool both drive it.
#pragma once

#include "core/ListHost.h"
#include "model/XantuModel.h"
#include "text/ListText.h"
#include "tree/NodeTree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xantu {

using TServiceTree = TNodeTree<TBasicSNode>;
using TBouquetTree = TNodeTree<TBasicBNode>;
using PSNode = TTreeNode<TBasicSNode>*;
using PBNode = TTreeNode<TBasicBNode>*;

enum TBoxType : uint8_t { BoxNone = 0, BoxSat = 1, BoxCable = 2 };

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
    // True when both trees hold nodes and the services say which kind of box
    // they are for; otherwise the guard's error message and false.
    bool CheckListsPresent();

    PBNode ReservedBouquet() const;
    PSNode AddServiceNode(PSNode parent, std::unique_ptr<TBasicSNode> node);
    PBNode AddBouquetNode(PBNode parent, std::unique_ptr<TBasicBNode> node);

  private:
    void SetBoxType(uint8_t type);
    // The last load stopped half-way: the trees hold part of the lists only.
    bool loadFailed_ = false;
    TListHost* host_;
    TSilentHost silent_;
};

// Splits a SatPositions line into name and position.
void SplitSatPosition(std::string_view line, std::string& name, std::string& position);

} // namespace xantu
