#pragma once

#include "core/ListDocument.h"
#include "edit/BouquetEditor.h"

#include <deque>
#include <string>
#include <vector>

namespace xantu::test {

// Answers questions from a queue (Yes when empty) and records what it is told.
class TEditRecorder : public TEditHost {
  public:
    bool Ask(const std::string& text) override {
        BoxInBatch = BoxInBatch || Batch != 0;
        Questions.push_back(text);
        if (Answers.empty())
            return true;
        bool a = Answers.front();
        Answers.pop_front();
        return a;
    }
    void ShowMessage(TMsgKind kind, const std::string& text) override {
        BoxInBatch = BoxInBatch || Batch != 0;
        Messages.push_back(std::string(MsgKindCaption(kind)) + ": " + text);
    }
    void SetModified(bool m) override { Modified = m; }
    void ClearSelection() override { Selected.clear(); }
    void SelectOnly(PBNode node) override { Selected = {node}; }
    void RevealNode(PBNode node) override { Revealed.push_back(node); }
    void CopyModeChanged(bool copy) override { CopyMode = copy; }
    // A view gathers its updates between these: no box may come in between.
    void BeginBatch() override { ++Batch; }
    void EndBatch() override { --Batch; }

    std::deque<bool> Answers;
    std::vector<std::string> Questions;
    std::vector<std::string> Messages;
    std::vector<PBNode> Selected;
    std::vector<PBNode> Revealed;
    bool Modified = false;
    bool CopyMode = false;
    int Batch = 0;
    bool BoxInBatch = false;
};

// A cable list pair: "Eins" (Alpha renamed, Beta, Gamma radio), "Zwei"
// (Delta, Epsilon special, Ärzte TV), "Drei" (ARD 1, ARD, Beta) and "andere"
// holding Omega.
std::string FixtureServices();
std::string FixtureBouquets();

struct TEditFixture {
    TEditFixture();
    TListDocument Doc;
    TEditRecorder Host;
    TBouquetEditor Editor{Doc, Host};

    PBNode Root() const { return Doc.VTB.GetFirst(); }
    // The bouquet with that caption (the first one).
    PBNode Bouquet(const std::string& caption) const;
    // The entry with that caption inside `bouquet`.
    PBNode Entry(const std::string& bouquet, const std::string& caption) const;
    PBNode Andere() const { return Doc.ReservedBouquet(); }
};

// The bouquets as "Eins[Alpha mine,Beta,Gamma] ... andere*[Omega*]"; a star
// marks a reserved node.
std::string Shape(const TListDocument& doc);
// Everything the user could see or save: captions, names, flags, ids, links.
std::string FullState(const TListDocument& doc);
// Empty when every entry links to its parent's bouquet and only "andere" and
// its entries are reserved; otherwise what is wrong.
std::string InvariantFaults(const TListDocument& doc);

} // namespace xantu::test
