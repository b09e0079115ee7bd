#pragma once

#include <functional>
#include <vector>

#include "platform/qt/CCmdTarget.h"

// Offers commands to a chain of targets in order (the active view, its document, the child
// frame, the main frame, the application); the first target with an entry for the command takes
// it. A command without an update handler is enabled when some target handles it, and disabled
// when none does. Run asks the update handlers once more first and drops a disabled command, so
// no menu, key or button can run a command while it is disabled.
class CCommandRouter {
 public:
  using Chain = std::function<std::vector<CCmdTarget*>()>;
  explicit CCommandRouter(Chain chain) : m_chain(std::move(chain)) {}

  CCmdUI Query(int id) const;
  // True when the command ran.
  bool Run(int id) const;

 private:
  Chain m_chain;
};
