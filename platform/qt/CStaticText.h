#pragma once

#include <QWidget>

// A static text control: left-aligned, tabs expanded to stops every eight average characters,
// line breaks kept, clipped to its box.
class CStaticText : public QWidget {
  Q_OBJECT

 public:
  explicit CStaticText(const QString& text = QString(), QWidget* parent = nullptr);
  QString text() const { return m_text; }
  void setText(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_text;
};
