// In-memory model of the two channel lists: services (satellite or cable
// network -> transponder -> channel) and bouquets (bouquet -> channel entry).
// Each tree node carries one wrapper (TBasicSNode / TBasicBNode) that owns
// exactly one payload; the cross links between payloads never own.
#pragma once

#include "model/ListName.h"
#include "tree/BlockPool.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace xantu {

// Base of every error the list code raises; the message is shown to the user
// as it stands.
class Exception : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A list file lacks the element the reader needs (root, satellites, ...).
class EXMLException : public Exception {
  public:
    using Exception::Exception;
};

// A decimal or hexadecimal value that cannot be converted.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// Pictures of TreeImages, shared by both trees and the pool.
enum ImageIndex : int {
    ImgStructure = 0,
    ImgTV = 1,
    ImgRadio = 2,
    ImgSpecial = 3,
    ImgReserved = 4,
};

enum class ServiceClass { TV, Radio, Special };

// The single rule that sorts service types into classes.
ServiceClass ClassOfServiceType(int32_t serviceType);
// Picture of a channel of that service type (1 TV, 2 radio, 3 special).
int ImageOfServiceType(int32_t serviceType);
inline bool IsTvOrRadio(int32_t serviceType) {
    return ClassOfServiceType(serviceType) != ServiceClass::Special;
}

struct TSat {
    TListName Name;
    std::string Diseqc;
    std::string Position;
    // Attributes of the element that the program does not know, each as one
    // blank and its bytes as read; written back after the known ones.
    std::string Extra;
    XANTU_POOLED(TSat)
};

struct TTransponder {
    TSat* Sat = nullptr; // not owned
    int32_t Id = 0;
    int32_t Onid = 0;
    int32_t Frequency = 0;
    std::string Inversion;
    int32_t SymbolRate = 0;
    int32_t FecInner = 0;
    int32_t Polarization = 0; // modulation on a cable box
    // Attributes of the element that the program does not know, each as one
    // blank and its bytes as read; written back after the known ones.
    std::string Extra;
    XANTU_POOLED(TTransponder)
};

struct TTrChannel {
    TTransponder* Transponder = nullptr; // not owned
    TListName Name;
    int32_t ServiceId = 0;
    int32_t ServiceType = 0;
    std::string ChannelNr;
    // Attributes of the element that the program does not know, each as one
    // blank and its bytes as read; written back after the known ones.
    std::string Extra;
    XANTU_POOLED(TTrChannel)
};

struct TBouquet {
    TListName Name;
    bool Hidden = false;
    bool Locked = false;
    // Attributes of the element that the program does not know, each as one
    // blank and its bytes as read; written back after the known ones.
    std::string Extra;
    XANTU_POOLED(TBouquet)
};

struct TChannel {
    TBouquet* Bouquet = nullptr; // not owned
    TListName Name;
    int32_t ServiceId = 0;
    int32_t Tsid = 0;
    int32_t Onid = 0;
    TTrChannel* Service = nullptr; // not owned; points into the services tree
    std::string SatPosition;
    // Attributes of the element that the program does not know, each as one
    // blank and its bytes as read; written back after the known ones.
    std::string Extra;
    XANTU_POOLED(TChannel)
};

// The one match rule between a bouquet entry and a service: same service id
// and same original network id; the transport stream id takes no part. The
// key packs both numbers, so that a hash of it finds the service (a service
// without transponder has no key and matches nothing).
inline uint64_t MatchKey(int32_t serviceId, int32_t onid) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(serviceId)) << 32) | static_cast<uint32_t>(onid);
}
inline uint64_t MatchKey(const TChannel& entry) {
    return MatchKey(entry.ServiceId, entry.Onid);
}
inline uint64_t MatchKey(const TTrChannel& service) {
    return MatchKey(service.ServiceId, service.Transponder->Onid);
}
bool Matches(const TChannel& entry, const TTrChannel& service);

enum SNodeKind : int { SKindRoot = 0, SKindSat = 1, SKindTransponder = 2, SKindChannel = 3 };
enum BNodeKind : int { BKindRoot = 0, BKindBouquet = 1, BKindChannel = 2 };

// The wrappers are final and have no virtual destructor: nothing derives
// from them, and 200,000 of them would carry a pointer each for nothing.
class TBasicSNode final {
  public:
    TBasicSNode(TListName caption, int imageIndex) : Caption(std::move(caption)), ImageIndex(imageIndex) {}
    XANTU_POOLED(TBasicSNode)

    TListName Caption;
    int ImageIndex = 0;
    int Kind = SKindRoot;
    std::unique_ptr<TSat> Sat;
    std::unique_ptr<TTransponder> Transponder;
    std::unique_ptr<TTrChannel> Channel;

    void SetSat(TListName name, std::string diseqc, std::string position);
    void SetTransponder(TSat* sat, int32_t id, int32_t onid, int32_t frequency, int32_t symbolRate,
                        int32_t fecInner, int32_t polarization, std::string inversion);
    void SetChannel(TTransponder* transponder, TListName name, std::string channelNr, int32_t serviceType,
                    int32_t serviceId);

    // The node's own line in services.xml, without indentation or line end.
    std::string SatBoxXml() const;
    std::string CableBoxXml() const;
    // The same, appended to `out`.
    void AppendSatBoxXml(std::string& out) const;
    void AppendCableBoxXml(std::string& out) const;
};

class TBasicBNode final {
  public:
    TBasicBNode(TListName caption, int imageIndex) : Caption(std::move(caption)), ImageIndex(imageIndex) {}
    XANTU_POOLED(TBasicBNode)

    TListName Caption;
    int ImageIndex = 0;
    int Kind = BKindRoot;
    bool Reserved = false;
    std::unique_ptr<TBouquet> Bouquet;
    std::unique_ptr<TChannel> Channel;

    void SetBouquet(TListName name, bool hidden, bool locked);
    void SetChannel(TBouquet* bouquet, TListName name, int32_t serviceId, int32_t tsid, int32_t onid);

    // A copy that shares no payload with this node; the entry's non-owning
    // links (bouquet, service) are carried over as they are.
    std::unique_ptr<TBasicBNode> Clone() const;

    // The node's own line in bouquets.xml, without indentation or line end.
    std::string SatBoxXml() const;
    std::string CableBoxXml() const;
    // The same, appended to `out`.
    void AppendSatBoxXml(std::string& out) const;
    void AppendCableBoxXml(std::string& out) const;
};

} // namespace xantu
