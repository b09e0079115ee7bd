#include "platform/qt/CCommandRouter.h"

CCmdUI CCommandRouter::Query(int id) const {
  CCmdUI ui(id);
  const std::vector<CCmdTarget*> chain = m_chain();
  for (CCmdTarget* target : chain)
    if (target && target->OnUpdateCmdUI(ui)) return ui;
  bool handled = false;
  for (CCmdTarget* target : chain) handled = handled || (target && target->HasHandler(id));
  ui.Enable(handled);
  return ui;
}

bool CCommandRouter::Run(int id) const {
  if (!Query(id).IsEnabled()) return false;
  for (CCmdTarget* target : m_chain())
    if (target && target->OnCmdMsg(id)) return true;
  return false;
}
