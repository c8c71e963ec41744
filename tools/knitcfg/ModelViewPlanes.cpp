// The planes part of the model tree: each plane with its blocks.

#include "ModelView.h"

#include <knitcfg/knitcfg.h>

#include <utility>

namespace knitcfg::cli {

Node PlanesView(const Configuration& config) {
    Node list = Node::Keyed("plane", {"number"});
    list.items.reserve(config.Planes().size());
    for (const auto& plane : config.Planes()) {
        Node n = Node::Object();
        n.Add("number", Node::Int(plane->Number));
        n.Add("numberOfLines", Node::Int(plane->NumberOfLines));
        n.Add("startBlock", Node::Int(plane->StartBlock));
        n.Add("description", Node::Str(plane->Description));
        n.Add("priority", Node::Int(plane->Priority));
        Node& blocks = n.Add("blocks", Node::Keyed("block", {"number"}));
        blocks.items.reserve(plane->Blocks.size());
        for (const auto& block : plane->Blocks) {
            Node b = Node::Object();
            b.Add("number", Node::Int(block->Number));
            b.Add("parameter", Node::Int(block->Parameter));
            Node& values = b.Add("values", Node::Values());
            values.items.reserve(block->Values.size());
            for (short value : block->Values) {
                values.items.push_back(Node::Int(value));
            }
            blocks.items.push_back(std::move(b));
        }
        list.items.push_back(std::move(n));
    }
    return list;
}

}  // namespace knitcfg::cli
