#pragma once

namespace quarrant {

// The node of a model object in the project manager tree. The window layer fills it in when
// it inserts the node; the model only stores it and finds nodes by it. Null: no node.
using TreeItemHandle = void*;

}  // namespace quarrant
