#pragma once

#include <deque>
#include <functional>

#include <QObject>
#include <QStringList>
#include <QTimer>

// The files other programs ask the editor to open, one list per request, kept until the editor is
// back in its main loop. Served from inside a dialog, each request that ends in a message box
// would serve the next one from that box's event loop, box inside box, until the stack runs out.
class OpenRequestQueue : public QObject {
 public:
  using Handler = std::function<void(const QStringList& paths)>;

  explicit OpenRequestQueue(Handler handler, QObject* parent = nullptr);

  void Add(const QStringList& paths);

 private:
  void Serve();

  Handler m_handler;
  std::deque<QStringList> m_requests;
  QTimer m_timer;
  bool m_serving = false;
};
