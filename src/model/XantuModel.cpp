#include "model/XantuModel.h"

#include "model/XmlFormat.h"

namespace xantu {

ServiceClass ClassOfServiceType(int32_t serviceType) {
    switch (serviceType) {
    case 1:
    case 4:
    case 5:
        return ServiceClass::TV;
    case 2:
        return ServiceClass::Radio;
    default:
        return ServiceClass::Special;
    }
}

int ImageOfServiceType(int32_t serviceType) {
    switch (ClassOfServiceType(serviceType)) {
    case ServiceClass::TV:
        return ImgTV;
    case ServiceClass::Radio:
        return ImgRadio;
    case ServiceClass::Special:
        break;
    }
    return ImgSpecial;
}

bool Matches(const TChannel& entry, const TTrChannel& service) {
    return service.Transponder != nullptr && MatchKey(entry) == MatchKey(service);
}

void TBasicSNode::SetSat(TListName name, std::string diseqc, std::string position) {
    Kind = SKindSat;
    Sat = std::make_unique<TSat>(TSat{std::move(name), std::move(diseqc), std::move(position), {}});
}

void TBasicSNode::SetTransponder(TSat* sat, int32_t id, int32_t onid, int32_t frequency, int32_t symbolRate,
                                 int32_t fecInner, int32_t polarization, std::string inversion) {
    Kind = SKindTransponder;
    Transponder = std::make_unique<TTransponder>();
    Transponder->Sat = sat;
    Transponder->Id = id;
    Transponder->Onid = onid;
    Transponder->Frequency = frequency;
    Transponder->Inversion = std::move(inversion);
    Transponder->SymbolRate = symbolRate;
    Transponder->FecInner = fecInner;
    Transponder->Polarization = polarization;
}

void TBasicSNode::SetChannel(TTransponder* transponder, TListName name, std::string channelNr,
                             int32_t serviceType, int32_t serviceId) {
    Kind = SKindChannel;
    Channel = std::make_unique<TTrChannel>();
    Channel->Transponder = transponder;
    Channel->Name = std::move(name);
    Channel->ChannelNr = std::move(channelNr);
    Channel->ServiceType = serviceType;
    Channel->ServiceId = serviceId;
}

void TBasicSNode::AppendSatBoxXml(std::string& out) const {
    XmlLine line(out);
    switch (Kind) {
    case SKindSat:
        line.Open("sat")
            .Text("name", Sat->Name)
            .Text("diseqc", Sat->Diseqc)
            .Text("position", Sat->Position)
            .Raw(Sat->Extra)
            .Close();
        return;
    case SKindTransponder: {
        const TTransponder& t = *Transponder;
        line.Open("transponder").Hex("id", t.Id, 4).Hex("onid", t.Onid, 4).Dec("frequency", t.Frequency);
        // A satellite box reads a missing inversion as "auto"; an empty value
        // is left out rather than written as inversion="".
        if (!t.Inversion.empty())
            line.Text("inversion", t.Inversion);
        line.Dec("symbol_rate", t.SymbolRate)
            .Dec("fec_inner", t.FecInner)
            .Dec("polarization", t.Polarization)
            .Raw(t.Extra)
            .Close();
        return;
    }
    case SKindChannel:
        break;
    default:
        return;
    }
    const TTrChannel& c = *Channel;
    line.Open("channel")
        .Hex("service_id", c.ServiceId, 4)
        .Text("name", c.Name)
        .Hex("service_type", c.ServiceType, 2)
        .Text("channel_nr", c.ChannelNr)
        .Raw(c.Extra)
        .SelfClose();
}

void TBasicSNode::AppendCableBoxXml(std::string& out) const {
    XmlLine line(out);
    switch (Kind) {
    case SKindSat:
        line.Open("cable").Text("name", Sat->Name).Raw(Sat->Extra).Close();
        return;
    case SKindTransponder: {
        const TTransponder& t = *Transponder;
        line.Open("transponder")
            .Hex("id", t.Id, 4)
            .Hex("onid", t.Onid, 4)
            .Dec("frequency", t.Frequency)
            .Text("inversion", t.Inversion)
            .Dec("symbol_rate", t.SymbolRate)
            .Dec("fec_inner", t.FecInner)
            .Dec("modulation", t.Polarization)
            .Raw(t.Extra)
            .Close();
        return;
    }
    case SKindChannel:
        AppendSatBoxXml(out); // channels look alike on both kinds of box
        return;
    default:
        return;
    }
}

std::string TBasicSNode::SatBoxXml() const {
    std::string out;
    AppendSatBoxXml(out);
    return out;
}

std::string TBasicSNode::CableBoxXml() const {
    std::string out;
    AppendCableBoxXml(out);
    return out;
}

void TBasicBNode::SetBouquet(TListName name, bool hidden, bool locked) {
    Kind = BKindBouquet;
    Bouquet = std::make_unique<TBouquet>(TBouquet{std::move(name), hidden, locked, {}});
}

void TBasicBNode::SetChannel(TBouquet* bouquet, TListName name, int32_t serviceId, int32_t tsid,
                             int32_t onid) {
    Kind = BKindChannel;
    Channel = std::make_unique<TChannel>();
    Channel->Bouquet = bouquet;
    Channel->Name = std::move(name);
    Channel->ServiceId = serviceId;
    Channel->Tsid = tsid;
    Channel->Onid = onid;
}

std::unique_ptr<TBasicBNode> TBasicBNode::Clone() const {
    auto copy = std::make_unique<TBasicBNode>(Caption, ImageIndex);
    copy->Kind = Kind;
    copy->Reserved = Reserved;
    if (Bouquet)
        copy->Bouquet = std::make_unique<TBouquet>(*Bouquet);
    if (Channel)
        copy->Channel = std::make_unique<TChannel>(*Channel);
    return copy;
}

static void AppendBouquetLine(std::string& out, const TBasicBNode& node, bool withSatPosition) {
    XmlLine line(out);
    if (node.Kind == BKindBouquet) {
        const TBouquet& b = *node.Bouquet;
        line.Open("Bouquet")
            .Text("name", b.Name)
            .Flag("hidden", b.Hidden)
            .Flag("locked", b.Locked)
            .Raw(b.Extra)
            .Close();
        return;
    }
    if (node.Kind != BKindChannel)
        return;
    const TChannel& c = *node.Channel;
    line.Open("channel")
        .Hex("serviceID", c.ServiceId, 4)
        .Text("name", c.Name)
        .Hex("tsid", c.Tsid, 4)
        .Hex("onid", c.Onid, 4);
    if (withSatPosition)
        line.Text("sat_position", c.SatPosition);
    line.Raw(c.Extra).SelfClose();
}

void TBasicBNode::AppendSatBoxXml(std::string& out) const {
    AppendBouquetLine(out, *this, true);
}

void TBasicBNode::AppendCableBoxXml(std::string& out) const {
    AppendBouquetLine(out, *this, false);
}

std::string TBasicBNode::SatBoxXml() const {
    std::string out;
    AppendSatBoxXml(out);
    return out;
}

std::string TBasicBNode::CableBoxXml() const {
    std::string out;
    AppendCableBoxXml(out);
    return out;
}

} // namespace xantu
