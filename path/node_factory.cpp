#include "path/node_factory.h"

#include <new>

NodeFactory::~NodeFactory() = default;

bool NodeFactory::Setup(size_t count) {
    nodes_.reset();
    storage_.reset();
    count_ = 0;
    nextFree_ = 0;
    // Left uninitialised: every node is filled in when it is handed out.
    storage_.reset(new (std::nothrow) Node[count]);
    nodes_.reset(new (std::nothrow) Node*[count]);
    if (count && (!storage_ || !nodes_)) {
        nodes_.reset();
        storage_.reset();
        return false;
    }
    for (size_t i = 0; i < count; ++i) nodes_[i] = &storage_[i];
    count_ = count;
    return true;
}
