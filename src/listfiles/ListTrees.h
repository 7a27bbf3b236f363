// The two trees the list files are read into and written from, and the kind
// of box a services list is for. The readers and writers work on these
// alone; whoever holds the trees (the document, a test) passes them in.
#pragma once

#include "model/XantuModel.h"
#include "tree/NodeTree.h"

#include <cstdint>

namespace xantu {

using TServiceTree = TNodeTree<TBasicSNode>;
using TBouquetTree = TNodeTree<TBasicBNode>;
using PSNode = TTreeNode<TBasicSNode>*;
using PBNode = TTreeNode<TBasicBNode>*;

enum TBoxType : uint8_t { BoxNone = 0, BoxSat = 1, BoxCable = 2 };

} // namespace xantu
