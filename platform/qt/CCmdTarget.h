#pragma once

#include <functional>
#include <vector>

// What an update handler says about one command: whether it can run now and whether its menu
// item carries a check mark. An item whose update handler says nothing about enabling stays
// enabled.
class CCmdUI {
 public:
  explicit CCmdUI(int id) : m_nID(id) {}
  void Enable(bool on = true) { m_enabled = on; }
  void SetCheck(int check = 1) {
    m_checked = check != 0;
    m_checkable = true;
  }
  int GetID() const { return m_nID; }
  bool IsEnabled() const { return m_enabled; }
  bool IsChecked() const { return m_checked; }
  // Whether the update handler speaks of a check mark at all.
  bool IsCheckable() const { return m_checkable; }

 private:
  int m_nID;
  bool m_enabled = true;
  bool m_checked = false;
  bool m_checkable = false;
};

// Something that handles commands: a view, a document, a frame, the application. Each answers
// from its own static table of handlers and update handlers (a MessageMap).
class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  // Runs the handler for `id`; false when this target has none.
  virtual bool OnCmdMsg(int /*id*/) { return false; }
  // Runs the update handler for the command of `ui`; false when this target has none.
  virtual bool OnUpdateCmdUI(CCmdUI& /*ui*/) { return false; }
  virtual bool HasHandler(int /*id*/) const { return false; }
};

// The static command table of class T: {id, handler} and {id, update handler} entries.
template <class T>
class MessageMap {
 public:
  struct Command {
    int id;
    std::function<void(T&)> handler;
  };
  struct Update {
    int id;
    std::function<void(T&, CCmdUI&)> handler;
  };

  MessageMap(std::vector<Command> commands, std::vector<Update> updates)
      : m_commands(std::move(commands)), m_updates(std::move(updates)) {}

  bool Dispatch(T& target, int id) const {
    for (const Command& c : m_commands)
      if (c.id == id) {
        c.handler(target);
        return true;
      }
    return false;
  }
  bool RunUpdate(T& target, CCmdUI& ui) const {
    for (const Update& u : m_updates)
      if (u.id == ui.GetID()) {
        u.handler(target, ui);
        return true;
      }
    return false;
  }
  bool Has(int id) const {
    for (const Command& c : m_commands)
      if (c.id == id) return true;
    return false;
  }

 private:
  std::vector<Command> m_commands;
  std::vector<Update> m_updates;
};

// In a class body: the three CCmdTarget overrides, answered from `static const MessageMap<Class>&
// GetMessageMap()`, which the class defines.
#define DECLARE_MESSAGE_MAP(Class)                                                                                    \
 public:                                                                                                              \
  bool OnCmdMsg(int id) override { return GetMessageMap().Dispatch(*this, id) || Base::OnCmdMsg(id); }                \
  bool OnUpdateCmdUI(CCmdUI& ui) override { return GetMessageMap().RunUpdate(*this, ui) || Base::OnUpdateCmdUI(ui); } \
  bool HasHandler(int id) const override { return GetMessageMap().Has(id) || Base::HasHandler(id); }                  \
  static const MessageMap<Class>& GetMessageMap();
